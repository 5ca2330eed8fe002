// The uninstall sequence: a fixed removal list, the layout entry and the
// preload entry, then the program's end. Every failure is silent and every
// step runs whatever the earlier ones achieved; what stayed is noted for the
// unattended exit code.
#include "uninstall/uninstall.h"

#include "common/setup_state.h"
#include "common/system_libraries.h"
#include "common/text.h"
#include "keyboard/keyboard.h"

enum RemovalAction {
    RemoveFolder,      // the folder's archive-only files, then the folder
    RemoveFile,
    ResetAndRemoveFile,  // attributes reset first, so a hidden or read-only file goes too
};

enum RemovalBase { BaseDriveRoot, BaseSystem, BaseWindows, BaseDesktop };

struct Removal {
    RemovalBase base;
    const char* appended;
    RemovalAction action;
};

static const Removal kRemovals[] = {
    {BaseDriveRoot, "Program Files\\qmx", RemoveFolder},
    {BaseSystem, "qmx.ime", RemoveFile},
    {BaseSystem, "qmx.mb", RemoveFile},
    {BaseSystem, "qmxpin.mb", RemoveFile},
    {BaseWindows, "Help\\qmx.hlp", RemoveFile},
    {BaseWindows, "Help\\qmx.gid", ResetAndRemoveFile},
    {BaseDesktop, "\\Qumo帮助.lnk", RemoveFile},
    {BaseDesktop, "\\Zubino.lnk", RemoveFile},
};

void ClearFolder(char* path)
{
    uint32_t length = TextLength(path);
    if (!AppendText(path, kWorkPathSize, "\\*.*"))
        return;
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA(path, &entry);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        if (entry.dwFileAttributes != FILE_ATTRIBUTE_ARCHIVE)
            continue;
        path[length + 1] = 0;
        if (AppendText(path, kWorkPathSize, entry.cFileName))
            DeleteFileA(path);
    } while (FindNextFileA(search, &entry));
    FindClose(search);
    path[length] = 0;
    RemoveDirectoryA(path);
}

// Copies the removal's base into path; 0 when there is none.
static int CopyBase(char* path, RemovalBase base)
{
    switch (base) {
    case BaseDriveRoot:
        return CopyDriveRoot(path, kWorkPathSize, setupState.windowsDir);
    case BaseSystem:
        return CopyFolder(path, kWorkPathSize, setupState.systemDir);
    case BaseWindows:
        return CopyFolder(path, kWorkPathSize, setupState.windowsDir);
    case BaseDesktop:
        return CopyFolder(path, kWorkPathSize, setupState.desktopDir);
    }
    return 0;
}

int RemoveInstalledFiles(void)
{
    int allGone = 1;
    char path[kWorkPathSize];
    for (const Removal& removal : kRemovals) {
        if (!CopyBase(path, removal.base) || !AppendText(path, sizeof path, removal.appended))
            continue;
        uint32_t length = TextLength(path);
        switch (removal.action) {
        case RemoveFolder:
            ClearFolder(path);
            path[length] = 0;  // the folder again, whatever ClearFolder appended
            break;
        case ResetAndRemoveFile:
            SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(path);
            break;
        case RemoveFile:
            DeleteFileA(path);
            break;
        }
        if (GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES)
            allGone = 0;
    }
    return allGone;
}

// Handing the IME over once more is only of use when its file is still
// there; for a deleted file a system that does not check (as Wine) would
// register a new layout entry that nothing removes.
static void ReinstallRemainingIme(void)
{
    char imePath[kWorkPathSize];
    if (CopyFolder(imePath, sizeof imePath, setupState.systemDir) &&
        AppendText(imePath, sizeof imePath, setupState.imeFileName) &&
        GetFileAttributesA(imePath) != INVALID_FILE_ATTRIBUTES)
        InstallImeFromSystem(imePath, setupState.layoutText);
}

void RunUninstall(HWND window)
{
    setupState.stopAnimation = 1;
    setupState.workLeftUndone = !RemoveInstalledFiles();
    FindLayoutEntry(0);
    ReorderPreload(0);
    ReinstallRemainingIme();
    SendMessageA(window, WM_DESTROY, 0, 0);
}
