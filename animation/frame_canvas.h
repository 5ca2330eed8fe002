// The animation's canvas: the logical screen in 32-bit colours, onto which
// each frame is composed as GIF89a viewers show it, with no platform call
// but the bitmap made of it.
#pragma once

#include "animation/frame_bitmap.h"
#include "animation/gif_decoder.h"

enum {
    kDisposeToBackground = 2,  // the frame's rectangle goes back to the background after it
};

struct CanvasState {
    FrameHeader header;   // a top-down 32-bit bitmap of the logical screen
    int width, height;    // of the logical screen
    FrameColour* pixels;  // width x height; null when none could be made
    int composedLoop;     // the walker's loop the canvas belongs to; a new loop starts on the background
    // What the latest frame's disposal gives back to the background before
    // the next frame: left, top, right, bottom; empty when nothing.
    int restoreLeft, restoreTop, restoreRight, restoreBottom;
};

extern CanvasState canvasState;

// Makes the canvas of the logical screen; none for an empty screen or one
// larger than a frame may be.
void PrepareCanvas(int width, int height);
void ReleaseCanvas(void);

// Composes the decoded frame at its place: indices other than its
// transparent one replace what is beneath; then the canvas as a bitmap owned
// by the caller, none when there is no canvas or the platform makes none.
// The first frame of each loop of the walk starts on the background.
HBITMAP ComposeFrame(const FrameBlock* block, int loop);
