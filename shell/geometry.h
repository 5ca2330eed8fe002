// Placement of the main window and the layout units, from the screen size
// and its DPI.
#pragma once

#include "common/picture_scale.h"

enum {
    kBaseDpi = 96,  // the DPI of 100 %, for which the picture is drawn
    kButtonCount = 2,
};

struct WindowGeometry {
    int left;  // on the screen
    int top;
    int width;  // outer size on the screen
    int height;
    // The window as drawn for its design screen, in that screen's pixels:
    // the layout units and every place inside the window come from these.
    int designWidth;
    int designHeight;
    int unitX;
    int unitY;
    PictureScale scale;  // from design pixels to this screen's
};

// What the window is sized from: the screen in pixels, its DPI, the work
// area (the screen less the task bar) and how much larger than its client
// area the system makes a window of the main window's style at that DPI.
struct ScreenFacts {
    int width, height;
    int dpi;
    int workLeft, workTop, workRight, workBottom;
    int nonClientWidth, nonClientHeight;
};

struct ButtonRect {
    int x, y, width, height;  // in client coordinates
};

// The window drawn for a screen of 96 DPI: every quotient truncates on its
// own; screens narrower than 800 or lower than 600 get 50 more pixels, and
// the window is placed after that addition.
WindowGeometry ComputeGeometry(int screenWidth, int screenHeight);

// The window on any screen: the picture of the largest design screen
// (1024 x 768, 800 x 600, 640 x 480) that the screen's largest 4:3 part
// holds in 96-DPI pixels, scaled by the DPI (1024 x 768) or to fill the
// share of the screen it fills on its own screen (the smaller two). Placed
// as on the design screen, then moved into the work area.
WindowGeometry ComputeScreenGeometry(const ScreenFacts& screen);

// Anchor of the contact block drawn on the panel.
int ComputeContactX(int unitX);

// The install button, then the uninstall button, of the window drawn
// designWidth x designHeight, on this screen.
void ComputeButtons(int designWidth, int designHeight, PictureScale scale, ButtonRect buttons[kButtonCount]);
