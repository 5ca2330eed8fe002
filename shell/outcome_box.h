// The message box that tells the user how the install or the uninstall ended.
#pragma once

#include <windows.h>

// Shown over the main window, with its title, on the window thread; nothing
// when the program runs unattended or the work ended as it should.
void ShowOutcomeBox(HWND window, int uninstall);
