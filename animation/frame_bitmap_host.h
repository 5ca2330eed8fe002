// The native build's frame bitmaps: each frame the decoder finishes is kept
// as a copy, so that tests and tools can read its header, colours and rows.
#pragma once

#include <vector>

#include "animation/gif_decoder.h"

struct CapturedFrame {
    FrameBlock block;
    std::vector<uint8_t> pixels;  // rowStride x height bytes
};

// The latest frame, and how many have been made since the process started.
extern CapturedFrame lastFrame;
extern int frameBitmapCount;
