// gifcompose FILE DIR: giflib's reading of a GIF composed as viewers show it,
// the screen after each frame of one loop as a binary PPM (compose-1.ppm,
// compose-2.ppm, ...): the reference that screenshots of the window are held to.
#include <stdio.h>

#include <string>
#include <vector>

#include "common/little_endian.h"
#include "tests/animation/gif_support.h"
#include "tools/file_dir_arguments.h"

int main(int argc, char** argv)
{
    std::vector<uint8_t> data;
    if (int status = ReadFileDirArguments(argc, argv, "gifcompose", data))
        return status;
    std::vector<std::vector<uint8_t>> screens = ComposeWithGiflib(data.data(), data.size());
    if (screens.empty()) {
        fprintf(stderr, "gifcompose: giflib cannot read %s\n", argv[1]);
        return 1;
    }
    int width = ReadLe16(&data[6]), height = ReadLe16(&data[8]);
    for (size_t i = 0; i < screens.size(); ++i) {
        std::string path = std::string(argv[2]) + "/compose-" + std::to_string(i + 1) + ".ppm";
        FILE* out = fopen(path.c_str(), "wb");
        if (!out) {
            perror(path.c_str());
            return 1;
        }
        fprintf(out, "P6\n%d %d\n255\n", width, height);
        fwrite(screens[i].data(), 1, screens[i].size(), out);
        if (fclose(out) != 0)
            return 1;
    }
    printf("%zu frames composed\n", screens.size());
    return 0;
}
