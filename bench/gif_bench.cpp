// Figures for the animation decoder (printed, never judged): one loop of the
// stored animation through the product's walker, DecodeFrame and the canvas,
// per frame, beside giflib's DGifSlurp of the same file in the same run.
#include <cstdio>

#include "animation/gif_walker.h"
#include "bench/timing.h"
#include "resources/animation_data.h"
#include "tests/animation/gif_support.h"

int main()
{
    PrintBuild("gif_bench");
    GifFileType* probe = OpenGifInMemory(animationData, animationDataLength - 1);
    if (!probe || DGifSlurp(probe) != GIF_OK) {
        std::fprintf(stderr, "gif_bench: giflib cannot read the stored animation\n");
        return 1;
    }
    int frames = probe->ImageCount;
    CloseGifInMemory(probe);

    auto decodeLoop = [frames] {
        PrepareAnimation(animationData, animationDataLength, 20, 5);
        for (int i = 0; i < frames; ++i)
            NextFrame();
        ReleaseAnimation();
    };
    auto slurp = [] {
        GifFileType* gif = OpenGifInMemory(animationData, animationDataLength - 1);
        DGifSlurp(gif);
        CloseGifInMemory(gif);
    };
    // Turn about, so that a busy moment of the machine does not fall on one side only.
    double ours = 1e9, giflib = 1e9;
    for (int round = 0; round < 5; ++round) {
        ours = std::min(ours, BestSeconds(decodeLoop));
        giflib = std::min(giflib, BestSeconds(slurp));
    }
    std::printf("stored animation: %d bytes, %d frames\n", animationDataLength - 1, frames);
    std::printf("%-28s %8.2f us a frame\n", "NextFrame (walker, canvas)", ours * 1e6 / frames);
    std::printf("%-28s %8.2f us a frame\n", "giflib DGifSlurp", giflib * 1e6 / frames);
    std::printf("%-28s %8.2f x giflib's speed\n", "NextFrame", giflib / ours);
    return 0;
}
