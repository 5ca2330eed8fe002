// Text in fixed buffers, without the C runtime.
#pragma once

#include <stdint.h>

// Char is char (GBK or the system's code page) or wchar_t (UTF-16 for the W
// calls); capacity counts Chars.
template <typename Char>
uint32_t TextLength(const Char* text);

// Copies or appends text only when it fits with its NUL in capacity Chars;
// returns 0 and leaves the destination as it was otherwise.
template <typename Char>
int CopyText(Char* destination, uint32_t capacity, const Char* text);
template <typename Char>
int AppendText(Char* destination, uint32_t capacity, const Char* text);

// Starts a path with a folder field. Returns 0, copying nothing, for a field
// that a failed lookup left empty, so that no path is ever built on the
// current folder or a drive root by accident.
int CopyFolder(char* destination, uint32_t capacity, const char* folder);

// Starts a path with the drive root of a folder ("C:\" of "C:\WINDOWS\"):
// its first three characters. Returns 0 for a folder shorter than that.
int CopyDriveRoot(char* destination, uint32_t capacity, const char* folder);
