// The install's progress bar under Wine: a real progress bar that follows
// the decompressor's steps through the sample payload with a few hundred
// messages, stands at the counted steps after every member, and holds the
// steps of a container of any size.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <fstream>
#include <iterator>
#include <vector>

#include "common/setup_state.h"
#include "payload/container.h"
#include "payload/expand.h"
#include "payload/progress.h"
#include "payload/progress_bar.h"
#include "payload/progress_gauge.h"

namespace {

WNDPROC barProcedure;
LONG barMessages;  // position messages the bar received

LRESULT CALLBACK CountingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == PBM_SETPOS || message == PBM_DELTAPOS || message == PBM_STEPIT)
        barMessages += 1;
    return CallWindowProcA(barProcedure, window, message, wParam, lParam);
}

class ProgressBarTest : public testing::Test {
protected:
    // The bar on a window of the size the main window has on a 1024 x 768 screen.
    void MakeBar(uint32_t containerBytes)
    {
        InitCommonControls();
        setupState = SetupState();
        setupState.windowWidth = 409;
        setupState.windowHeight = 438;
        setupState.instance = GetModuleHandleA(NULL);
        setupState.mainWindow = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 409, 438,
                                                NULL, NULL, setupState.instance, NULL);
        ASSERT_TRUE(setupState.mainWindow != NULL);
        setupState.progressBar = CreateProgressBar(containerBytes);
        ASSERT_TRUE(setupState.progressBar != NULL);
        barProcedure = (WNDPROC)SetWindowLongPtrA(setupState.progressBar, GWLP_WNDPROC,
                                                  (LONG_PTR)CountingProcedure);
        barMessages = 0;
    }
    void TearDown() override { DestroyWindow(setupState.mainWindow); }

    LRESULT Position() { return SendMessageA(setupState.progressBar, PBM_GETPOS, 0, 0); }
};

std::vector<uint8_t> ReadFileBytes(const char* path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

TEST_F(ProgressBarTest, TwoHundredFiftyBytesAreTwoSteps)
{
    MakeBar(250);
    // 28 flag bytes of 0xFF and 222 literals.
    std::vector<uint8_t> member;
    for (int k = 0; k < 222; k++) {
        if (k % 8 == 0)
            member.push_back(0xFF);
        member.push_back('x');
    }
    std::vector<uint8_t> output(4 * member.size());
    EXPECT_EQ(222u, ExpandMember(member.data(), member.size(), output.data(), output.size()));
    ShowProgressSoFar();
    EXPECT_EQ(2u, progressGauge.steps);
    EXPECT_EQ(2, Position());
}

// The members walked as the worker walks them, the count raised to the
// running total and the bar brought up to date after each one.
TEST_F(ProgressBarTest, StandsAtTheCountedStepsAfterEveryMemberOfTheSample)
{
    const char* setupPath = getenv("QMX_SETUP_PATH");
    ASSERT_TRUE(setupPath != NULL);
    std::vector<uint8_t> file = ReadFileBytes(setupPath);
    ASSERT_GT(file.size(), 100000u);
    uint32_t fileSize = file.size(), tableOffset, offset;
    uint32_t memberCount = ReadLe16(&file[fileSize - kCountFieldSize]);
    ASSERT_TRUE(LocateSizeTable(fileSize, memberCount, &tableOffset));
    ASSERT_TRUE(LocateFirstMember(fileSize, memberCount, &file[tableOffset], &offset));
    uint32_t sum = 0;
    for (uint32_t k = 0; k < memberCount; k++)
        sum += ReadLe32(&file[tableOffset + kSizeFieldSize * k]);
    MakeBar(sum);
    ASSERT_EQ((LRESULT)(sum / kBytesPerStep), SendMessageA(setupState.progressBar, PBM_GETRANGE, FALSE, NULL));

    setupState.progressCount = 0;
    setupState.progressLastStep = 0;
    uint32_t runningTotal = 0, compressedBytes = 0;
    std::vector<uint8_t> output;
    for (uint32_t k = 0; k < memberCount; k++) {
        uint32_t size = ReadLe32(&file[tableOffset + kSizeFieldSize * k]);
        runningTotal += size;
        if (!IsStoredMember(&file[offset], size)) {
            compressedBytes += size;
            output.resize(kMaxExpansion * size);
            ExpandMember(&file[offset], size, output.data(), output.size());
        }
        offset += size;
        if (setupState.progressCount < runningTotal)
            setupState.progressCount = runningTotal;
        ShowProgressSoFar();
        EXPECT_EQ((LRESULT)progressGauge.steps, Position()) << "after member " << k;
    }
    // A step waits for the token that passes 100 bytes, which may bring up to 3.
    EXPECT_GE(progressGauge.steps, compressedBytes / (kBytesPerStep + 3)) << "every step was counted";
    EXPECT_LE(barMessages, 300) << "for " << progressGauge.steps << " steps";
    printf("the sample payload: %u steps, %ld messages to the bar\n", progressGauge.steps, barMessages);
}

// 100 MB is a million steps: the range stays a 16-bit word and the last step
// fills the bar, with one message per pixel.
TEST_F(ProgressBarTest, HoldsTheStepsOfAHundredMegabytes)
{
    MakeBar(100000000);
    PBRANGE range = {};
    SendMessageA(setupState.progressBar, PBM_GETRANGE, FALSE, (LPARAM)&range);
    EXPECT_EQ(0, range.iLow);
    EXPECT_GT(range.iHigh, 60000);
    EXPECT_LE(range.iHigh, 65535);
    RECT client;
    GetClientRect(setupState.progressBar, &client);
    for (int k = 0; k < 500000; k++)
        StepProgressBar();
    EXPECT_NEAR(range.iHigh / 2, Position(), 2) << "half way after half the steps";
    for (int k = 0; k < 500000; k++)
        StepProgressBar();
    ShowProgressSoFar();
    EXPECT_EQ(range.iHigh, Position());
    EXPECT_LE(barMessages, client.right + 1);
}

}  // namespace
