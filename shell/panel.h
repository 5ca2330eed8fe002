// The information panel painted on the main window.
#pragma once

#include <windows.h>

void PaintPanel(HDC dc);
