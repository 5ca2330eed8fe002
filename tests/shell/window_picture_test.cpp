// The whole window's picture on every screen from 640 x 480 to 3840 x 2160
// at 96, 120, 144 and 192 DPI: each item as a rectangle (each text line as
// SimSun draws it, one half-width cell a GBK byte), all inside the client
// area, none overlapping another that the 1024 x 768 window keeps apart, and
// each where the picture of its design screen puts it, scaled.
#include <gtest/gtest.h>

#include "tests/shell/window_picture.h"

namespace {

bool Apart(const Rect& a, const Rect& b)
{
    return a.right <= b.left || b.right <= a.left || a.bottom <= b.top || b.bottom <= a.top;
}

struct ScreenCase {
    int width, height;
};

class WindowPictureTest : public testing::TestWithParam<std::tuple<ScreenCase, int>> {};

TEST_P(WindowPictureTest, OnePictureAtEverySize)
{
    const ScreenCase screen = std::get<0>(GetParam());
    const int dpi = std::get<1>(GetParam());
    const ScreenFacts s = ModelScreen(screen.width, screen.height, dpi);
    const WindowGeometry g = ComputeScreenGeometry(s);
    SCOPED_TRACE(testing::Message() << screen.width << "x" << screen.height << " at " << dpi << " DPI: window "
                                    << g.width << "x" << g.height << ", design " << g.designWidth << "x"
                                    << g.designHeight << ", scale " << g.scale.numerator << "/"
                                    << g.scale.denominator);

    EXPECT_GE(g.left, s.workLeft);
    EXPECT_GE(g.top, s.workTop);
    EXPECT_LE(g.left + g.width, s.workRight);
    EXPECT_LE(g.top + g.height, s.workBottom);

    const std::vector<Item> items = Picture(g);
    const Rect client = {0, 0, g.width - s.nonClientWidth, g.height - s.nonClientHeight};
    for (const Item& item : items) {
        EXPECT_TRUE(item.at.left >= 0 && item.at.top >= 0 && item.at.right <= client.right &&
                    item.at.bottom <= client.bottom)
            << item.name << " (" << item.at.left << ", " << item.at.top << ")-(" << item.at.right << ", "
            << item.at.bottom << ") outside the client area " << client.right << "x" << client.bottom;
    }

    // What the 1024 x 768 window keeps apart stays apart.
    const std::vector<Item> reference = Picture(ComputeGeometry(1024, 768));
    ASSERT_EQ(reference.size(), items.size());
    for (size_t i = 0; i < items.size(); ++i) {
        for (size_t j = i + 1; j < items.size(); ++j) {
            if (Apart(reference[i].at, reference[j].at))
                EXPECT_TRUE(Apart(items[i].at, items[j].at)) << items[i].name << " overlaps " << items[j].name;
        }
    }

    // Every edge within a pixel of its place in the design picture, scaled,
    // but for what an item may fall short of its scaled size; none runs past it.
    const std::vector<Item> design = Picture(DesignWindow(g));
    const double scale = (double)g.scale.numerator / g.scale.denominator;
    for (size_t i = 0; i < items.size(); ++i) {
        const Rect& d = design[i].at;
        const Rect& a = items[i].at;
        const int shortBy = items[i].shortBy, deepShort = shortBy ? 1 : 0;
        EXPECT_NEAR(d.left * scale, a.left, 1.0 + deepShort) << items[i].name;
        EXPECT_NEAR(d.top * scale, a.top, 1.0 + deepShort) << items[i].name;
        EXPECT_LE(a.right, d.right * scale + 1.0) << items[i].name;
        EXPECT_GE(a.right, d.right * scale - 1.0 - shortBy) << items[i].name;
        EXPECT_LE(a.bottom, d.bottom * scale + 1.0) << items[i].name;
        EXPECT_GE(a.bottom, d.bottom * scale - 1.0 - deepShort) << items[i].name;
    }
}

INSTANTIATE_TEST_SUITE_P(Screens, WindowPictureTest,
                         testing::Combine(testing::Values(ScreenCase{640, 480}, ScreenCase{800, 600},
                                                          ScreenCase{1024, 768}, ScreenCase{1280, 720},
                                                          ScreenCase{1280, 1024}, ScreenCase{1366, 768},
                                                          ScreenCase{1440, 900}, ScreenCase{1600, 900},
                                                          ScreenCase{1920, 1080}, ScreenCase{1920, 1200},
                                                          ScreenCase{2560, 1440}, ScreenCase{3440, 1440},
                                                          ScreenCase{3840, 2160}),
                                          testing::Values(96, 120, 144, 192)));

}  // namespace
