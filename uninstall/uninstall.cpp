// The uninstall sequence: a fixed removal list, the layout entries and their
// preload entries, then, when nothing stays for good, the entry in the list
// of installed programs and the kept uninstaller it names, and the program's
// end. Every step runs whatever the earlier ones achieved; a file that
// another program holds is deleted at the next restart; what stayed and what
// waits are noted for the user and the unattended exit code.
#include "uninstall/uninstall.h"

#include "common/setup_log.h"
#include "common/setup_state.h"
#include "common/system_libraries.h"
#include "common/text.h"
#include "keyboard/keyboard.h"
#include "product/product.h"
#include "product/uninstall_entry.h"
#include "restart/held_file.h"
#include "restart/restart_ops.h"
#include "uninstall/self_removal.h"

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
    {BaseDriveRoot, QMX_PROGRAM_FOLDER, RemoveFolder, 0},
    {BaseSystem, QMX_IME_FILE_NAME, RemoveFile, 1},
    {BaseSystem, "qmx.mb", RemoveFile, 0},
    {BaseSystem, "qmxpin.mb", RemoveFile, 0},
    {BaseWindows, "Help\\qmx.hlp", RemoveFile, 0},
    {BaseWindows, "Help\\qmx.gid", ResetAndRemoveFile, 0},
    {BaseDesktop, "\\" QMX_HELP_LINK_NAME, RemoveFile, 0},
    {BaseDesktop, "\\" QMX_TYPING_LINK_NAME, RemoveFile, 0},
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

// What clearing a folder's files left in it.
struct FolderLeft {
    int waiting;      // a file deleted at the next restart
    int staying;      // a file that stays for good, or the folder could not be searched
    int uninstaller;  // the kept uninstaller, which goes last
};

// Deletes the archive-only files directly in the folder named by path but
// the kept uninstaller, noting in left what stays there; path is as given
// again afterwards. 0 when the folder cannot be searched.
static int ClearFiles(char* path, FolderLeft* left)
{
    uint32_t length = TextLength(path);
    if (!AppendText(path, kWorkPathSize, "\\*.*"))
        return 0;
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA(path, &entry);
    path[length] = 0;
    if (search == INVALID_HANDLE_VALUE)
        return 0;
    do {
        if (IsDotEntry(entry.cFileName))
            continue;
        if (IsKeptUninstallerName(entry.cFileName)) {
            left->uninstaller = 1;
            continue;
        }
        RemovalResult result = LeftBehind;
        if (entry.dwFileAttributes == FILE_ATTRIBUTE_ARCHIVE && AppendText(path, kWorkPathSize, "\\") &&
            AppendText(path, kWorkPathSize, entry.cFileName))
            result = DeleteOrSchedule(path);
        path[length] = 0;
        left->waiting |= result == RemovedAtRestart;
        left->staying |= result == LeftBehind;
    } while (FindNextFileA(search, &entry));
    FindClose(search);
    return 1;
}

// A folder that only holds files waiting for the restart is deleted at the
// restart, after them; one that only waits for the running uninstaller's own
// file asks for no restart.
static RemovalResult RemoveClearedFolder(const char* path, int filesWait, int uninstallerWaits)
{
    if (RemoveDirectoryA(path))
        return LogRemoval(path, Removed, 0);
    DWORD error = GetLastError();
    if ((filesWait || uninstallerWaits) && DeleteAtRestart(path))
        return LogRemoval(path, filesWait ? RemovedAtRestart : RemovedWithUninstaller, error);
    return LogRemoval(path, LeftBehind, error);
}

