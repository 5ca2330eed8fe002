// The information panel painted on the main window: feature lines, slogan,
// title and logo, a sunken frame, the systems line and the contact block.
#pragma once

#include <windows.h>

// Draws the panel into a paint device context; every drawing object it makes
// is released before it returns and the previous selections are back.
void PaintPanel(HDC dc);

// A "宋体" (SimSun) font of the given cell; the caller selects the previous font back
// and deletes it.
HFONT MakePanelFont(int cellWidth, int cellHeight);

// One solid line; as with LineTo, the end point itself is not drawn.
void DrawLine(HDC dc, int penWidth, COLORREF colour, int x1, int y1, int x2, int y2);
