// The W registry calls for texts the user sees, looked up at run time since
// Windows 95 may lack them.
#include "common/wide_registry.h"

#include "common/shown_text.h"
#include "common/text.h"
#include "common/windows_family.h"

typedef LONG(WINAPI* QueryValueWFunction)(HKEY, LPCWSTR, LPDWORD, LPDWORD, LPBYTE, LPDWORD);
typedef LONG(WINAPI* SetValueWFunction)(HKEY, LPCWSTR, DWORD, DWORD, const BYTE*, DWORD);

LONG QueryValueW(HKEY key, const WCHAR* valueName, DWORD* type, BYTE* data, DWORD* size)
{
    QueryValueWFunction queryValue = (QueryValueWFunction)SystemFunction("ADVAPI32.DLL", "RegQueryValueExW");
    return queryValue ? queryValue(key, valueName, NULL, type, data, size) : ERROR_CALL_NOT_IMPLEMENTED;
}

LONG SetValueW(HKEY key, const WCHAR* valueName, DWORD type, const BYTE* data, DWORD size)
{
    SetValueWFunction setValue = (SetValueWFunction)SystemFunction("ADVAPI32.DLL", "RegSetValueExW");
    return setValue ? setValue(key, valueName, 0, type, data, size) : ERROR_CALL_NOT_IMPLEMENTED;
}

int SetUnicodeText(HKEY key, const WCHAR* valueName, const WCHAR* text)
{
    return SetValueW(key, valueName, REG_SZ, (const BYTE*)text, (TextLength(text) + 1) * sizeof(WCHAR)) ==
           ERROR_SUCCESS;
}

// A text past the buffer's last unit fails the query; one without its own NUL
// gets one in the unit kept for it. As with the A query of size bytes, the
// GBK text must fit size bytes with its NUL.
int ReadUnicodeTextAsGbk(HKEY key, const WCHAR* valueName, char* text, DWORD size)
{
    enum { kLongestText = 260 };
    WCHAR wide[kLongestText + 1];
    DWORD type = 0, bytes = kLongestText * sizeof(WCHAR);
    if (QueryValueW(key, valueName, &type, (BYTE*)wide, &bytes) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return 0;
    wide[bytes / sizeof(WCHAR)] = 0;
    BOOL lossy = FALSE;
    int length = WideCharToMultiByte(kGbkCodePage, 0, wide, -1, text, (int)size, NULL, &lossy);
    return length > 0 && !lossy;
}
