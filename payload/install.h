// The install worker: a thread that places the payload and registers the IME.
#pragma once

#include <windows.h>
#include <stdint.h>

#include "payload/container.h"

// Thread start routine; raises busy as its first step and lowers it at its
// end, after closing the program when it does. setupState.workLeftUndone
// stays 0 only when every member was written whole (or waits for the next
// restart), the IME handed over, its layout found and placed in a preload
// list. The other outcome fields of setupState say what went wrong.
DWORD WINAPI RunInstall(LPVOID unused);

// Creates the Help and program folders and sets setupState.programDir.
void PrepareTargetDirs(void);

// Reads size bytes at offset of the file; returns how many were read.
uint32_t ReadAt(HANDLE file, uint32_t offset, void* buffer, uint32_t size);

// The end of the container: the end of the file, or the one in front of a
// signature appended after packing. layout holds what the image's headers
// told (no image end when they could not be read).
uint32_t ReadContainerEnd(HANDLE file, uint32_t fileSize, ImageLayout* layout);
