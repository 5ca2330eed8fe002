// Files that another program holds: telling them from files refused for
// good, and the file beside one whose bytes wait to replace it.
#pragma once

#include <stdint.h>

// 1 when win32Error says another program holds the existing file at path: a
// sharing or lock violation, or access denied on a plain file (how Windows
// 9x refuses a file in use). A read-only file or a folder is refused for good.
int IsHeldFile(const char* path, uint32_t win32Error);

// The file beside target whose bytes wait to replace it at the next restart:
// target's path with ".new" appended. One name per target, so that a later
// run overwrites or deletes what an earlier one left waiting. Returns 0,
// leaving waiting empty, when that path does not fit capacity.
int WaitingFilePath(char* waiting, uint32_t capacity, const char* target);

// Takes out every replacement or deletion that an earlier run left pending
// for target, and deletes the waiting file beside it, so that the next
// restart can neither undo a newer write there nor bring back a removed file.
void CancelWaitingReplacement(const char* target);
