// The uninstall sequence.
#include "uninstall/uninstall.h"

#include "shell/setup_state.h"

void RunUninstall(HWND window)
{
    setupState.stopAnimation = 1;
    SendMessageA(window, WM_DESTROY, 0, 0);
}
