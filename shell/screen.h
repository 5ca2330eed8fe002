// The screen the main window is sized for, as the system reports it.
#pragma once

#include "shell/geometry.h"

// Its size, DPI and work area, and the title bar and frames of a window of
// the main window's style.
ScreenFacts ReadScreenFacts(void);
