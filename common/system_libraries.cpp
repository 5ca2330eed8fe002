// Narrows the library search at the entry and loads COMCTL32 and IMM32 from
// the System folder by full path, their functions looked up once.
#include "common/system_libraries.h"

#include "common/text.h"

// LOAD_LIBRARY_SEARCH_SYSTEM32, newer than the headers this image builds with.
static const DWORD kSearchSystemFolderOnly = 0x00000800;

typedef BOOL(WINAPI* SetDefaultDllDirectoriesCall)(DWORD);
typedef BOOL(WINAPI* SetDllDirectoryCall)(LPCSTR);
typedef void(WINAPI* InitCommonControlsCall)(void);
typedef HKL(WINAPI* ImmInstallImeCall)(LPCSTR, LPCSTR);

static struct {
    int searchRestricted;  // the default library folders are the System folder alone
    int tried;
    int loaded;
    InitCommonControlsCall initCommonControls;
    ImmInstallImeCall immInstallIme;
} systemLibraries;

// GetProcAddress gives every function one type; the caller names the real one.
static void* FindFunction(HMODULE module, const char* name)
{
    return (void*)GetProcAddress(module, name);
}

// Both calls are looked up, so that the image still loads on systems that
// lack them: SetDefaultDllDirectories came with Windows 8 (and an update of
// Vista and 7), SetDllDirectoryA with XP SP1.
void RestrictLibrarySearch(void)
{
    HMODULE kernel = GetModuleHandleA("KERNEL32.DLL");
    SetDefaultDllDirectoriesCall setDefaultDirectories =
        (SetDefaultDllDirectoriesCall)FindFunction(kernel, "SetDefaultDllDirectories");
    if (setDefaultDirectories && setDefaultDirectories(kSearchSystemFolderOnly)) {
        systemLibraries.searchRestricted = 1;
        return;
    }
    SetDllDirectoryCall setDllDirectory = (SetDllDirectoryCall)FindFunction(kernel, "SetDllDirectoryA");
    if (setDllDirectory)
        setDllDirectory("");
}

// The libraries that the loaded one imports are looked for in the System
// folder alone where the search is restricted, else in the loaded library's
// folder (the System folder) first instead of the program's.
static HMODULE LoadFromSystemFolder(const char* fileName)
{
    char path[MAX_PATH];
    UINT length = GetSystemDirectoryA(path, sizeof path);
    if (length == 0 || length >= sizeof path || !AppendText(path, sizeof path, "\\") ||
        !AppendText(path, sizeof path, fileName))
        return NULL;
    return LoadLibraryExA(path, NULL, systemLibraries.searchRestricted ? 0 : LOAD_WITH_ALTERED_SEARCH_PATH);
}

int LoadSystemLibraries(void)
{
    if (systemLibraries.tried)
        return systemLibraries.loaded;
    systemLibraries.tried = 1;
    HMODULE commonControls = LoadFromSystemFolder("COMCTL32.DLL");
    HMODULE inputMethods = LoadFromSystemFolder("IMM32.DLL");
    if (!commonControls || !inputMethods)
        return 0;
    systemLibraries.initCommonControls =
        (InitCommonControlsCall)FindFunction(commonControls, "InitCommonControls");
    systemLibraries.immInstallIme = (ImmInstallImeCall)FindFunction(inputMethods, "ImmInstallIMEA");
    systemLibraries.loaded = systemLibraries.initCommonControls && systemLibraries.immInstallIme;
    return systemLibraries.loaded;
}

void InitProgressBarClass(void)
{
    if (LoadSystemLibraries())
        systemLibraries.initCommonControls();
}

HKL InstallImeFromSystem(const char* imePath, const char* layoutText)
{
    return LoadSystemLibraries() ? systemLibraries.immInstallIme(imePath, layoutText) : NULL;
}
