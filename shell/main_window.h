// The program's entry and its only top-level window.
#pragma once

#include <windows.h>

#include "common/shown_text.h"

extern const ShownText kMainWindowClass;  // "ZADAWndClass"
extern const ShownText kMainWindowTitle;  // "输入法安装程序"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand);
LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
