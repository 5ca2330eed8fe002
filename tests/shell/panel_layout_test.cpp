// The panel's sizes and places on the screens that matter. Each quotient
// truncates on its own: on 409 pixels cellWidth is 21 - 10 = 11, not
// 409 / 38 = 10, and with unitX 17 the frame's right edge is 306 - 2 * 8.
#include <gtest/gtest.h>

#include "shell/panel_layout.h"

namespace {

struct PanelCase {
    const char* screen;
    int windowWidth, unitX, unitY, contactX;
    // halfUnitX, lineStep, cellWidth, firstLineY, sloganY, titleY,
    // frameLeft, frameRight, frameTop, frameBottom, contactTop
    int derived[11];
    PanelCell smallCell, sloganCell, titleCell;
    int featureX, featureY[kFeatureLineCount];
    PanelPoint slogan, title, logo, systemsLine;
    int contactX25, contactY[kContactLineCount];
};

class PanelLayoutTest : public testing::TestWithParam<PanelCase> {};

void ExpectPoint(PanelPoint expected, PanelPoint actual, const char* what)
{
    EXPECT_EQ(expected.x, actual.x) << what;
    EXPECT_EQ(expected.y, actual.y) << what;
}

void ExpectCell(PanelCell expected, PanelCell actual, const char* what)
{
    EXPECT_EQ(expected.width, actual.width) << what;
    EXPECT_EQ(expected.height, actual.height) << what;
}

TEST_P(PanelLayoutTest, PlacesEveryItem)
{
    const PanelCase& c = GetParam();
    SCOPED_TRACE(c.screen);
    PanelLayout p = ComputePanelLayout(c.windowWidth, c.unitX, c.unitY, c.contactX);
    const int derived[11] = {p.halfUnitX, p.lineStep, p.cellWidth, p.firstLineY, p.sloganY, p.titleY,
                             p.frameLeft, p.frameRight, p.frameTop, p.frameBottom, p.contactTop};
    for (int i = 0; i < 11; ++i)
        EXPECT_EQ(c.derived[i], derived[i]) << "derived quantity " << i;

    ExpectCell(c.smallCell, p.smallCell, "small font");
    ExpectCell(c.sloganCell, p.sloganCell, "slogan font");
    ExpectCell(c.titleCell, p.titleCell, "title font");
    for (int i = 0; i < kFeatureLineCount; ++i)
        ExpectPoint({c.featureX, c.featureY[i]}, p.featureLines[i], "feature line");
    ExpectPoint(c.slogan, p.slogan, "slogan");
    ExpectPoint(c.title, p.title, "title");
    ExpectPoint(c.logo, p.logo, "logo");
    ExpectPoint(c.systemsLine, p.systemsLine, "systems line");
    for (int i = 0; i < kContactLineCount; ++i)
        ExpectPoint({c.contactX25, c.contactY[i]}, p.contactLines[i], "contact line");

    // Top and left dark, bottom and right light; only the bottom line passes
    // the right edge, by the one pixel that draws the corner.
    const int left = c.derived[6], right = c.derived[7], top = c.derived[8], bottom = c.derived[9];
    const PanelSegment frame[kFrameLineCount] = {
        {{left, top}, {right, top}},
        {{left, top}, {left, bottom}},
        {{left, bottom}, {right + 1, bottom}},
        {{right, top}, {right, bottom}},
    };
    for (int i = 0; i < kFrameLineCount; ++i) {
        ExpectPoint(frame[i].from, p.frame[i].from, "frame line start");
        ExpectPoint(frame[i].to, p.frame[i].to, "frame line end");
    }
}

INSTANTIATE_TEST_SUITE_P(Screens, PanelLayoutTest, testing::Values(
    PanelCase{"1024x768", 409, 22, 77, 87,
              {11, 19, 11, 14, 128, 158, 13, 387, 125, 254, 265},
              {10, 18}, {11, 22}, {22, 77},
              141, {14, 33, 52, 71, 90},
              {28, 128}, {83, 158}, {34, 157}, {76, 234},
              62, {265, 284, 303, 322}},
    PanelCase{"640x480", 306, 17, 54, 85,
              {8, 13, 8, 11, 89, 107, 10, 290, 86, 185, 190},
              {7, 12}, {8, 16}, {17, 54},
              138, {11, 24, 37, 50, 63},
              {20, 89}, {80, 107}, {31, 106}, {73, 165},
              60, {190, 203, 216, 229}}));

}  // namespace
