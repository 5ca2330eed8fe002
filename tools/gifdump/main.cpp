// gifdump FILE DIR: runs the setup program's own GIF walker and decoder over
// one loop of a GIF file and writes each frame's colour indices as a binary
// PGM of the frame's own size (frame-1.pgm, frame-2.pgm, ...) and the frame
// delays to delays.txt.
#include <stdio.h>

#include <string>
#include <vector>

#include "animation/gif_walker.h"
#include "common/memory.h"
#include "tools/file_dir_arguments.h"

static int WritePgm(const std::string& path, const FrameBlock* block)
{
    const PixelPosition& p = decoderState.pixel;
    FILE* f = fopen(path.c_str(), "wb");
    if (!f)
        return 0;
    fprintf(f, "P5\n%d %d\n255\n", p.frameWidth, p.frameHeight);
    const uint8_t* rows = (const uint8_t*)(block + 1);
    for (int row = 0; row < p.frameHeight; ++row)
        fwrite(rows + row * p.rowStride, 1, p.frameWidth, f);
    return fclose(f) == 0;
}

static int WriteFrame(const std::string& dir, int number, const FrameBlock* block, FILE* delays)
{
    std::string name = "frame-" + std::to_string(number) + ".pgm";
    if (!WritePgm(dir + "/" + name, block)) {
        perror(name.c_str());
        return 0;
    }
    const DecoderState& d = decoderState;
    fprintf(delays, "%s %d\n", name.c_str(), animationState.frameDelay);
    printf("%s %dx%d at %d,%d delay %d\n", name.c_str(), d.pixel.frameWidth, d.pixel.frameHeight, d.frameLeft,
           d.frameTop, animationState.frameDelay);
    return 1;
}

int main(int argc, char** argv)
{
    std::vector<uint8_t> data;
    if (int status = ReadFileDirArguments(argc, argv, "gifdump", data))
        return status;
    data.push_back(0);  // as the program stores its animation
    PrepareAnimation(data.data(), (int)data.size(), 0, 0);

    std::string dir = argv[2];
    FILE* delays = fopen((dir + "/delays.txt").c_str(), "w");
    if (!delays) {
        perror(dir.c_str());
        return 1;
    }
    // Every call consumes at least one byte until the trailer, so one loop
    // ends within as many calls as the stream has bytes.
    int frames = 0;
    for (int call = 0; call <= animationState.stream.end; ++call) {
        FrameBlock* block = NextImage();
        int written = !block || animationState.loopCount > 0 || WriteFrame(dir, ++frames, block, delays);
        FreeBytes(block);
        if (!written)
            return 1;
        if (animationState.loopCount > 0 || !HasBytes(&animationState.stream, 1))
            break;  // past the trailer, or the data ended without one
    }
    fclose(delays);
    ReleaseAnimation();
    return frames ? 0 : 1;
}
