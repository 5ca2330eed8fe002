// The progress bar's arithmetic: a range that holds a container of any size,
// and a bar told once per filled pixel that still ends where the steps put it.
#include <gtest/gtest.h>

#include "payload/progress_gauge.h"

struct RangeCase {
    uint32_t containerBytes, stepsPerUnit, range;
};

class GaugeRangeTest : public testing::TestWithParam<RangeCase> {};

TEST_P(GaugeRangeTest, ScalesTheRangeIntoSixteenBits)
{
    const RangeCase& c = GetParam();
    ProgressGauge gauge;
    StartGauge(&gauge, c.containerBytes, 200);
    EXPECT_EQ(c.stepsPerUnit, gauge.stepsPerUnit);
    EXPECT_EQ(c.range, gauge.range);
    EXPECT_EQ(0u, gauge.steps);
    EXPECT_EQ(0u, gauge.shownUnits);
}

INSTANTIATE_TEST_SUITE_P(Sizes, GaugeRangeTest, testing::Values(
    RangeCase{0, 1, 0},
    RangeCase{99, 1, 0},
    RangeCase{950052, 1, 9500},          // the sample payload: one unit per step
    RangeCase{6553599, 1, 65535},        // the largest range of one step a unit
    RangeCase{6553600, 2, 32768},        // one step more would wrap a 16-bit range
    RangeCase{0xFFFFFFFFu, 656, 65472}));

struct StepsCase {
    uint32_t containerBytes, width, messages;
};

class GaugeStepsTest : public testing::TestWithParam<StepsCase> {};

// Counting every step of the container: one message per pixel that fills
// (or per unit, when the units are fewer), each with a position one more
// pixel along, and the last one where one message per step would have left it.
TEST_P(GaugeStepsTest, TellsTheBarOncePerPixel)
{
    const StepsCase& c = GetParam();
    ProgressGauge gauge;
    StartGauge(&gauge, c.containerBytes, c.width);
    uint32_t messages = 0, totalSteps = c.containerBytes / 100;
    for (uint32_t k = 0; k < totalSteps; k++) {
        if (CountGaugeStep(&gauge)) {
            messages += 1;
            ASSERT_GT(GaugeUnits(&gauge), gauge.shownUnits);
            gauge.shownUnits = GaugeUnits(&gauge);
        }
    }
    EXPECT_EQ(c.messages, messages);
    EXPECT_EQ(totalSteps, gauge.steps);
    EXPECT_EQ(gauge.range, gauge.shownUnits) << "the bar ends full";
}

INSTANTIATE_TEST_SUITE_P(Bars, GaugeStepsTest, testing::Values(
    StepsCase{950052, 224, 224},     // the sample payload on a 1024 x 768 screen
    StepsCase{950052, 20000, 9500},  // wider than the range: every step shows
    StepsCase{80000000, 300, 300}));  // 13 steps a unit
