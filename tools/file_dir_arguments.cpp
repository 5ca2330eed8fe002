// The arguments of the tools called as NAME FILE DIR.
#include "tools/file_dir_arguments.h"

#include <stdio.h>

int ReadFileDirArguments(int argc, char** argv, const char* name, std::vector<uint8_t>& data)
{
    if (argc != 3) {
        fprintf(stderr, "usage: %s FILE DIR\n", name);
        return 2;
    }
    FILE* in = fopen(argv[1], "rb");
    if (!in) {
        perror(argv[1]);
        return 1;
    }
    data.clear();
    for (int c; (c = getc(in)) != EOF;)
        data.push_back((uint8_t)c);
    fclose(in);
    return 0;
}
