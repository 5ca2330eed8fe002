// The install worker: a thread that places the payload and registers the IME.
#pragma once

#include <windows.h>
#include <stdint.h>

// Thread start routine; raises busy as its first step and lowers it at its end.
DWORD WINAPI RunInstall(LPVOID unused);

// Creates the Help and program folders and sets setupState.programDir.
void PrepareTargetDirs(void);

// Appends the NUL-terminated name at the start of memberBytes to folderPath,
// a kWorkPathSize buffer ending in "\", and writes memberBytes[nameLength,
// totalLength) to that file. Returns 0 when no path could be made.
int WriteMemberFile(char* folderPath, uint32_t nameLength, const uint8_t* memberBytes, uint32_t totalLength);
