// The whole window's picture as rectangles in client coordinates, from the
// product's own arithmetic: shared by the table test and the dump that the
// Wine screen test compares screenshots with.
#pragma once

#include <string>
#include <vector>

#include "shell/geometry.h"

struct Rect {
    int left, top, right, bottom;  // right and bottom exclusive
};

struct Item {
    std::string name;
    Rect at;
    // How many whole pixels the item may fall short of its scaled size: a
    // text line one a cell (its font's cell is scaled down to whole pixels),
    // a frame line one (it is as deep as the scale's whole part), else none.
    int shortBy;
};

// A task bar of 40 pixels at 100 % along the bottom, fixed frames of 3 and
// a title bar of 23 (Windows 10's) at 100 %, all growing with the DPI.
ScreenFacts ModelScreen(int width, int height, int dpi);

// Every item the window shows, in client coordinates: the feature lines,
// slogan, title, systems line and contact lines (each text as SimSun draws
// it, one half-width cell a GBK byte), the logo, the frame's four lines as
// the bands they show, the animation and the two buttons.
std::vector<Item> Picture(const WindowGeometry& g);

// The design screen's own picture: the same window at scale 1.
WindowGeometry DesignWindow(const WindowGeometry& g);

// How deep the frame's lines are.
int FrameThickness(const WindowGeometry& g);
