// The install worker: a thread that places the payload and registers the IME.
#pragma once

#include <windows.h>
#include <stdint.h>

// Thread start routine; raises busy as its first step and lowers it at its
// end, after closing the program when it does. setupState.workLeftUndone
// stays 0 only when every member was written whole, the IME handed over and
// its layout found.
DWORD WINAPI RunInstall(LPVOID unused);

// Creates the Help and program folders and sets setupState.programDir.
void PrepareTargetDirs(void);

// Appends the NUL-terminated name at the start of memberBytes to folderPath,
// a kWorkPathSize buffer ending in "\", and writes memberBytes[nameLength,
// totalLength) to that file. Returns 1 when the file was written whole; 0
// when no path could be made, the file could not be created, or the write
// failed or fell short, in which case the file is deleted.
int WriteMemberFile(char* folderPath, uint32_t nameLength, const uint8_t* memberBytes, uint32_t totalLength);
