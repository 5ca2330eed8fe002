// Fuzz target: any bytes as the stored animation, walked, decoded and
// composed for a bounded number of frame steps. Every canvas made must have
// the logical screen's size.
#include <stdint.h>
#include <stdlib.h>

#include <vector>

#include "animation/frame_bitmap_host.h"
#include "animation/gif_walker.h"

enum {
    kFrameSteps = 16,
    // Every canvas is copied whole by the native frame bitmap: a screen this
    // size keeps the runs fast, and larger ones take no other path.
    kMaxScreenPixels = 1 << 16,
};

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // An allocation of its own, so that ASan sees the first byte past the end.
    if (size >= 10 && (long)(data[6] | data[7] << 8) * (data[8] | data[9] << 8) > kMaxScreenPixels)
        return 0;
    std::vector<uint8_t> animation(data, data + size);
    PrepareAnimation(animation.data(), (int)animation.size(), 20, 5);
    for (int step = 0; step < kFrameSteps; ++step) {
        int made = frameBitmapCount;
        if (!NextFrame() || frameBitmapCount == made)
            continue;
        const FrameHeader& h = lastFrame.header;
        if (h.biWidth != animationState.screenWidth || -h.biHeight != animationState.screenHeight ||
            lastFrame.pixels.size() != (size_t)h.biWidth * -h.biHeight)
            abort();
    }
    ReleaseAnimation();
    return 0;
}
