// How the window's picture, drawn in the pixels of its design screen, is
// shown on this screen: every design pixel becomes numerator / denominator
// pixels. Plain arithmetic, shared by the window, the panel, the progress
// bar and the animation.
#pragma once

struct PictureScale {
    int numerator;
    int denominator;  // 0 shows the picture 1:1
};

// A place or a length, to the nearest pixel (halves up). Places scaled one
// by one keep their order, so items apart in the design stay apart.
int ScalePixels(PictureScale scale, int designPixels);

// The whole part of the scale, at least 1: how many pixels wide a line of
// one design pixel is drawn, so that a line is never blurred across two.
int WholeScale(PictureScale scale);
