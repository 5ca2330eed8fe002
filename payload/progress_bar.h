// The install progress bar on the main window: told only when what it shows
// changes, and brought up to the count at the end of every member.
#pragma once

#include <windows.h>
#include <stdint.h>

// A bar whose range holds the steps of containerBytes, at position 0; its
// gauge starts over. Unattended, no bar (NULL): the gauge alone.
HWND CreateProgressBar(uint32_t containerBytes);

// Gives the bar the position of every step counted so far.
void ShowProgressSoFar(void);
