// The window, message box and drawing calls that carry a text the user
// sees: the W call on the NT family, so that the text is right whatever the
// system's code page, and the A call with the GBK form on Windows 9x, where
// the W calls are stubs.
#pragma once

#include <windows.h>

#include "common/shown_text.h"

ATOM RegisterShownClass(HINSTANCE instance, WNDPROC procedure, HICON icon, ShownText className);

// A window of a class registered the same way (or a system class).
HWND CreateShownWindow(ShownText className, ShownText text, DWORD style, int x, int y, int width, int height,
                       HWND parent, HMENU menu, HINSTANCE instance);

// DefWindowProc of the family's own kind, as the window's class was made.
LRESULT DefaultWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

int ShowMessageBox(HWND owner, ShownText text, ShownText caption, UINT type);

void DrawShownText(HDC dc, int x, int y, ShownText text);
