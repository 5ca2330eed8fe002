// The uninstall sequence, run on the window thread.
#pragma once

#include <windows.h>

// Ends by sending WM_DESTROY to the given window.
void RunUninstall(HWND window);
