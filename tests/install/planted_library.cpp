// A library planted beside the setup program under a system library's name.
// Its start-up code leaves a marker file beside it, NAME.loaded, so a test
// sees whether any program in the folder loaded it. It exports nothing and
// links no C runtime, so it depends on nothing but the kernel.
#include <windows.h>

extern "C" BOOL WINAPI PlantedLibraryMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason != DLL_PROCESS_ATTACH)
        return TRUE;
    char marker[MAX_PATH + 8];
    DWORD length = GetModuleFileNameA(instance, marker, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return TRUE;
    lstrcpyA(marker + length, ".loaded");
    HANDLE file = CreateFileA(marker, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    return TRUE;
}
