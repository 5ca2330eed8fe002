// The splash animation thread: draws the stored GIF's frames into the main
// window, one every frame delay, until asked to stop; and the window's own
// redraw of the frame shown last.
#include "animation/animation.h"

#include <windows.h>

#include "animation/gif_walker.h"
#include "common/setup_state.h"
#include "resources/animation_data.h"

static const DWORD kWaitStepMs = 10;

// The frame shown last, drawn by the thread and by the window's paint, which
// take turns through the lock: a bitmap is selected into one context at a time.
static CRITICAL_SECTION shownFrameLock;
static int shownFrameLockMade;  // not before the first StartAnimation
static HBITMAP shownFrame;

// The canvas's pixels each repeated over the pixels they cover, never
// blended: the 16-colour frames stay sharp, and stretching of this kind is
// the same on every Windows (smoothing is the NT family's alone).
static void CopyFrame(HDC target, HDC memoryDC, HBITMAP frame)
{
    HGDIOBJ previous = SelectObject(memoryDC, frame);
    const AnimationState& a = animationState;
    StretchBlt(target, a.originX, a.originY, a.shownWidth, a.shownHeight, memoryDC, 0, 0, a.screenWidth,
               a.screenHeight, SRCCOPY);
    SelectObject(memoryDC, previous);
}

// Shows the frame in the window and keeps it for redraws, deleting the one
// it replaces; a step without a frame leaves the area as it was.
static void ShowFrame(HDC memoryDC, HBITMAP frame)
{
    if (!frame)
        return;
    EnterCriticalSection(&shownFrameLock);
    HBITMAP replaced = shownFrame;
    shownFrame = frame;
    CopyFrame(frameBitmapDC, memoryDC, frame);
    LeaveCriticalSection(&shownFrameLock);
    if (replaced)
        DeleteObject(replaced);
}

static void ForgetShownFrame(void)
{
    EnterCriticalSection(&shownFrameLock);
    if (shownFrame)
        DeleteObject(shownFrame);
    shownFrame = 0;
    LeaveCriticalSection(&shownFrameLock);
}

void RedrawAnimation(HDC dc)
{
    if (!shownFrameLockMade)
        return;
    EnterCriticalSection(&shownFrameLock);
    if (shownFrame) {
        HDC memoryDC = CreateCompatibleDC(dc);
        CopyFrame(dc, memoryDC, shownFrame);
        DeleteDC(memoryDC);
    }
    LeaveCriticalSection(&shownFrameLock);
}

// Frames drawn into the window before it is shown would be lost, the first
// for good; 0 when a stop was asked first.
static int WaitUntilShown(void)
{
    while (!IsWindowVisible(setupState.mainWindow)) {
        if (setupState.stopAnimation)
            return 0;
        Sleep(kWaitStepMs);
    }
    return 1;
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

// Draws frames until a stop is asked, with the window's device context taken
// once the window is shown.
static void PlayFrames(void)
{
    frameBitmapDC = GetDC(setupState.mainWindow);
    HDC memoryDC = CreateCompatibleDC(frameBitmapDC);
    while (!setupState.stopAnimation) {
        DWORD start = GetTickCount();  // the delay counts the decode and the copy
        ShowFrame(memoryDC, NextFrame());
        if (!WaitFrameDelay(start))
            break;
    }
    ForgetShownFrame();
    DeleteDC(memoryDC);
    ReleaseDC(setupState.mainWindow, frameBitmapDC);
}

static DWORD WINAPI AnimationThread(LPVOID)
{
    if (WaitUntilShown())
        PlayFrames();
    ReleaseAnimation();
    CloseHandle(animationState.animationThread);
    animationState.animationThread = 0;
    animationState.animationThreadId = 0;
    return 0;
}

void StartAnimation(int x, int y)
{
    if (!shownFrameLockMade)
        InitializeCriticalSection(&shownFrameLock);
    shownFrameLockMade = 1;
    PrepareAnimation(animationData, animationDataLength, x, y);
    animationState.animationThread =
        CreateThread(NULL, 0, AnimationThread, NULL, 0, (DWORD*)&animationState.animationThreadId);
}
