// 64-bit Windows runs the program under WOW64, which shows it SysWOW64 as
// its System folder under the name system32. What waits for the restart is
// carried out by a 64-bit process that sees no such redirection, so a
// System-folder file is named there in its SysWOW64 spelling.
#pragma once

#include <stdint.h>

// Writes path into spelled (capacity bytes) with a leading systemDir
// replaced by wow64Dir; a path outside systemDir is copied as it is. The
// folders come without a trailing "\", as GetSystemDirectoryA and
// GetSystemWow64DirectoryA give them; names compare as Windows compares them.
// Returns 0, leaving spelled empty, when the result does not fit.
int SpellForWow64(const char* path, const char* systemDir, const char* wow64Dir, char* spelled, uint32_t capacity);
