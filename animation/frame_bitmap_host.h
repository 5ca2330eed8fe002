// The native build's frame bitmaps: each composed canvas is kept as a copy,
// so that tests and tools can read its header and colours.
#pragma once

#include <vector>

#include "animation/frame_bitmap.h"
#include "animation/gif_decoder.h"

struct CapturedFrame {
    FrameHeader header;
    std::vector<FrameColour> pixels;  // width x height, top row first
};

// The latest canvas, and how many have been made since the process started.
extern CapturedFrame lastFrame;
extern int frameBitmapCount;
