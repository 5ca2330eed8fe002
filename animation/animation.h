// The splash animation, played by a thread of its own.
#pragma once

// Starts the thread that draws into the main window with the animation's
// top-left corner at client position (x, y); returns at once.
void StartAnimation(int x, int y);
