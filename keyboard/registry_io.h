// Reading and writing one text value of a named subkey; each call opens the
// subkey with full access and closes it before it returns.
#pragma once

#include <windows.h>

// Reads the value into text, which holds size + 1 bytes, and ends it with a
// NUL. Returns 0 when the subkey or value is missing or the data does not fit.
int ReadSubkeyText(HKEY parent, const char* name, const char* valueName, char* text, DWORD size);

// The same for a text the product compares in GBK: on the NT family, which
// keeps texts as Unicode, read as Unicode (wideValueName) and given in GBK
// whatever the system's code page; on Windows 9x as stored.
int ReadSubkeyGbkText(HKEY parent, const char* name, const char* valueName, const WCHAR* wideValueName, char* text,
                      DWORD size);

// Sets the subkey's default value as REG_SZ, its NUL counted in the length.
// Returns 1 when the value was written.
int WriteSubkeyText(HKEY parent, const char* name, const char* text);
