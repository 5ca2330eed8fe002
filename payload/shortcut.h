// Desktop shortcuts: a shell link file written through the shell's own COM object.
#pragma once

#include <windows.h>

// Writes linkPath (a whole path that fits MAX_PATH) as a shortcut to
// targetPath (in the system's code page), described by its own path.
// Returns 1 when it was saved; a failure leaves the shortcut missing.
int CreateShortcut(const char* targetPath, const WCHAR* linkPath);
