// Window placement from the screen size, on the screens that matter.
#include <gtest/gtest.h>

#include "shell/geometry.h"

struct ScreenCase {
    int screenWidth, screenHeight;
    int left, top, width, height, unitX, unitY;
};

class GeometryTest : public testing::TestWithParam<ScreenCase> {};

TEST_P(GeometryTest, PlacesTheWindow)
{
    const ScreenCase& c = GetParam();
    WindowGeometry g = ComputeGeometry(c.screenWidth, c.screenHeight);
    EXPECT_EQ(c.left, g.left);
    EXPECT_EQ(c.top, g.top);
    EXPECT_EQ(c.width, g.width);
    EXPECT_EQ(c.height, g.height);
    EXPECT_EQ(c.unitX, g.unitX);
    EXPECT_EQ(c.unitY, g.unitY);
}

INSTANTIATE_TEST_SUITE_P(Screens, GeometryTest, testing::Values(
    ScreenCase{1024, 768, 307, 110, 409, 438, 22, 77},
    ScreenCase{800, 600, 240, 86, 320, 342, 18, 58},   // exactly 800 x 600: no addition
    ScreenCase{799, 599, 215, 69, 369, 392, 20, 68},   // both additions, placed after them
    ScreenCase{640, 480, 167, 52, 306, 324, 17, 54}));

TEST(GeometryTest, ContactAnchorFollowsTheHorizontalUnit)
{
    EXPECT_EQ(87, ComputeContactX(22));
    EXPECT_EQ(80, ComputeContactX(2));
}
