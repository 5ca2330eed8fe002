// Window placement from the screen size, on the screens that matter.
#include <gtest/gtest.h>

#include "shell/geometry.h"

struct ScreenCase {
    int screenWidth, screenHeight;
    int left, top, width, height, unitX, unitY;
    bool designScreen;  // one the window was drawn for: kept pixel for pixel on any 96-DPI screen of that size
};

class GeometryTest : public testing::TestWithParam<ScreenCase> {};

// The design arithmetic, and on a design screen the same window at 96 DPI,
// whatever the task bar and the title bar take.
TEST_P(GeometryTest, PlacesTheWindow)
{
    const ScreenCase& c = GetParam();
    ScreenFacts screen = {c.screenWidth, c.screenHeight, 96, 0, 0, c.screenWidth, c.screenHeight - 30, 6, 25};
    const WindowGeometry both[] = {ComputeGeometry(c.screenWidth, c.screenHeight), ComputeScreenGeometry(screen)};
    for (const WindowGeometry& g : both) {
        if (&g != both && !c.designScreen)
            break;
        EXPECT_EQ(c.left, g.left);
        EXPECT_EQ(c.top, g.top);
        EXPECT_EQ(c.width, g.width);
        EXPECT_EQ(c.height, g.height);
        EXPECT_EQ(c.width, g.designWidth);
        EXPECT_EQ(c.height, g.designHeight);
        EXPECT_EQ(c.unitX, g.unitX);
        EXPECT_EQ(c.unitY, g.unitY);
        EXPECT_EQ(g.scale.numerator, g.scale.denominator);
        ButtonRect buttons[kButtonCount];
        ComputeButtons(g.designWidth, g.designHeight, g.scale, buttons);
        EXPECT_EQ(c.width - 173, buttons[0].x);
        EXPECT_EQ(c.width - 95, buttons[1].x);
        for (const ButtonRect& b : buttons) {
            EXPECT_EQ(c.height - 75, b.y);
            EXPECT_EQ(78, b.width);
            EXPECT_EQ(30, b.height);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Screens, GeometryTest, testing::Values(
    ScreenCase{1024, 768, 307, 110, 409, 438, 22, 77, true},
    ScreenCase{800, 600, 240, 86, 320, 342, 18, 58, true},    // exactly 800 x 600: no addition
    ScreenCase{799, 599, 215, 69, 369, 392, 20, 68, false},   // both additions, placed after them
    ScreenCase{640, 480, 167, 52, 306, 324, 17, 54, true}));

// Above 1024 x 768 the screen gives room, the DPI gives size; a wide screen
// is taken as its largest 4:3 part; below, the largest design screen that
// part holds in 96-DPI pixels fills the share it fills on its own screen.
TEST(GeometryTest, ChoosesTheDesignScreenAndTheScale)
{
    struct {
        int width, height, dpi;
        int designWidth, designHeight, numerator, denominator, windowWidth, windowHeight;
    } cases[] = {
        {1366, 768, 96, 409, 438, 96, 96, 409, 438},
        {2560, 1440, 96, 409, 438, 96, 96, 409, 438},
        {3840, 2160, 144, 409, 438, 144, 96, 614, 657},
        {3840, 2160, 192, 409, 438, 192, 96, 818, 876},
        {1920, 1080, 144, 320, 342, 1440, 800, 576, 616},  // 1280 x 720 in 96-DPI pixels: 800 x 600's picture
        {1024, 768, 120, 320, 342, 1024, 800, 410, 438},
        {1280, 720, 96, 320, 342, 960, 800, 384, 410},
        {800, 600, 144, 306, 324, 800, 640, 383, 405},
        {1024, 768, 192, 306, 324, 1024, 640, 490, 518},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " at " << c.dpi);
        ScreenFacts screen = {c.width, c.height, c.dpi, 0, 0, c.width, c.height, 0, 0};
        WindowGeometry g = ComputeScreenGeometry(screen);
        EXPECT_EQ(c.designWidth, g.designWidth);
        EXPECT_EQ(c.designHeight, g.designHeight);
        EXPECT_EQ(c.numerator, g.scale.numerator);
        EXPECT_EQ(c.denominator, g.scale.denominator);
        EXPECT_EQ(c.windowWidth, g.width);
        EXPECT_EQ(c.windowHeight, g.height);
        EXPECT_EQ((c.width - g.width) / 2, g.left);
        EXPECT_EQ((c.height - g.height) / 3, g.top);
    }
}

// At 200 % the title bar and frames are twice as large, the 640 x 480
// picture on a 640 x 480 screen is not: the window grows by the half of them
// that the picture's own scale does not give.
TEST(GeometryTest, GrowsByTheTitleBarThatTheDpiAdds)
{
    ScreenFacts screen = {640, 480, 192, 0, 0, 640, 480, 12, 50};
    WindowGeometry g = ComputeScreenGeometry(screen);
    EXPECT_EQ(306 + 6, g.width);
    EXPECT_EQ(324 + 25, g.height);
}

// A task bar at the top, or a window larger than the space, moves it.
TEST(GeometryTest, KeepsTheWindowInTheWorkArea)
{
    ScreenFacts top = {640, 480, 192, 0, 100, 640, 480, 12, 50};
    WindowGeometry g = ComputeScreenGeometry(top);
    EXPECT_EQ(100, g.top);
    ScreenFacts right = {1024, 768, 96, 0, 0, 700, 768, 6, 25};
    g = ComputeScreenGeometry(right);
    EXPECT_EQ(700 - 409, g.left);
}

TEST(GeometryTest, ContactAnchorFollowsTheHorizontalUnit)
{
    EXPECT_EQ(87, ComputeContactX(22));
    EXPECT_EQ(80, ComputeContactX(2));
}
