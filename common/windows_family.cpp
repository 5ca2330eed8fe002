// The family of Windows and the run-time lookup of functions.
#include "common/windows_family.h"

#include <windows.h>

int IsNtFamily(void)
{
    return (GetVersion() & 0x80000000u) == 0;
}

int HasMessageOnlyWindows(void)
{
    return IsNtFamily() && LOBYTE(LOWORD(GetVersion())) >= 5;
}

void* SystemFunction(const char* module, const char* name)
{
    HMODULE handle = GetModuleHandleA(module);
    return handle ? (void*)GetProcAddress(handle, name) : NULL;
}
