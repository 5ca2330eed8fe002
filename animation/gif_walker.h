// The GIF block walker: the animation's header and colour table, and the
// block stream stepped through frame by frame, restarting at the trailer;
// each frame is composed onto the animation's canvas.
#pragma once

#include <stdint.h>

#include "animation/frame_bitmap.h"
#include "animation/gif_decoder.h"
#include "common/setup_state.h"

enum {
    kScreenHeaderSize = 13,  // signature, logical screen size, flags, background, aspect
    kDefaultFrameDelay = 5,  // hundredths of a second, when a frame names no delay
};

struct AnimationState {
    int originX, originY;  // client position of the animation in the main window
    int screenWidth, screenHeight;
    int paletteCount;      // global colour table entries; 0 without one
    uint8_t* paletteCopy;  // red, green, blue per entry; freed when the thread ends
    const uint8_t* data;   // the whole GIF file and the zero byte behind it
    int streamOffset;      // where the block stream begins in data
    int streamBound;       // bytes of data from streamOffset on: no read at or past it
    // The next unread byte. Only while an image's sub-blocks are read, and
    // after an image whose end code stopped short of its last sub-block's end,
    // it lags behind data + streamOffset + cursorIndex, so reads stay bounded.
    const uint8_t* cursor;
    int cursorIndex;  // counted from the start of the block stream
    int frameDelay;   // of the latest graphic control extension; 0 until one is read
    // Of the graphic control extension that waits for its image; -1 and 0
    // when none does: they belong to the one image that follows.
    int transparentIndex;
    int disposal;
    int loopCount;    // how often the trailer has sent the walk back to the start
    HDC windowDC;     // the main window's device context, held by the thread
    HANDLE animationThread;  // both 0 when no thread runs; the thread closes its own handle
    uint32_t animationThreadId;
};

extern AnimationState animationState;

// Reads the header and copies the global colour table of length bytes of GIF
// data (the file and one zero byte behind it) and sets the cursor on the
// block stream; data too short for its header or table gives an empty stream.
// What an earlier call prepared is released first.
void PrepareAnimation(const uint8_t* data, int length, int x, int y);

// The next image, decoded (see DecodeFrame); none when a stop is asked, the
// data ends, a stray byte stands where a block should begin, the data holds
// no image, or the decoder abandoned the frame.
FrameBlock* NextImage(void);

// The canvas with the next image composed onto it, as a bitmap owned by the
// caller; none when NextImage gives none or no canvas could be made.
HBITMAP NextFrame(void);

// With the cursor on a size byte: steps over data sub-blocks and their
// terminator; 0 when the data ends first.
int SkipSubBlocks(void);

// Releases the copy of the colour table and the canvas.
void ReleaseAnimation(void);
