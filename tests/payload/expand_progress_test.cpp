// The decompressor's progress step on Windows: a real progress bar moves one
// step per hundred counted bytes.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "common/setup_state.h"
#include "payload/expand.h"

TEST(ExpandProgressBarTest, StepsTheBarOncePerHundredBytes)
{
    InitCommonControls();
    HWND bar = CreateWindowExA(0, "msctls_progress32", "", WS_POPUP, 0, 0, 200, 20, NULL, NULL,
        GetModuleHandleA(NULL), NULL);
    ASSERT_TRUE(bar != NULL);
    SendMessageA(bar, PBM_SETRANGE, 0, MAKELPARAM(0, 100));
    SendMessageA(bar, PBM_SETSTEP, 1, 0);
    setupState.progressBar = bar;
    setupState.progressCount = 0;
    setupState.progressLastStep = 0;

    // 250 bytes: 28 flag bytes of 0xFF and 222 literals.
    std::vector<uint8_t> member;
    for (int k = 0; k < 222; k++) {
        if (k % 8 == 0)
            member.push_back(0xFF);
        member.push_back('x');
    }
    std::vector<uint8_t> output(4 * member.size());
    EXPECT_EQ(222u, ExpandMember(member.data(), member.size(), output.data(), output.size()));
    EXPECT_EQ(2, SendMessageA(bar, PBM_GETPOS, 0, 0));
    DestroyWindow(bar);
}
