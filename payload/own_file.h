// The running program's own file: the setup file with its container behind
// the image, or the kept uninstaller, which is the image alone.
#pragma once

#include <windows.h>
#include <stdint.h>

#include "payload/container.h"

// Opens the running program's own file for reading, sharing it for reading
// only: while the handle is open nobody can write, rename or delete the file
// (nor can anyone write a running image at all), so every byte the install
// reads comes from the file that was started. INVALID_HANDLE_VALUE when its
// path does not fit MAX_PATH or it cannot be opened.
HANDLE OpenOwnFile(void);

// Reads size bytes at offset of the file; returns how many were read.
uint32_t ReadAt(HANDLE file, uint32_t offset, void* buffer, uint32_t size);

// The end of the container: the end of the file, or the one in front of a
// signature appended after packing. layout holds what the image's headers
// told (no image end when they could not be read).
uint32_t ReadContainerEnd(HANDLE file, uint32_t fileSize, ImageLayout* layout);

// 1 when the file's bytes up to the container's end match the checksum that
// the packer put in the running image's slot, or when the packer left the
// slot empty; 0 when they differ or the file cannot be read whole.
int OwnFileIsIntact(HANDLE file);

// 0 when the running program's file is its image alone, as the kept
// uninstaller is; 1 when a container follows, or the file cannot be read.
int OwnFileHasContainer(void);
