// gifdump FILE DIR: runs the setup program's own GIF walker and decoder over
// one loop of a GIF file and writes each frame's colour indices as a binary
// PGM (frame-1.pgm, frame-2.pgm, ...) and the frame delays to delays.txt.
#include <stdio.h>

#include <string>
#include <vector>

#include "animation/frame_bitmap_host.h"
#include "animation/gif_walker.h"

static int WritePgm(const std::string& path)
{
    const FrameHeader& h = lastFrame.block.header;
    FILE* f = fopen(path.c_str(), "wb");
    if (!f)
        return 0;
    fprintf(f, "P5\n%d %d\n255\n", h.biWidth, -h.biHeight);
    for (int row = 0; row < -h.biHeight; ++row)
        fwrite(&lastFrame.pixels[row * decoderState.pixel.rowStride], 1, h.biWidth, f);
    return fclose(f) == 0;
}

static int WriteFrame(const std::string& dir, int number, FILE* delays)
{
    std::string name = "frame-" + std::to_string(number) + ".pgm";
    if (!WritePgm(dir + "/" + name)) {
        perror(name.c_str());
        return 0;
    }
    fprintf(delays, "%s %d\n", name.c_str(), animationState.frameDelay);
    printf("%s %dx%d delay %d\n", name.c_str(), lastFrame.block.header.biWidth, -lastFrame.block.header.biHeight,
           animationState.frameDelay);
    return 1;
}

int main(int argc, char** argv)
{
    if (argc != 3) {
        fprintf(stderr, "usage: gifdump FILE DIR\n");
        return 2;
    }
    FILE* in = fopen(argv[1], "rb");
    if (!in) {
        perror(argv[1]);
        return 1;
    }
    std::vector<uint8_t> data;
    for (int c; (c = getc(in)) != EOF;)
        data.push_back((uint8_t)c);
    fclose(in);
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
    for (int call = 0; call <= animationState.streamBound; ++call) {
        int before = animationState.cursorIndex;
        int madeBefore = frameBitmapCount;
        NextFrame();
        if (animationState.cursorIndex < before)
            break;  // past the trailer: the next loop has begun
        if (frameBitmapCount > madeBefore && !WriteFrame(dir, ++frames, delays))
            return 1;
        if (animationState.cursorIndex >= animationState.streamBound)
            break;  // the data ended without a trailer
    }
    fclose(delays);
    ReleaseAnimation();
    return frames ? 0 : 1;
}
