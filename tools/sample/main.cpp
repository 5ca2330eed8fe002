// qmxsample: writes the seven sample members into a folder.
//   qmxsample OUTDIR PROGRAM.exe   (PROGRAM.exe: the built typing program)
#include <cstdio>
#include <exception>
#include <fstream>
#include <iterator>
#include <string>

#include "tools/sample/sample.h"

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: qmxsample OUTDIR PROGRAM.exe\n");
        return 2;
    }
    try {
        std::ifstream programFile(argv[2], std::ios::binary);
        if (!programFile)
            throw std::runtime_error(std::string("cannot read ") + argv[2]);
        Bytes program((std::istreambuf_iterator<char>(programFile)), std::istreambuf_iterator<char>());
        std::vector<Bytes> members = MakeSample(program);
        for (int i = 0; i < kSampleMemberCount; i++) {
            std::string path = std::string(argv[1]) + "/" + kSampleMembers[i].name;
            std::ofstream out(path, std::ios::binary | std::ios::trunc);
            out.write((const char*)members[i].data(), (std::streamsize)members[i].size());
            if (!out.flush())
                throw std::runtime_error("cannot write " + path);
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "qmxsample: %s\n", error.what());
        return 1;
    }
    return 0;
}
