// Registry reads and writes of one subkey's text value.
#include "keyboard/registry_io.h"

#include "common/wide_registry.h"
#include "common/windows_family.h"
#include "keyboard/registry_text.h"

int ReadSubkeyText(HKEY parent, const char* name, const char* valueName, char* text, DWORD size)
{
    HKEY key;
    if (RegOpenKeyExA(parent, name, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return 0;
    DWORD length = size;
    int read = RegQueryValueExA(key, valueName, NULL, NULL, (BYTE*)text, &length) == ERROR_SUCCESS &&
               EndValueText(text, length, size);
    RegCloseKey(key);
    return read;
}

int ReadSubkeyGbkText(HKEY parent, const char* name, const char* valueName, const WCHAR* wideValueName, char* text,
                      DWORD size)
{
    if (!IsNtFamily())
        return ReadSubkeyText(parent, name, valueName, text, size);
    HKEY key;
    if (RegOpenKeyExA(parent, name, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return 0;
    int read = ReadUnicodeTextAsGbk(key, wideValueName, text, size);
    RegCloseKey(key);
    return read;
}

int WriteSubkeyText(HKEY parent, const char* name, const char* text)
{
    HKEY key;
    if (RegOpenKeyExA(parent, name, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return 0;
    int written = RegSetValueExA(key, NULL, 0, REG_SZ, (const BYTE*)text, TextLength(text) + 1) == ERROR_SUCCESS;
    RegCloseKey(key);
    return written;
}
