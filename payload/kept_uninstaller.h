// The kept uninstaller: the program's own image without its container,
// written into the program folder so that the product can be removed after
// the downloaded setup is gone.
#pragma once

#include <windows.h>

#include <stdint.h>

// Writes the first imageSize bytes of the setup file open at ownFile to
// programDir under the kept uninstaller's name and leaves the file's full
// path in path (a kWorkPathSize buffer). Returns 1 when it was written, or
// waits beside a held file for the next restart.
int KeepUninstaller(HANDLE ownFile, uint32_t imageSize, char* path);
