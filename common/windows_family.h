// Which family of Windows runs the program, and the calls that only some of
// its members have, looked up at run time so that the image loads on all.
#pragma once

// 1 on Windows NT, 2000, XP and later; 0 on Windows 95, 98 and Me.
int IsNtFamily(void);

// 1 on Windows 2000 and later, which have message-only windows (a window
// whose parent is HWND_MESSAGE); 0 on Windows 95, 98, Me and NT 4.0.
int HasMessageOnlyWindows(void);

// The function name of a loaded system library module, NULL when either is
// missing; the caller casts it to its real type.
void* SystemFunction(const char* module, const char* name);
