// The splash animation, played by a thread of its own.
#pragma once

#include <windows.h>

// Starts the thread that draws into the main window with the animation's
// top-left corner at client position (x, y); returns at once. The thread
// draws its first frame once the window is shown.
void StartAnimation(int x, int y);

// Draws the frame shown last onto the device context of the main window, so
// that erasing or painting the window never leaves the area empty; nothing
// before the first frame or after the thread ended.
void RedrawAnimation(HDC dc);
