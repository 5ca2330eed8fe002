// Prints the window's picture on a screen, for the Wine screen test to
// compare its screenshots with:
//   window_picture_dump WIDTH HEIGHT DPI [NONCLIENT_WIDTH NONCLIENT_HEIGHT]
// "window WIDTH HEIGHT LEFT TOP" (with the model screen's work area, and its
// title bar and frames unless given), "scale NUMERATOR DENOMINATOR",
// "thickness T" (the frame's lines), then one line per item:
// "LEFT TOP RIGHT BOTTOM NAME" in client coordinates.
#include <cstdio>
#include <cstdlib>

#include "tests/shell/window_picture.h"

int main(int argc, char** argv)
{
    if (argc != 4 && argc != 6) {
        fprintf(stderr, "usage: window_picture_dump WIDTH HEIGHT DPI [NONCLIENT_WIDTH NONCLIENT_HEIGHT]\n");
        return 2;
    }
    ScreenFacts screen = ModelScreen(atoi(argv[1]), atoi(argv[2]), atoi(argv[3]));
    if (argc == 6) {
        screen.nonClientWidth = atoi(argv[4]);
        screen.nonClientHeight = atoi(argv[5]);
    }
    WindowGeometry g = ComputeScreenGeometry(screen);
    printf("window %d %d %d %d\nscale %d %d\nthickness %d\n", g.width, g.height, g.left, g.top, g.scale.numerator,
           g.scale.denominator, FrameThickness(g));
    for (const Item& item : Picture(g))
        printf("%d %d %d %d %s\n", item.at.left, item.at.top, item.at.right, item.at.bottom, item.name.c_str());
    return 0;
}
