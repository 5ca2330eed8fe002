// The uninstall sequence: a fixed removal list, the layout entries and their
// preload entries, the entry in the list of installed programs, then the
// program's end. Every step runs whatever the
// earlier ones achieved; a file that another program holds is deleted at the
// next restart; what stayed and what waits are noted for the user and the
// unattended exit code.
#include "uninstall/uninstall.h"

#include "common/held_file.h"
#include "common/restart_ops.h"
#include "common/setup_log.h"
#include "common/setup_state.h"
#include "common/system_libraries.h"
#include "common/text.h"
#include "keyboard/keyboard.h"
#include "uninstall/self_removal.h"
#include "uninstall/uninstall_entry.h"

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
    int isIme;  // the module handed to the system
};

static const Removal kRemovals[] = {
    {BaseDriveRoot, "Program Files\\qmx", RemoveFolder, 0},
    {BaseSystem, "qmx.ime", RemoveFile, 1},
    {BaseSystem, "qmx.mb", RemoveFile, 0},
    {BaseSystem, "qmxpin.mb", RemoveFile, 0},
    {BaseWindows, "Help\\qmx.hlp", RemoveFile, 0},
    {BaseWindows, "Help\\qmx.gid", ResetAndRemoveFile, 0},
    {BaseDesktop, "\\Qumo帮助.lnk", RemoveFile, 0},
    {BaseDesktop, "\\Zubino.lnk", RemoveFile, 0},
};

// Indexed by RemovalResult.
static const char* const kRemovalTexts[] = {
    ": removed",
    ": deleted at the restart, error ",
    ": stays, error ",
    ": deleted at the restart with the uninstaller",
};

static RemovalResult LogRemoval(const char* path, RemovalResult result, DWORD error)
{
    Log("remove ");
    Log(path);
    Log(kRemovalTexts[result]);
    if (result == RemovedAtRestart || result == LeftBehind)
        LogNumber(error);
    EndLogLine();
    return result;
}

static RemovalResult DeleteOrSchedule(const char* path)
{
    CancelWaitingReplacement(path);
    if (DeleteFileA(path))
        return LogRemoval(path, Removed, 0);
    DWORD error = GetLastError();
    if (GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES)
        return Removed;  // never there
    return LogRemoval(path, IsHeldFile(path, error) && DeleteAtRestart(path) ? RemovedAtRestart : LeftBehind, error);
}

static int IsDotEntry(const char* name)
{
    return name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0));
}

// A folder that only held files is deleted at the next restart, after them;
// one that only waits for the running uninstaller's own file asks for no
// restart.
RemovalResult ClearFolder(char* path)
{
    uint32_t length = TextLength(path);
    if (!AppendText(path, kWorkPathSize, "\\*.*"))
        return LeftBehind;
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA(path, &entry);
    if (search == INVALID_HANDLE_VALUE)
        return LeftBehind;
    int waiting = 0, staying = 0, withUninstaller = 0;
    do {
        if (IsDotEntry(entry.cFileName))
            continue;
        if (setupState.uninstallerWaits && IsKeptUninstallerName(entry.cFileName)) {
            withUninstaller = 1;  // already waiting for the restart
            continue;
        }
        path[length + 1] = 0;
        RemovalResult result = LeftBehind;
        if (entry.dwFileAttributes == FILE_ATTRIBUTE_ARCHIVE && AppendText(path, kWorkPathSize, entry.cFileName))
            result = DeleteOrSchedule(path);
        waiting |= result == RemovedAtRestart;
        staying |= result == LeftBehind;
    } while (FindNextFileA(search, &entry));
    FindClose(search);
    path[length] = 0;
    if (RemoveDirectoryA(path))
        return LogRemoval(path, Removed, 0);
    DWORD error = GetLastError();
    if ((waiting || withUninstaller) && !staying && DeleteAtRestart(path))
        return LogRemoval(path, waiting ? RemovedAtRestart : RemovedWithUninstaller, error);
    return LogRemoval(path, LeftBehind, error);
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

// A path whose base is missing or that does not fit is skipped: it names
// nothing the install could have written.
static RemovalResult RemoveListed(const Removal& removal)
{
    char path[kWorkPathSize];
    if (!CopyBase(path, removal.base) || !AppendText(path, sizeof path, removal.appended))
        return Removed;
    switch (removal.action) {
    case RemoveFolder:
        if (GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES)
            return Removed;
        return ClearFolder(path);
    case ResetAndRemoveFile:
        SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL);
        return DeleteOrSchedule(path);
    case RemoveFile:
        break;
    }
    return DeleteOrSchedule(path);
}

RemovalTally RemoveInstalledFiles(void)
{
    RemovalTally tally = {0, 0};
    for (const Removal& removal : kRemovals) {
        RemovalResult result = RemoveListed(removal);
        setupState.restartNeeded |= result == RemovedAtRestart;
        tally.leftBehind |= result == LeftBehind;
        tally.imeStays |= result == LeftBehind && removal.isIme;
    }
    return tally;
}

// Handing the IME over once more is only of use when its file stays for
// good; for a deleted file, or one deleted at the next restart, a system
// that does not check (as Wine) would register a new layout entry that
// nothing removes.
static void ReinstallRemainingIme(void)
{
    char imePath[kWorkPathSize];
    if (CopyFolder(imePath, sizeof imePath, setupState.systemDir) &&
        AppendText(imePath, sizeof imePath, setupState.imeFileName))
        InstallImeFromSystem(imePath, setupState.layoutText);
}

void RunUninstall(HWND window)
{
    setupState.stopAnimation = 1;
    setupState.restartNeeded = 0;
    Log("uninstall");
    EndLogLine();
    setupState.uninstallerWaits = SetOwnFileAside();
    RemovalTally removal = RemoveInstalledFiles();
    int layoutsRemoved = RemoveProductLayouts();
    if (removal.imeStays)
        ReinstallRemainingIme();
    Log(layoutsRemoved ? "keyboard layouts: every entry of the product removed" : "keyboard layouts: an entry stays");
    EndLogLine();
    int entryRemoved = RemoveUninstallEntry();
    Log(entryRemoved ? "uninstall entry removed: HKLM\\" : "uninstall entry stays: HKLM\\");
    Log(kUninstallKeyPath);
    EndLogLine();
    setupState.workLeftUndone = removal.leftBehind || !layoutsRemoved || !entryRemoved;
    SendMessageA(window, kWorkDoneMessage, 1, 0);
    SendMessageA(window, WM_DESTROY, 0, 0);
}
