// The screen's facts from the system. GetDeviceCaps(LOGPIXELSY) gives the
// DPI on every Windows (120 with the large fonts of Windows 9x and NT4);
// the manifest declares the program DPI-aware, so that later systems report
// the true DPI and the screen in true pixels instead of stretching the
// window as a bitmap.
#include "shell/screen.h"

#include <windows.h>

#include "common/setup_state.h"
#include "shell/geometry.h"

// Unattended, the window is never shown: the screen's device context and
// work area are not asked for, which could cost Wine its display driver.
ScreenFacts ReadScreenFacts(void)
{
    ScreenFacts s;
    s.width = GetSystemMetrics(SM_CXSCREEN);
    s.height = GetSystemMetrics(SM_CYSCREEN);
    s.dpi = kBaseDpi;
    RECT work;
    SetRect(&work, 0, 0, s.width, s.height);
    if (!setupState.unattended) {
        HDC screen = GetDC(NULL);
        s.dpi = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(NULL, screen);
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);  // left as the whole screen when it fails
    }
    s.workLeft = work.left;
    s.workTop = work.top;
    s.workRight = work.right;
    s.workBottom = work.bottom;
    s.nonClientWidth = 2 * GetSystemMetrics(SM_CXFIXEDFRAME);
    s.nonClientHeight = GetSystemMetrics(SM_CYCAPTION) + 2 * GetSystemMetrics(SM_CYFIXEDFRAME);
    return s;
}
