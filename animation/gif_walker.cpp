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

static void RewindStream(void)
{
    animationState.cursor = animationState.data + animationState.streamOffset;
    animationState.cursorIndex = 0;
}

static void ForgetGraphicControl(void)
{
    animationState.transparentIndex = -1;
    animationState.disposal = 0;
}

void PrepareAnimation(const uint8_t* data, int length, int x, int y)
{
    ReleaseAnimation();  // of an animation prepared before
    AnimationState& a = animationState;
    a = AnimationState();
    a.originX = x;
    a.originY = y;
    a.data = data;
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
        a.streamBound = length - a.streamOffset;
    else
        a.streamOffset = 0;
    RewindStream();
    ForgetGraphicControl();
    PrepareCanvas();
    setupState.stopAnimation = 0;
}

void ReleaseAnimation(void)
{
    FreeBytes(animationState.paletteCopy);
    animationState.paletteCopy = 0;
    ReleaseCanvas();
}

// Steps over count bytes without reading them; never past the bound.
static void Skip(int count)
{
    AnimationState& a = animationState;
    int room = a.streamBound - a.cursorIndex;
    if (count > room)
        count = room;
    a.cursor += count;
    a.cursorIndex += count;
}

// Whether count bytes from the cursor lie before the bound.
static int HasBytes(int count)
{
    return count <= animationState.streamBound - animationState.cursorIndex;
}

int SkipSubBlocks(void)
{
    for (;;) {
        if (!HasBytes(1))
            return 0;
        int size = *animationState.cursor;
        Skip(1);
        if (size == 0)
            return 1;
        Skip(size);
    }
}

// With the cursor behind the label; 0 when the data ends inside the
// extension. Every extension is a chain of sub-blocks; the graphic control
// extension's first one holds the delay, the disposal and the transparency.
static int SkipExtension(int label)
{
    AnimationState& a = animationState;
    if (label == kGraphicControlLabel && HasBytes(kGraphicControlFields) && a.cursor[0] >= 4) {
        int flags = a.cursor[1];
        a.frameDelay = ReadLe16(a.cursor + 2);
        a.disposal = flags >> 2 & 7;
        a.transparentIndex = flags & 1 ? a.cursor[4] : -1;
    }
    return SkipSubBlocks();
}

FrameBlock* NextImage(void)
{
    AnimationState& a = animationState;
    int restarted = 0;  // data without an image would otherwise loop here for ever
    while (!setupState.stopAnimation) {
        if (!HasBytes(1))
            return 0;
        int introducer = *a.cursor;
        Skip(1);
        if (introducer == kExtensionIntroducer) {
            if (!HasBytes(1))
                return 0;
            int label = *a.cursor;
            Skip(1);
            if (!SkipExtension(label))
                return 0;
        } else if (introducer == kImageSeparator) {
            FrameBlock* block = DecodeFrame();
            ForgetGraphicControl();
            return block;
        } else if (introducer == kTrailer) {
            RewindStream();
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
    HBITMAP bitmap = ComposeFrame(block);
    FreeBytes(block);
    return bitmap;
}
