// Registry texts that the user sees, written and read as Unicode on the NT
// family, where the A calls would pass them through the system's code page
// (GBK bytes become mojibake on a system whose code page is not 936).
#pragma once

#include <windows.h>

// RegQueryValueExW and RegSetValueExW, looked up at run time; where they are
// missing (Windows 95) each fails with ERROR_CALL_NOT_IMPLEMENTED.
LONG QueryValueW(HKEY key, const WCHAR* valueName, DWORD* type, BYTE* data, DWORD* size);
LONG SetValueW(HKEY key, const WCHAR* valueName, DWORD type, const BYTE* data, DWORD size);

// Sets valueName of key to text as REG_SZ, its NUL counted. Returns 1 when
// the value was written; 0 also where the W call is missing (Windows 9x).
int SetUnicodeText(HKEY key, const WCHAR* valueName, const WCHAR* text);

// Reads valueName of key as Unicode and gives it in GBK, ended with a NUL,
// in text, which holds size + 1 bytes. Returns 0 when the value is missing,
// not a text (REG_SZ or REG_EXPAND_SZ), longer than size bytes with its NUL
// (as an A query of size bytes), or not wholly GBK.
int ReadUnicodeTextAsGbk(HKEY key, const WCHAR* valueName, char* text, DWORD size);
