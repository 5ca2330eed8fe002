// The uninstall sequence: a fixed removal list, the layout entries and their
// preload entries, then, when nothing stays for good, the entry in the list
// of installed programs and the kept uninstaller it names, and the program's
// end. Every step runs whatever the earlier ones achieved; a file that
// another program holds is deleted at the next restart; what stayed and what
// waits are noted for the user and the unattended exit code.
#include "uninstall/uninstall.h"

#include "common/failed_files.h"
#include "common/setup_log.h"
#include "common/setup_state.h"
#include "common/system_libraries.h"
#include "common/text.h"
#include "common/windows_family.h"
#include "keyboard/keyboard.h"
#include "product/desktop_links.h"
#include "product/product.h"
#include "product/uninstall_entry.h"
#include "restart/held_file.h"
#include "restart/restart_ops.h"
#include "uninstall/file_protection.h"
#include "uninstall/self_removal.h"

enum RemovalAction {
    RemoveFolder,      // the folder's unprotected files, then the folder
    RemoveFile,
    ResetAndRemoveFile,  // attributes reset first, so a hidden or read-only file goes too
};

enum RemovalBase { BaseDriveRoot, BaseSystem, BaseWindows };

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
};

// Removed after the list, by the names they were made with.
static const ShownText* const kDesktopLinks[] = {&kHelpLinkName, &kTypingLinkName};

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

// A file that stays for good, noted for the user with why: the protection
// the user gave it shows in its attributes, otherwise the error says.
// shownPath is GBK where it came from a W call's path.
static RemovalResult LeaveBehind(const char* shownPath, DWORD attributes, DWORD error, int held, int gbkPath)
{
    FileFailure reason = IsProtectedByUser(attributes) ? FailureProtected : held ? FailureHeld : FailureOfError(error);
    if (gbkPath)
        NoteGbkFileFailure(shownPath, reason);
    else
        NoteFileFailure(shownPath, reason);
    return LogRemoval(shownPath, LeftBehind, error);
}

typedef BOOL(WINAPI* DeleteFileWFunction)(LPCWSTR);
typedef DWORD(WINAPI* GetFileAttributesWFunction)(LPCWSTR);

// The W calls, looked up at run time since Windows 95 may lack them; where
// missing, nothing is deleted and nothing is found.
static BOOL DeleteFileWide(const WCHAR* path)
{
    DeleteFileWFunction deleteFile = (DeleteFileWFunction)SystemFunction("KERNEL32.DLL", "DeleteFileW");
    return deleteFile && deleteFile(path);
}

static DWORD FileAttributesWide(const WCHAR* path)
{
    GetFileAttributesWFunction attributesOf =
        (GetFileAttributesWFunction)SystemFunction("KERNEL32.DLL", "GetFileAttributesW");
    return attributesOf ? attributesOf(path) : INVALID_FILE_ATTRIBUTES;
}

// Deletes the file at path, or, given widePath (a desktop link on the NT
// family), the file at widePath through the W calls, path then being its
// GBK form for the log and the user. The shell keeps no link open, so a link
// is never waited for.
static RemovalResult DeleteOrSchedule(const char* path, const WCHAR* widePath = NULL)
{
    if (!widePath)
        CancelWaitingReplacement(path);
    if (widePath ? DeleteFileWide(widePath) : DeleteFileA(path))
        return LogRemoval(path, Removed, 0);
    DWORD error = GetLastError();
    DWORD attributes = widePath ? FileAttributesWide(widePath) : GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return Removed;  // never there
    int held = !widePath && IsHeldFile(path, error);
    if (held && DeleteAtRestart(path))
        return LogRemoval(path, RemovedAtRestart, error);
    return LeaveBehind(path, attributes, error, held, widePath != NULL);
}

