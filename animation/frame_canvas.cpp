// The animation's canvas: the background, the frames composed at their
// places with their transparency, and their disposal before the next frame.
#include "animation/frame_canvas.h"

#include "common/memory.h"

CanvasState canvasState;

// The grey of the window behind the panel.
static const FrameColour kBackground = {192, 192, 192, 0};

static int Smaller(int a, int b)
{
    return a < b ? a : b;
}

void PrepareCanvas(int width, int height)
{
    CanvasState& c = canvasState;
    c = CanvasState();
    if (width == 0 || height == 0 || (uint32_t)width * height > kMaxPixelAreaSize)
        return;
    c.pixels = (FrameColour*)AllocateBytes((uint32_t)width * height * sizeof(FrameColour));
    c.width = width;
    c.height = height;
    c.composedLoop = -1;  // no loop yet: the first frame starts on the background
    FrameHeader& h = c.header;
    h.biSize = sizeof(FrameHeader);
    h.biWidth = width;
    h.biHeight = -height;
    h.biPlanes = 1;
    h.biBitCount = 32;
}

void ReleaseCanvas(void)
{
    FreeBytes(canvasState.pixels);
    canvasState.pixels = 0;
}

static void FillBackground(int left, int top, int right, int bottom)
{
    int width = canvasState.width;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            canvasState.pixels[y * width + x] = kBackground;
}

// The latest frame's disposal, or the whole canvas when a new loop begins.
static void DisposePreviousFrame(int loop)
{
    CanvasState& c = canvasState;
    if (c.composedLoop != loop) {
        FillBackground(0, 0, c.width, c.height);
        c.composedLoop = loop;
    } else {
        FillBackground(c.restoreLeft, c.restoreTop, c.restoreRight, c.restoreBottom);
    }
    c.restoreLeft = c.restoreTop = c.restoreRight = c.restoreBottom = 0;
}

HBITMAP ComposeFrame(const FrameBlock* block, int loop)
{
    CanvasState& c = canvasState;
    const DecoderState& d = decoderState;
    if (!c.pixels)
        return 0;
    DisposePreviousFrame(loop);
    // The part of the frame on the screen; a frame beyond its edges is cut.
    int left = d.frameLeft, top = d.frameTop;
    int right = Smaller(left + d.pixel.frameWidth, c.width);
    int bottom = Smaller(top + d.pixel.frameHeight, c.height);
    const uint8_t* rows = (const uint8_t*)(block + 1);
    for (int y = top; y < bottom; ++y) {
        const uint8_t* source = rows + (uint32_t)(y - top) * d.pixel.rowStride;
        FrameColour* target = c.pixels + y * c.width;
        for (int x = left; x < right; ++x)
            if (source[x - left] != d.control.transparentIndex)
                target[x] = block->colours[source[x - left]];
    }
    if (d.control.disposal == kDisposeToBackground && left < right && top < bottom) {
        c.restoreLeft = left;
        c.restoreTop = top;
        c.restoreRight = right;
        c.restoreBottom = bottom;
    }
    return CreateFrameBitmap(&c.header, c.pixels);
}
