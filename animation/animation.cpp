// The splash animation thread: draws the stored GIF's frames into the main
// window, one every frame delay, until asked to stop.
#include "animation/animation.h"

#include <windows.h>

#include "animation/gif_walker.h"
#include "common/setup_state.h"
#include "resources/animation_data.h"

static const DWORD kWaitStepMs = 10;

// Copies the frame into the window; a step without a frame leaves the area as it was.
static void DrawFrame(HDC memoryDC, HBITMAP frame)
{
    if (!frame)
        return;
    HGDIOBJ previous = SelectObject(memoryDC, frame);
    BitBlt(animationState.windowDC, animationState.originX, animationState.originY, animationState.screenWidth,
           animationState.screenHeight, memoryDC, 0, 0, SRCCOPY);
    SelectObject(memoryDC, previous);
}

// Waits until the frame's delay has passed since start, in short sleeps so
// that the processor stays free for the window and the install; 0 when a
// stop was asked meanwhile.
static int WaitFrameDelay(DWORD start)
{
    DWORD delay = 10u * (animationState.frameDelay ? animationState.frameDelay : kDefaultFrameDelay);
    for (;;) {
        if (setupState.stopAnimation)
            return 0;
        DWORD elapsed = GetTickCount() - start;  // unsigned: right across the counter's wrap
        if (elapsed >= delay)
            return 1;
        Sleep(delay - elapsed < kWaitStepMs ? delay - elapsed : kWaitStepMs);
    }
}

static DWORD WINAPI AnimationThread(LPVOID)
{
    animationState.windowDC = GetDC(setupState.mainWindow);
    HDC memoryDC = CreateCompatibleDC(animationState.windowDC);
    HBITMAP frame = 0;
    while (!setupState.stopAnimation) {
        DWORD start = GetTickCount();  // the delay counts the decode and the copy
        if (frame)
            DeleteObject(frame);
        frame = NextFrame();
        DrawFrame(memoryDC, frame);
        if (!WaitFrameDelay(start))
            break;
    }
    if (frame)
        DeleteObject(frame);
    DeleteDC(memoryDC);
    ReleaseDC(setupState.mainWindow, animationState.windowDC);
    ReleaseAnimation();
    CloseHandle(animationState.animationThread);
    animationState.animationThread = 0;
    animationState.animationThreadId = 0;
    return 0;
}

void StartAnimation(int x, int y)
{
    PrepareAnimation(animationData, animationDataLength, x, y);
    animationState.animationThread =
        CreateThread(NULL, 0, AnimationThread, NULL, 0, (DWORD*)&animationState.animationThreadId);
}
