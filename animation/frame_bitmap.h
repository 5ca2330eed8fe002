// The one platform step of the decoder: a device bitmap made from a frame's
// header, colour table and pixel rows. The Windows build creates it against
// the window's device context; the native build keeps a copy for tests and tools.
#pragma once

#ifdef _WIN32
#include <windows.h>
#else
typedef struct HBITMAP__* HBITMAP;
typedef struct HDC__* HDC;
#endif

#include <stdint.h>

struct FrameBlock;

// None when the platform cannot make it.
HBITMAP CreateFrameBitmap(const FrameBlock* block, const uint8_t* pixelArea);
