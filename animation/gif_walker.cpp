// The GIF block walker: header, colour table and the block stream, looped.
#include "animation/gif_walker.h"

#include "animation/frame_canvas.h"
#include "common/little_endian.h"
#include "common/memory.h"
#include "common/setup_state.h"

AnimationState animationState;

enum {
    kExtensionIntroducer = 0x21,
    kImageSeparator = 0x2C,
    kTrailer = 0x3B,
    kGraphicControlLabel = 0xF9,
    kGraphicControlFields = 5,  // block size, packed byte, delay, transparent index
};

static void ForgetGraphicControl(void)
{
    animationState.control.transparentIndex = -1;
    animationState.control.disposal = 0;
}

void PrepareAnimation(const uint8_t* data, int length, int x, int y)
{
    ReleaseAnimation();  // of an animation prepared before
    AnimationState& a = animationState;
    a = AnimationState();
    a.streamOffset = kScreenHeaderSize;
    if (length >= kScreenHeaderSize) {
        a.screenWidth = ReadLe16(data + 6);
        a.screenHeight = ReadLe16(data + 8);
        if (data[10] & 0x80) {
            int count = 2 << (data[10] & 7);
            if (3 * count <= length - kScreenHeaderSize)
                a.paletteCopy = (uint8_t*)AllocateBytes(3 * count);
            if (a.paletteCopy) {
                for (int i = 0; i < 3 * count; ++i)
                    a.paletteCopy[i] = data[kScreenHeaderSize + i];
                a.paletteCount = count;
                a.streamOffset += 3 * count;
            }
        }
    }
    // A table that does not fit, or no header at all, leaves nothing to walk.
    if (length >= kScreenHeaderSize && (a.paletteCopy || !(data[10] & 0x80)))
        a.stream.end = length - a.streamOffset;
    else
        a.streamOffset = 0;
    a.stream.data = data + a.streamOffset;
    // Edges scaled one by one, as every place in the window is.
    a.originX = ScalePixels(setupState.pictureScale, x);
    a.originY = ScalePixels(setupState.pictureScale, y);
    a.shownWidth = ScalePixels(setupState.pictureScale, x + a.screenWidth) - a.originX;
    a.shownHeight = ScalePixels(setupState.pictureScale, y + a.screenHeight) - a.originY;
    ForgetGraphicControl();
    PrepareCanvas(a.screenWidth, a.screenHeight);
    setupState.stopAnimation = 0;
}

void ReleaseAnimation(void)
{
    FreeBytes(animationState.paletteCopy);
    animationState.paletteCopy = 0;
    ReleaseCanvas();
}

int SkipSubBlocks(GifCursor* cursor)
{
    for (;;) {
        if (!HasBytes(cursor, 1))
            return 0;
        int size = ReadByte(cursor);
        if (size == 0)
            return 1;
        Skip(cursor, size);
    }
}

// With the cursor behind the label; 0 when the data ends inside the
// extension. Every extension is a chain of sub-blocks; the graphic control
// extension's first one holds the delay, the disposal and the transparency.
static int SkipExtension(int label)
{
    AnimationState& a = animationState;
    const uint8_t* fields = a.stream.data + a.stream.position;
    if (label == kGraphicControlLabel && HasBytes(&a.stream, kGraphicControlFields) && fields[0] >= 4) {
        int flags = fields[1];
        a.frameDelay = ReadLe16(fields + 2);
        a.control.disposal = flags >> 2 & 7;
        a.control.transparentIndex = flags & 1 ? fields[4] : -1;
    }
    return SkipSubBlocks(&a.stream);
}

FrameBlock* NextImage(void)
{
    AnimationState& a = animationState;
    int restarted = 0;  // data without an image would otherwise loop here for ever
    while (!setupState.stopAnimation) {
        if (!HasBytes(&a.stream, 1))
            return 0;
        int introducer = ReadByte(&a.stream);
        if (introducer == kExtensionIntroducer) {
            if (!HasBytes(&a.stream, 1))
                return 0;
            if (!SkipExtension(ReadByte(&a.stream)))
                return 0;
        } else if (introducer == kImageSeparator) {
            FramePalette global = {a.paletteCopy, a.paletteCount};
            FrameBlock* block = DecodeFrame(&a.stream, global, a.control);
            ForgetGraphicControl();
            return block;
        } else if (introducer == kTrailer) {
            a.stream.position = 0;
            a.loopCount += 1;
            if (restarted)
                return 0;
            restarted = 1;
        } else {
            return 0;  // a stray byte: the next call resumes behind it
        }
    }
    return 0;
}

HBITMAP NextFrame(void)
{
    FrameBlock* block = NextImage();
    if (!block)
        return 0;
    HBITMAP bitmap = ComposeFrame(block, animationState.loopCount);
    FreeBytes(block);
    return bitmap;
}
