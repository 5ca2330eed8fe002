// The progress bar on Windows. Each message to the bar waits for the window
// thread, so the steps are gathered and the bar is told only when one more
// pixel would fill, and at the end of every member.
#include "payload/progress.h"
#include "payload/progress_bar.h"

#include <commctrl.h>

#include "common/setup_state.h"
#include "common/system_libraries.h"
#include "payload/progress_gauge.h"

// Unattended, the window stays hidden: no bar is made (making one costs
// Wine some 40 ms), and the gauge counts steps that nobody is shown.
HWND CreateProgressBar(uint32_t containerBytes)
{
    if (setupState.unattended) {
        StartGauge(&progressGauge, containerBytes, 0);
        return NULL;
    }
    InitProgressBarClass();
    // Left of the buttons, from (10, windowHeight - 78) on the design screen,
    // 27 high and windowWidth - 185 wide; its edges scaled as the window's.
    const PictureScale scale = setupState.pictureScale;
    int left = ScalePixels(scale, 10), top = ScalePixels(scale, setupState.windowHeight - 78);
    int right = ScalePixels(scale, 10 + setupState.windowWidth - 185);
    int bottom = ScalePixels(scale, setupState.windowHeight - 78 + 27);
    HWND bar = CreateWindowExA(0, PROGRESS_CLASSA, NULL, WS_CHILD | WS_VISIBLE, left, top, right - left,
                               bottom - top, setupState.mainWindow, NULL, setupState.instance, NULL);
    RECT client = {};
    GetClientRect(bar, &client);
    StartGauge(&progressGauge, containerBytes, client.right > 0 ? client.right : 0);
    SendMessageA(bar, PBM_SETRANGE, 0, MAKELPARAM(0, progressGauge.range));
    return bar;
}

static void ShowGaugePosition(void)
{
    progressGauge.shownUnits = GaugeUnits(&progressGauge);
    if (setupState.progressBar)
        SendMessageA(setupState.progressBar, PBM_SETPOS, progressGauge.shownUnits, 0);
}

void StepProgressBar(void)
{
    if (CountGaugeStep(&progressGauge))
        ShowGaugePosition();
}

void ShowProgressSoFar(void)
{
    if (GaugeUnits(&progressGauge) != progressGauge.shownUnits)
        ShowGaugePosition();
}
