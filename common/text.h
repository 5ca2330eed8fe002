// Text in fixed buffers, without the C runtime.
#pragma once

#include <stdint.h>

uint32_t TextLength(const char* text);

// Copies or appends text only when it fits with its NUL in capacity bytes;
// returns 0 and leaves the destination as it was otherwise.
int CopyText(char* destination, uint32_t capacity, const char* text);
int AppendText(char* destination, uint32_t capacity, const char* text);

// The same for UTF-16 texts (the W calls' wchar_t), capacity in characters.
uint32_t TextLength(const wchar_t* text);
int CopyText(wchar_t* destination, uint32_t capacity, const wchar_t* text);
int AppendText(wchar_t* destination, uint32_t capacity, const wchar_t* text);

// Starts a path with a folder field. Returns 0, copying nothing, for a field
// that a failed lookup left empty, so that no path is ever built on the
// current folder or a drive root by accident.
int CopyFolder(char* destination, uint32_t capacity, const char* folder);

// Starts a path with the drive root of a folder ("C:\" of "C:\WINDOWS\"):
// its first three characters. Returns 0 for a folder shorter than that.
int CopyDriveRoot(char* destination, uint32_t capacity, const char* folder);