// A folder that holds the kept uninstaller stays for the end of the
// uninstall, which takes the uninstaller and then the folder away only when
// nothing else stays for good.
RemovalResult ClearFolder(char* path)
{
    FolderLeft left = {0, 0, 0};
    if (!ClearFiles(path, &left))
        return LeftBehind;
    if (left.uninstaller && !left.staying)
        return left.waiting ? RemovedAtRestart : Removed;
    return RemoveClearedFolder(path, left.waiting && !left.staying, 0);
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

// The path of appended on base, in a kWorkPathSize buffer; 0 when the base is
// missing or the path does not fit.
static int RemovalPath(char* path, RemovalBase base, const char* appended)
{
    return CopyBase(path, base) && AppendText(path, kWorkPathSize, appended);
}

// A path whose base is missing or that does not fit is skipped: it names
// nothing the install could have written.
static RemovalResult RemoveListed(const Removal& removal)
{
    char path[kWorkPathSize];
    if (!RemovalPath(path, removal.base, removal.appended))
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
    RemovalTally tally = {0, 0, 0};
    for (const Removal& removal : kRemovals) {
        RemovalResult result = RemoveListed(removal);
        setupState.restartNeeded |= result == RemovedAtRestart;
        tally.leftBehind |= result == LeftBehind;
        tally.imeStays |= result == LeftBehind && removal.isIme;
        tally.programFilesWait |= result == RemovedAtRestart && removal.action == RemoveFolder;
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

// The kept uninstaller, and after it the program folder that ClearFolder
// left for it. Run from there, the uninstaller sets its own file aside.
static RemovalResult RemoveKeptUninstaller(int programFilesWait)
{
    char folder[kWorkPathSize], kept[kWorkPathSize];
    if (!RemovalPath(folder, BaseDriveRoot, QMX_PROGRAM_FOLDER) || !CopyText(kept, sizeof kept, folder) ||
        !AppendText(kept, sizeof kept, "\\") || !AppendText(kept, sizeof kept, QMX_KEPT_UNINSTALLER_NAME) ||
        GetFileAttributesA(kept) == INVALID_FILE_ATTRIBUTES)
        return Removed;  // no uninstaller: ClearFolder took the folder
    int uninstallerWaits = SetOwnFileAside(kept);
    RemovalResult result = uninstallerWaits ? RemovedWithUninstaller : DeleteOrSchedule(kept);
    if (result == LeftBehind)
        return LeftBehind;
    result = RemoveClearedFolder(folder, programFilesWait || result == RemovedAtRestart, uninstallerWaits);
    setupState.restartNeeded |= result == RemovedAtRestart;
    return result;
}

// The way back in the list of installed programs goes only with the rest of
// the product; 1 when it has gone.
static int RemoveEntryAndUninstaller(int programFilesWait)
{
    int entryRemoved = RemoveUninstallEntry();
    Log(entryRemoved ? "uninstall entry removed: HKLM\\" : "uninstall entry stays: HKLM\\");
    Log(kUninstallKeyPath);
    EndLogLine();
    return entryRemoved && RemoveKeptUninstaller(programFilesWait) != LeftBehind;
}

// Whatever stays for good, the entry and the uninstaller it names stay
// usable, so that the user can try again from the list of installed
// programs.
static void KeepEntryAndUninstaller(void)
{
    Log("uninstall entry and uninstaller kept for another try: HKLM\\");
    Log(kUninstallKeyPath);
    EndLogLine();
}

void RunUninstall(HWND window)
{
    setupState.stopAnimation = 1;
    setupState.restartNeeded = 0;
    Log("uninstall");
    EndLogLine();
    RemovalTally removal = RemoveInstalledFiles();
    int layoutsRemoved = RemoveProductLayouts();
    if (removal.imeStays)
        ReinstallRemainingIme();
    Log(layoutsRemoved ? "keyboard layouts: every entry of the product removed" : "keyboard layouts: an entry stays");
    EndLogLine();
    int complete = !removal.leftBehind && layoutsRemoved;
    if (complete)
        complete = RemoveEntryAndUninstaller(removal.programFilesWait);
    else
        KeepEntryAndUninstaller();
    setupState.workLeftUndone = !complete;
    SendMessageA(window, kWorkDoneMessage, 1, 0);
    SendMessageA(window, WM_DESTROY, 0, 0);
}
