// The install worker: a thread that places the payload and registers the IME.
#pragma once

#include <windows.h>

// Thread start routine; raises busy as its first step and lowers it at its
// end, after closing the program when it does. setupState.workLeftUndone
// stays 0 only when every member was written whole (or waits for the next
// restart), the IME handed over, its layout found and placed in a preload
// list. The other outcome fields of setupState say what went wrong.
DWORD WINAPI RunInstall(LPVOID unused);

// Creates the Help and program folders and sets setupState.programDir.
void PrepareTargetDirs(void);