// A link goes by the name it was made with; Windows 9x's path is GBK, its
// own code page, and takes the A calls.
static RemovalResult RemoveDesktopLink(ShownText name)
{
    WCHAR path[kWorkPathSize];
    char shownPath[kWorkPathSize];
    if (!DesktopLinkPath(name, path))
        return Removed;  // no desktop folder, or no path fits: nothing of the product's
    DesktopLinkShownPath(name, path, shownPath);
    return DeleteOrSchedule(shownPath, IsNtFamily() ? path : NULL);
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

// A file the user protected, or a folder of the user's, stays; the user
// hears of it with its attributes.
static RemovalResult KeepProtected(const char* path, DWORD attributes)
{
    NoteFileFailure(path, FailureProtected);
    Log("remove ");
    Log(path);
    Log(": stays, protected by its attributes ");
    LogNumber(attributes);
    EndLogLine();
    return LeftBehind;
}

// The entry found in the folder at path[0, length), removed unless the
// user protected it; path is cut back to the folder afterwards.
static RemovalResult RemoveFolderEntry(char* path, uint32_t length, const WIN32_FIND_DATAA& entry)
{
    RemovalResult result = LeftBehind;
    if (!AppendText(path, kWorkPathSize, "\\") || !AppendText(path, kWorkPathSize, entry.cFileName))
        NoteFileFailure(entry.cFileName, FailureOther);
    else if (IsUnprotectedFile(entry.dwFileAttributes))
        result = DeleteOrSchedule(path);
    else
        result = KeepProtected(path, entry.dwFileAttributes);
    path[length] = 0;
    return result;
}

// Deletes the unprotected files directly in the folder named by path but
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
    if (search == INVALID_HANDLE_VALUE) {
        NoteFailedFile(path, GetLastError());
        return 0;
    }
    do {
        if (IsDotEntry(entry.cFileName))
            continue;
        if (IsKeptUninstallerName(entry.cFileName)) {
            left->uninstaller = 1;
            continue;
        }
        RemovalResult result = RemoveFolderEntry(path, length, entry);
        left->waiting |= result == RemovedAtRestart;
        left->staying |= result == LeftBehind;
    } while (FindNextFileA(search, &entry));
    FindClose(search);
    return 1;
}

// A folder that only holds files waiting for the restart is deleted at the
// restart, after them; one that only waits for the running uninstaller's own
// file asks for no restart. A folder that stays is noted for the user
// unless what stays in it was.
static RemovalResult RemoveClearedFolder(const char* path, int filesWait, int uninstallerWaits, int noteIfStays)
{
    if (RemoveDirectoryA(path))
        return LogRemoval(path, Removed, 0);
    DWORD error = GetLastError();
    if ((filesWait || uninstallerWaits) && DeleteAtRestart(path))
        return LogRemoval(path, filesWait ? RemovedAtRestart : RemovedWithUninstaller, error);
    if (noteIfStays)
        NoteFailedFile(path, error);
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
    return RemoveClearedFolder(path, left.waiting && !left.staying, 0, !left.staying);
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
    for (const ShownText* link : kDesktopLinks)
        tally.leftBehind |= RemoveDesktopLink(*link) == LeftBehind;
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
    result = RemoveClearedFolder(folder, programFilesWait || result == RemovedAtRestart, uninstallerWaits, 1);
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
    char entryPath[kWorkPathSize];
    if (!entryRemoved && CopyText(entryPath, sizeof entryPath, "HKLM\\") &&
        AppendText(entryPath, sizeof entryPath, kUninstallKeyPath))
        NoteFileFailure(entryPath, FailureNoAccess);
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
    setupState.failedFileCount = 0;
    Log("uninstall");
    EndLogLine();
    RemovalTally removal = RemoveInstalledFiles();
    int layoutsRemoved = RemoveProductLayouts();
    if (removal.imeStays)
        ReinstallRemainingIme();
    Log(layoutsRemoved ? "keyboard layouts: every entry of the product removed" : "keyboard layouts: an entry stays");
    EndLogLine();
    setupState.layoutStays = !layoutsRemoved;
    int complete = !removal.leftBehind && layoutsRemoved;
    if (complete)
        complete = RemoveEntryAndUninstaller(removal.programFilesWait);
    else
        KeepEntryAndUninstaller();
    setupState.workLeftUndone = !complete;
    SendMessageA(window, kWorkDoneMessage, 1, 0);
    SendMessageA(window, WM_DESTROY, 0, 0);
}
