// The one platform step of the animation: a device bitmap made from the
// composed canvas. The Windows build creates it against the window's device
// context; the native build keeps a copy for tests and tools.
#pragma once

#ifdef _WIN32
#include <windows.h>
#else
typedef struct HBITMAP__* HBITMAP;
typedef struct HDC__* HDC;
#endif

struct FrameHeader;

// The main window's device context, which the Windows build makes bitmaps
// against; held by the animation thread while it runs.
extern HDC frameBitmapDC;

// From a 32-bit top-down header and its rows; none when the platform cannot make it.
HBITMAP CreateFrameBitmap(const FrameHeader* header, const void* pixels);
