// Frame bitmaps in the native build: a copy of the latest canvas.
#include "animation/frame_bitmap_host.h"

CapturedFrame lastFrame;
int frameBitmapCount;

HBITMAP CreateFrameBitmap(const FrameHeader* header, const void* pixels)
{
    const FrameColour* colours = (const FrameColour*)pixels;
    lastFrame.header = *header;
    lastFrame.pixels.assign(colours, colours + header->biWidth * -header->biHeight);
    frameBitmapCount += 1;
    return (HBITMAP)&lastFrame;
}
