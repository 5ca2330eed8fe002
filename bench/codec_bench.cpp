// Figures for the payload codec (printed, never judged): ExpandMember's
// throughput on each sample member beside zlib's uncompress of the same file
// and memcpy of the output, and the packed sizes beside a greedy parse and
// gzip -9; with the packed setup, the install's check of its checksum beside
// zlib's crc32 of the same bytes.
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "bench/timing.h"
#include "payload/container.h"
#include "payload/expand.h"
#include "payload/file_checksum.h"
#include "tools/qmxpack/encoder.h"

namespace fs = std::filesystem;

static const char* const kMembers[] = {
    "qmx.mb", "qmxpin.mb", "qmx.ime", "qmx.hlp", "click.wav", "error.wav", "zub.exe"};

static size_t GzipSize(const std::string& path)
{
    std::string command = "gzip -9 -n -c '" + path + "' | wc -c";
    FILE* pipe = popen(command.c_str(), "r");
    size_t size = 0;
    if (pipe) {
        if (std::fscanf(pipe, "%zu", &size) != 1)
            size = 0;
        pclose(pipe);
    }
    return size;
}

// The whole file as the install sums it, with the slot and the signing
// fields found in its headers.
static int TimeChecksum(const char* path)
{
    std::ifstream in(path, std::ios::binary);
    Bytes file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in || file.empty()) {
        std::fprintf(stderr, "codec_bench: cannot read %s\n", path);
        return 1;
    }
    uint32_t size = (uint32_t)file.size();
    ImageLayout layout;
    ReadImageLayout(file.data(), size, size, &layout);
    uint32_t sum = 0, zlibSum = 0;
    double ours = BestSeconds([&] { sum = AddToFileSum(0, &layout, 0, file.data(), size); });
    double zlib = BestSeconds([&] { zlibSum = (uint32_t)crc32(0, file.data(), size); });
    std::printf("checksum of %s, %u bytes (%08X): %.2f ms (%.0f MB/s); zlib's crc32 %.2f ms (%08X); "
                "%.2f x zlib's time\n",
        fs::path(path).filename().c_str(), size, sum, ours * 1e3, size / 1e6 / ours, zlib * 1e3, zlibSum,
        ours / zlib);
    return 0;
}

int main(int argc, char** argv)
{
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: codec_bench SAMPLE_DIR [SETUP]\n");
        return 2;
    }
    PrintBuild("codec_bench");
    std::printf("%-10s %8s | %8s %8s %8s | %7s | %9s %9s %9s | %6s %6s\n", "member", "bytes", "optimal",
        "greedy", "gzip -9", "pack s", "expand", "zlib", "memcpy", "/zlib", "/mem");
    std::printf("%-10s %8s | %26s | %7s | %29s | %13s\n", "", "", "packed sizes (bytes)", "", "MB/s of output",
        "ratios");
    size_t totals[4] = {0, 0, 0, 0};
    double packSeconds = 0;
    for (const char* name : kMembers) {
        fs::path path = fs::path(argv[1]) / name;
        std::ifstream in(path, std::ios::binary);
        if (!in) {
            std::fprintf(stderr, "codec_bench: cannot read %s\n", path.c_str());
            return 1;
        }
        Bytes file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        Bytes content = MemberContent(name, file);

        Clock::time_point start = Clock::now();
        Bytes member = CompressMember(name, file);
        double pack = Seconds(start);
        packSeconds += pack;
        size_t greedy = WriteStream(content, ParseGreedy(FindLongestMatches(content))).size();
        size_t gzip = GzipSize(path.string());

        Bytes output(kMaxExpansion * member.size());
        double expand = BestSeconds([&] { ExpandMember(member.data(), member.size(), output.data(), output.size()); });

        uLongf deflatedSize = compressBound(file.size());
        Bytes deflated(deflatedSize);
        compress2(deflated.data(), &deflatedSize, file.data(), file.size(), 9);
        Bytes inflated(file.size());
        double zlib = BestSeconds([&] {
            uLongf inflatedSize = inflated.size();
            uncompress(inflated.data(), &inflatedSize, deflated.data(), deflatedSize);
        });
        Bytes copy(content.size());
        double copying = BestSeconds([&] {
            std::memcpy(copy.data(), output.data(), copy.size());
            asm volatile("" : : "r"(copy.data()) : "memory");
        });

        double megabytes = content.size() / 1e6;
        std::printf("%-10s %8zu | %8zu %8zu %8zu | %7.3f | %9.0f %9.0f %9.0f | %6.2f %6.3f\n", name, file.size(),
            member.size(), greedy, gzip, pack, megabytes / expand, file.size() / 1e6 / zlib, megabytes / copying,
            zlib / expand, copying / expand);
        size_t row[4] = {file.size(), member.size(), greedy, gzip};
        for (int k = 0; k < 4; k++)
            totals[k] += row[k];
    }
    std::printf("%-10s %8zu | %8zu %8zu %8zu | %7.3f |\n", "total", totals[0], totals[1], totals[2], totals[3],
        packSeconds);
    std::printf("optimal vs greedy: %.2f%% smaller; vs gzip -9: %.2f times its size\n",
        100.0 * (1.0 - (double)totals[1] / totals[2]), (double)totals[1] / totals[3]);
    std::printf("(wav members are stored in the container; their rows show the codec on them anyway)\n");
    return argc == 3 ? TimeChecksum(argv[2]) : 0;
}
