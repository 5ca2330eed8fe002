// The GIF block walker: the animation's header and colour table, and the
// block stream stepped through frame by frame, restarting at the trailer;
// each frame is composed onto the animation's canvas.
#pragma once

#include <stdint.h>

#include "animation/frame_bitmap.h"
#include "animation/gif_cursor.h"
#include "animation/gif_decoder.h"
#include "common/setup_state.h"

enum {
    kScreenHeaderSize = 13,  // signature, logical screen size, flags, background, aspect
    kDefaultFrameDelay = 5,  // hundredths of a second, when a frame names no delay
};

struct AnimationState {
    int originX, originY;  // client position of the animation in the main window
    int screenWidth, screenHeight;
    int shownWidth, shownHeight;  // the logical screen as the window shows it
    int paletteCount;      // global colour table entries; 0 without one
    uint8_t* paletteCopy;  // red, green, blue per entry; freed when the thread ends
    int streamOffset;      // where the block stream begins in the GIF file
    GifCursor stream;      // over the block stream: the file from streamOffset on, with the zero byte behind it
    int frameDelay;        // of the latest graphic control extension; 0 until one is read
    // Of the graphic control extension that waits for its image; no
    // transparency and no disposal when none does: it belongs to the one
    // image that follows.
    GraphicControl control;
    int loopCount;    // how often the trailer has sent the walk back to the start
    HANDLE animationThread;  // both 0 when no thread runs; the thread closes its own handle
    uint32_t animationThreadId;
};

extern AnimationState animationState;

// Reads the header and copies the global colour table of length bytes of GIF
// data (the file and one zero byte behind it) and sets the cursor on the
// block stream; data too short for its header or table gives an empty stream.
// (x, y) is the animation's place on the window's design screen: place and
// size are scaled by the window's picture scale. What an earlier call
// prepared is released first.
void PrepareAnimation(const uint8_t* data, int length, int x, int y);

// The next image, decoded (see DecodeFrame); none when a stop is asked, the
// data ends, a stray byte stands where a block should begin, the data holds
// no image, or the decoder abandoned the frame.
FrameBlock* NextImage(void);

// The canvas with the next image composed onto it, as a bitmap owned by the
// caller; none when NextImage gives none or no canvas could be made.
HBITMAP NextFrame(void);

// Releases the copy of the colour table and the canvas.
void ReleaseAnimation(void);
