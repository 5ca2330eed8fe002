// The animation thread under Wine, in a window of the test's own: frames
// reach the window at (20, 5), a stop request ends the thread within a few
// of its short sleeps, and the thread cleans up after itself.
#include <gtest/gtest.h>
#include <windows.h>

#include "animation/animation.h"
#include "animation/gif_walker.h"
#include "common/setup_state.h"

namespace {

const COLORREF kSilver = RGB(192, 192, 192);
const COLORREF kUnused = RGB(10, 200, 99);  // in no frame

// Pumps the window's messages for the given time.
void Pump(DWORD milliseconds)
{
    DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds) {
        MSG message;
        while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE))
            DispatchMessageA(&message);
        Sleep(5);
    }
}

// How many pixels of the animation's 100 x 76 area have the colour.
int CountInArea(HWND window, COLORREF colour)
{
    HDC dc = GetDC(window);
    int count = 0;
    for (int y = 5; y < 5 + 76; y += 3)
        for (int x = 20; x < 20 + 100; x += 3)
            count += GetPixel(dc, x, y) == colour;
    ReleaseDC(window, dc);
    return count;
}

}  // namespace

TEST(AnimationThreadTest, FramesReachTheWindowAndAStopEndsTheThreadPromptly)
{
    HWND window = CreateWindowExA(0, "STATIC", "animation", WS_POPUP | WS_VISIBLE, 0, 0, 200, 120, NULL, NULL,
                                  GetModuleHandleA(NULL), NULL);
    ASSERT_NE(nullptr, window);
    HDC dc = GetDC(window);
    RECT all = {0, 0, 200, 120};
    HBRUSH unused = CreateSolidBrush(kUnused);
    FillRect(dc, &all, unused);
    DeleteObject(unused);
    ReleaseDC(window, dc);
    setupState.mainWindow = window;
    ASSERT_EQ(34 * 26, CountInArea(window, kUnused));
    setupState.stopAnimation = 1;

    StartAnimation(20, 5);
    EXPECT_EQ(0, setupState.stopAnimation) << "starting clears the stop flag";
    HANDLE thread = OpenThread(SYNCHRONIZE, FALSE, animationState.animationThreadId);
    ASSERT_NE(nullptr, thread);
    Pump(1200);
    int silver = CountInArea(window, kSilver);
    EXPECT_GT(silver, 34 * 26 / 2) << "the frame's silver background fills most of the area";
    EXPECT_EQ(0, CountInArea(window, kUnused)) << "the whole area is the frame's";

    Pump(250);  // somewhere inside a frame's 500 ms wait
    DWORD asked = GetTickCount();
    setupState.stopAnimation = 1;
    DWORD result = WaitForSingleObject(thread, 2000);
    DWORD took = GetTickCount() - asked;
    printf("the animation thread ended %lu ms after the stop request\n", took);
    ASSERT_EQ(WAIT_OBJECT_0, result);
    EXPECT_LT(took, 250u) << "a stop takes effect within the wait, not at its end";
    EXPECT_EQ(nullptr, animationState.animationThread);
    EXPECT_EQ(0u, animationState.animationThreadId);
    EXPECT_EQ(nullptr, animationState.paletteCopy);
    CloseHandle(thread);
    DestroyWindow(window);
}
