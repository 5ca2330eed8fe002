// Window geometry: plain integer arithmetic, shared by the window and its tests.
#include "shell/geometry.h"

WindowGeometry ComputeGeometry(int screenWidth, int screenHeight)
{
    WindowGeometry g;
    g.width = (2 * screenWidth) / 5;
    if (screenWidth < 800)
        g.width += 50;
    g.left = (screenWidth - g.width) / 2;
    g.height = (4 * screenHeight) / 7;
    if (screenHeight < 600)
        g.height += 50;
    g.top = (screenHeight - g.height) / 3;
    g.unitX = g.width / 10 - g.width / 22;
    g.unitY = g.height / 5 - 10;
    return g;
}

int ComputeContactX(int unitX)
{
    return unitX / 3 + 80;
}
