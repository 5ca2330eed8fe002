// Frame bitmaps in the Windows build: compatible with the main window's
// device context, initialised from the composed canvas.
#include "animation/frame_bitmap.h"

#include "animation/gif_decoder.h"

static_assert(sizeof(FrameHeader) == sizeof(BITMAPINFOHEADER), "FrameHeader is a BITMAPINFOHEADER");
static_assert(sizeof(FrameColour) == sizeof(RGBQUAD), "FrameColour is an RGBQUAD");

HDC frameBitmapDC;

HBITMAP CreateFrameBitmap(const FrameHeader* header, const void* pixels)
{
    const BITMAPINFO* info = (const BITMAPINFO*)header;  // 32-bit colours need no table
    return CreateDIBitmap(frameBitmapDC, &info->bmiHeader, CBM_INIT, pixels, info, DIB_RGB_COLORS);
}
