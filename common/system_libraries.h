// The library search of the process and the two system libraries that the
// program loads itself rather than imports: COMCTL32 (the progress bar) and
// IMM32 (the IME hand-over). Windows looks for an imported library in the
// program's own folder before the System folder, and only a few "known"
// libraries are exempt, so these two come by full path from the System folder.
#pragma once

#include <windows.h>

// The first step of the entry: from here on the process takes libraries that
// it loads by name from the System folder only, where the kernel offers that,
// and else at least not from the current folder.
void RestrictLibrarySearch(void);

// Loads both libraries from the System folder and looks their functions up,
// on the first call only; 1 when everything was found. Never falls back to a
// copy elsewhere. The first call comes from the window thread before the
// install worker starts, so no two threads ever load at once. Unattended,
// COMCTL32 is only looked for: it is mapped as data and its code never runs.
int LoadSystemLibraries(void);

// The calls into the two libraries; each does nothing (and returns 0) when
// the libraries could not be loaded. The IME's path is in the system's code
// page, its layout text in GBK; the NT family keeps the text as Unicode.
void InitProgressBarClass(void);
HKL InstallImeFromSystem(const char* imePath, const char* layoutText);
