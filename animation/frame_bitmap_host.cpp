// Frame bitmaps in the native build: a copy of the latest frame.
#include "animation/frame_bitmap_host.h"

CapturedFrame lastFrame;
int frameBitmapCount;

HBITMAP CreateFrameBitmap(const FrameBlock* block, const uint8_t* pixelArea)
{
    lastFrame.block = *block;
    lastFrame.pixels.assign(pixelArea, pixelArea + decoderState.pixelAreaSize);
    frameBitmapCount += 1;
    return (HBITMAP)&lastFrame;
}
