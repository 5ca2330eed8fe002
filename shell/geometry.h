// Placement of the main window and the layout units, from the screen size.
#pragma once

struct WindowGeometry {
    int left;
    int top;
    int width;
    int height;
    int unitX;
    int unitY;
};

// Every quotient truncates on its own; screens narrower than 800 or lower
// than 600 get 50 more pixels, and the window is placed after that addition.
WindowGeometry ComputeGeometry(int screenWidth, int screenHeight);

// Anchor of the contact block drawn on the panel.
int ComputeContactX(int unitX);
