// Telling a file that another program holds from one refused for good, by
// the error that writing or deleting it gave.
#pragma once

#include <stdint.h>

// 1 when win32Error says another program holds the existing file at path: a
// sharing or lock violation, or access denied on a plain file (how Windows
// 9x refuses a file in use). A read-only file or a folder is refused for good.
int IsHeldFile(const char* path, uint32_t win32Error);
