// Frame bitmaps in the Windows build: compatible with the main window's
// device context, initialised from the decoded rows.
#include "animation/frame_bitmap.h"

#include "animation/gif_decoder.h"
#include "animation/gif_walker.h"

static_assert(sizeof(FrameHeader) == sizeof(BITMAPINFOHEADER), "FrameHeader is a BITMAPINFOHEADER");
static_assert(sizeof(FrameColour) == sizeof(RGBQUAD), "FrameColour is an RGBQUAD");

HBITMAP CreateFrameBitmap(const FrameBlock* block, const uint8_t* pixelArea)
{
    const BITMAPINFO* info = (const BITMAPINFO*)block;
    return CreateDIBitmap(animationState.windowDC, &info->bmiHeader, CBM_INIT, pixelArea, info, DIB_RGB_COLORS);
}
