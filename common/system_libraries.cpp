// Narrows the library search at the entry and loads COMCTL32 and IMM32 from
// the System folder by full path, their functions looked up once.
#include "common/system_libraries.h"

#include "common/setup_state.h"
#include "common/shown_text.h"
#include "common/text.h"
#include "common/windows_family.h"

// LOAD_LIBRARY_SEARCH_SYSTEM32, newer than the headers this image builds with.
static const DWORD kSearchSystemFolderOnly = 0x00000800;

typedef BOOL(WINAPI* SetDefaultDllDirectoriesCall)(DWORD);
typedef BOOL(WINAPI* SetDllDirectoryCall)(LPCSTR);
typedef void(WINAPI* InitCommonControlsCall)(void);
typedef HKL(WINAPI* ImmInstallImeCall)(LPCSTR, LPCSTR);
typedef HKL(WINAPI* ImmInstallImeWideCall)(LPCWSTR, LPCWSTR);

static struct {
    int searchRestricted;  // the default library folders are the System folder alone
    int tried;
    int loaded;
    InitCommonControlsCall initCommonControls;
    ImmInstallImeCall immInstallIme;
    ImmInstallImeWideCall immInstallImeWide;  // the NT family's: the layout text kept as Unicode
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
static HMODULE LoadFromSystemFolder(const char* fileName, DWORD flags)
{
    char path[MAX_PATH];
    UINT length = GetSystemDirectoryA(path, sizeof path);
    if (length == 0 || length >= sizeof path || !AppendText(path, sizeof path, "\\") ||
        !AppendText(path, sizeof path, fileName))
        return NULL;
    return LoadLibraryExA(path, NULL, flags | (systemLibraries.searchRestricted ? 0 : LOAD_WITH_ALTERED_SEARCH_PATH));
}

// COMCTL32 from the System folder, with InitCommonControls looked up.
// Unattended no progress bar is made, so it only has to be there: it is
// mapped as data, and its start-up code, which under Wine registers two
// dozen window classes and starts the display driver, does not run.
static int FindCommonControls(void)
{
    if (!setupState.unattended) {
        HMODULE commonControls = LoadFromSystemFolder("COMCTL32.DLL", 0);
        systemLibraries.initCommonControls =
            commonControls ? (InitCommonControlsCall)FindFunction(commonControls, "InitCommonControls") : NULL;
        return systemLibraries.initCommonControls != NULL;
    }
    HMODULE mapped = LoadFromSystemFolder("COMCTL32.DLL", LOAD_LIBRARY_AS_DATAFILE);
    if (!mapped)
        return 0;
    FreeLibrary(mapped);
    return 1;
}

int LoadSystemLibraries(void)
{
    if (systemLibraries.tried)
        return systemLibraries.loaded;
    systemLibraries.tried = 1;
    int commonControlsFound = FindCommonControls();
    HMODULE inputMethods = LoadFromSystemFolder("IMM32.DLL", 0);
    if (!commonControlsFound || !inputMethods)
        return 0;
    systemLibraries.immInstallIme = (ImmInstallImeCall)FindFunction(inputMethods, "ImmInstallIMEA");
    systemLibraries.immInstallImeWide = (ImmInstallImeWideCall)FindFunction(inputMethods, "ImmInstallIMEW");
    systemLibraries.loaded = systemLibraries.immInstallIme && (systemLibraries.immInstallImeWide || !IsNtFamily());
    return systemLibraries.loaded;
}

void InitProgressBarClass(void)
{
    if (LoadSystemLibraries() && systemLibraries.initCommonControls)
        systemLibraries.initCommonControls();
}

// On the NT family the system keeps the layout text as Unicode, and the A call
// would take the GBK bytes through the system's code page: there the path
// goes over from that code page and the text from GBK.
HKL InstallImeFromSystem(const char* imePath, const char* layoutText)
{
    if (!LoadSystemLibraries())
        return NULL;
    if (!IsNtFamily())
        return systemLibraries.immInstallIme(imePath, layoutText);
    WCHAR widePath[MAX_PATH], wideText[MAX_PATH];
    if (!MultiByteToWideChar(CP_ACP, 0, imePath, -1, widePath, MAX_PATH) ||
        !MultiByteToWideChar(kGbkCodePage, 0, layoutText, -1, wideText, MAX_PATH))
        return NULL;
    return systemLibraries.immInstallImeWide(widePath, wideText);
}
