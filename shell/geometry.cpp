// Window geometry: plain integer arithmetic, shared by the window and its tests.
#include "shell/geometry.h"

// The screens the window was drawn for, largest first; each picture is kept
// pixel for pixel on its own screen at 96 DPI.
static const int kDesignScreens[][2] = {{1024, 768}, {800, 600}, {640, 480}};
enum { kDesignScreenCount = 3 };

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
    g.designWidth = g.width;
    g.designHeight = g.height;
    g.unitX = g.width / 10 - g.width / 22;
    g.unitY = g.height / 5 - 10;
    g.scale.numerator = 1;
    g.scale.denominator = 1;
    return g;
}

static int Smaller(int a, int b)
{
    return a < b ? a : b;
}

static int DpiOf(const ScreenFacts& s)
{
    return s.dpi > kBaseDpi ? s.dpi : kBaseDpi;
}

// The design screen: the largest that the screen's 4:3 part holds in 96-DPI
// pixels (a wide screen does not stretch the picture), or the smallest. The
// 1024 x 768 picture grows with the DPI alone, more room gives no larger
// window; a smaller one fills the share of the screen's 4:3 part that it
// filled on its own screen.
static void ChooseDesignScreen(const ScreenFacts& s, int* width, int* height, PictureScale* scale)
{
    const int dpi = DpiOf(s);
    const int fitWidth = Smaller(s.width, s.height * 4 / 3), fitHeight = Smaller(s.height, s.width * 3 / 4);
    const int logicalWidth = fitWidth * kBaseDpi / dpi, logicalHeight = fitHeight * kBaseDpi / dpi;
    int i = 0;
    while (i + 1 < kDesignScreenCount &&
           (kDesignScreens[i][0] > logicalWidth || kDesignScreens[i][1] > logicalHeight))
        ++i;
    *width = kDesignScreens[i][0];
    *height = kDesignScreens[i][1];
    scale->numerator = i == 0 ? dpi : fitWidth;
    scale->denominator = i == 0 ? kBaseDpi : *width;
}

// The title bar and the frames grow with the DPI, the picture with its own
// scale: the window gets (or gives up) the difference, so that its client
// area is the picture's, scaled.
static int NonClientGrowth(int nonClient, PictureScale scale, int dpi)
{
    return nonClient - nonClient * scale.numerator * kBaseDpi / (scale.denominator * dpi);
}

// Moves [*start, *start + length) inside [low, high) where it fits, else to low.
static void MoveInside(int* start, int length, int low, int high)
{
    if (*start + length > high)
        *start = high - length;
    if (*start < low)
        *start = low;
}

WindowGeometry ComputeScreenGeometry(const ScreenFacts& s)
{
    int designScreenWidth, designScreenHeight;
    PictureScale scale;
    ChooseDesignScreen(s, &designScreenWidth, &designScreenHeight, &scale);
    WindowGeometry g = ComputeGeometry(designScreenWidth, designScreenHeight);
    g.scale = scale;
    const int dpi = DpiOf(s);
    g.width = ScalePixels(scale, g.designWidth) + NonClientGrowth(s.nonClientWidth, scale, dpi);
    g.height = ScalePixels(scale, g.designHeight) + NonClientGrowth(s.nonClientHeight, scale, dpi);
    g.left = (s.width - g.width) / 2;
    g.top = (s.height - g.height) / 3;
    MoveInside(&g.left, g.width, s.workLeft, s.workRight);
    MoveInside(&g.top, g.height, s.workTop, s.workBottom);
    return g;
}

int ComputeContactX(int unitX)
{
    return unitX / 3 + 80;
}

// Each button's edges are scaled one by one, so the two stay apart and the
// gap between them keeps its share.
void ComputeButtons(int designWidth, int designHeight, PictureScale scale, ButtonRect buttons[kButtonCount])
{
    static const int fromRight[kButtonCount] = {173, 95};
    const int width = 78, height = 30, fromBottom = 75;
    for (int i = 0; i < kButtonCount; ++i) {
        int left = designWidth - fromRight[i], top = designHeight - fromBottom;
        buttons[i].x = ScalePixels(scale, left);
        buttons[i].y = ScalePixels(scale, top);
        buttons[i].width = ScalePixels(scale, left + width) - buttons[i].x;
        buttons[i].height = ScalePixels(scale, top + height) - buttons[i].y;
    }
}
