// The progress step on Windows: the bar that the install worker created.
#include "payload/progress.h"

#include <windows.h>
#include <commctrl.h>

#include "common/setup_state.h"

void StepProgressBar(void)
{
    SendMessageA(setupState.progressBar, PBM_STEPIT, 0, 0);
}
