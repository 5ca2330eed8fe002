// The install worker: reads the payload container from the program's own
// file, held open so that nobody can change it meanwhile, checks the whole
// file against its checksum, creates the target folders, writes every member
// to its folder with its follow-up (shortcut, IME hand-over), shows a
// progress bar, and at the end places the new keyboard layout in the user's
// preload list.
// It notes what became of the install, for the user and the exit code.
#include "payload/install.h"

#include <objbase.h>

#include "common/memory.h"
#include "common/setup_log.h"
#include "common/setup_state.h"
#include "common/system_libraries.h"
#include "common/text.h"
#include "keyboard/keyboard.h"
#include "payload/container.h"
#include "payload/expand.h"
#include "payload/kept_uninstaller.h"
#include "payload/member_file.h"
#include "payload/own_file.h"
#include "payload/placement.h"
#include "payload/progress_bar.h"
#include "payload/shortcut.h"
#include "product/desktop_links.h"
#include "product/product.h"
#include "product/uninstall_entry.h"
#include "restart/restart_ops.h"

// What became of one member. A member deferred to the next restart counts
// as written.
enum MemberOutcome {
    MemberUnreadable,  // cut short, expanding past its limit or with a name that is no bare file name
    MemberLost,        // not written whole, or the IME not taken: no follow-up step
    MemberDone,        // written whole with its follow-up, or discarded by its extension
    MemberImeHanded,   // written whole and handed to the system as its IME
};

// What became of the container.
enum ContainerOutcome {
    ContainerAbandoned,  // the size table could not be allocated: the worker just ends
    ContainerDamaged,    // its trailer or a member could not be read: the setup file is damaged
    ContainerNoIme,      // read, but no IME was handed over
    ContainerPartial,    // read, the IME handed over, but a member was lost
    ContainerComplete,   // every member done and an IME handed over
};

// The folder is created when a search for it finds nothing.
static void CreateMissingFolder(const char* path)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(path, &found);
    if (search == INVALID_HANDLE_VALUE)
        CreateDirectoryA(path, NULL);
    else
        FindClose(search);
}

// programDir = drive root of windowsDir + "Program Files\qmx\". A folder
// field left empty by a failed lookup gives no folder and no programDir.
void PrepareTargetDirs(void)
{
    char helpPath[kFolderFieldSize];
    if (CopyFolder(helpPath, sizeof helpPath, setupState.windowsDir) &&
        AppendText(helpPath, sizeof helpPath, "Help"))
        CreateMissingFolder(helpPath);

    char* programDir = setupState.programDir;
    programDir[0] = 0;
    if (!CopyDriveRoot(programDir, kFolderFieldSize, setupState.windowsDir))
        return;
    AppendText(programDir, kFolderFieldSize, QMX_PROGRAMS_FOLDER);
    CreateMissingFolder(programDir);
    AppendText(programDir, kFolderFieldSize, "\\" QMX_PROGRAM_SUBFOLDER);
    CreateDirectoryA(programDir, NULL);
    CancelPendingFor(programDir);  // an uninstall's deletion, waiting for a restart
    AppendText(programDir, kFolderFieldSize, "\\");
}

// Windows' own ImmInstallIME reuses a layout entry that already names the
// file, where Wine's adds one more on every call, which no uninstall would
// find again; an entry that names the file is the hand-over.
static int HandOverIme(const char* path, const char* fileName)
{
    if (FindImeEntry(fileName)) {
        Log("IME: layout entry ");
        Log(setupState.layoutId);
        Log(" already names it");
        EndLogLine();
        return 1;
    }
    int handed = InstallImeFromSystem(path, setupState.layoutText) != 0;
    Log(handed ? "IME: handed to the system" : "IME: the system did not take it");
    EndLogLine();
    return handed;
}

// The log names the link as it is on disk, in GBK.
static void LinkOnDesktop(const char* targetPath, ShownText linkName)
{
    WCHAR linkPath[kWorkPathSize];
    char shownPath[kWorkPathSize];
    if (!DesktopLinkPath(linkName, linkPath))
        return;
    int saved = CreateShortcut(targetPath, linkPath);
    DesktopLinkShownPath(linkName, linkPath, shownPath);
    Log("shortcut ");
    Log(shownPath);
    Log(saved ? ": written" : ": not written");
    EndLogLine();
}

// Writes an expanded member to the folder its extension letter names, then
// takes the follow-up step with the file's full path.
static MemberOutcome PlaceExpandedMember(const uint8_t* output, uint32_t outLength)
{
    uint32_t nameLength = MemberNameLength(output, outLength);
    if (!IsBareFileName(output, nameLength))
        return MemberUnreadable;
    MemberPlace place = PlaceByLetter(output[FindExtension(output, nameLength)]);
    if (place == PlaceNowhere)
        return MemberDone;
    const char* folder = place == PlaceProgram || place == PlaceProgramLinked ? setupState.programDir
                         : place == PlaceSystem || place == PlaceSystemIme    ? setupState.systemDir
                                                                              : setupState.windowsDir;
    char path[kWorkPathSize];
    if (!CopyFolder(path, sizeof path, folder))
        return MemberLost;
    if (place == PlaceHelpLinked && !AppendText(path, sizeof path, "Help\\"))
        return MemberLost;
    if (!WriteMemberFile(path, nameLength, output, outLength))
        return MemberLost;
    if (place == PlaceProgramLinked)
        LinkOnDesktop(path, kTypingLinkName);
    else if (place == PlaceHelpLinked)
        LinkOnDesktop(path, kHelpLinkName);
    else if (place == PlaceSystemIme)
        return HandOverIme(path, (const char*)output) ? MemberImeHanded : MemberLost;
    return MemberDone;
}

// One slot more than four times the member shows an expansion that breaks
// the container's limit; such a member is skipped.
static MemberOutcome InstallCompressedMember(const uint8_t* member, uint32_t length)
{
    if (length > (0xFFFFFFFFu - 1) / kMaxExpansion)
        return MemberUnreadable;
    uint32_t limit = kMaxExpansion * length;
    uint8_t* output = (uint8_t*)AllocateBytes(limit + 1);
    if (!output)
        return MemberLost;
    uint32_t outLength = ExpandMember(member, length, output, limit + 1);
    MemberOutcome outcome = outLength <= limit ? PlaceExpandedMember(output, outLength) : MemberUnreadable;
    FreeBytes(output);
    return outcome;
}

// Stored members land in the program folder and have no follow-up.
static MemberOutcome InstallStoredMember(const uint8_t* member, uint32_t length)
{
    uint32_t nameLength = MemberNameLength(member, length);
    if (!IsBareFileName(member, nameLength))
        return MemberUnreadable;
    char path[kWorkPathSize];
    if (CopyFolder(path, sizeof path, setupState.programDir) && WriteMemberFile(path, nameLength, member, length))
        return MemberDone;
    return MemberLost;
}

// A member that cannot be read whole is not written at all.
static MemberOutcome InstallMember(HANDLE ownFile, uint32_t offset, uint32_t size)
{
    uint8_t* member = (uint8_t*)AllocateBytes(size ? size : 1);
    if (!member)
        return MemberLost;
    MemberOutcome outcome = MemberUnreadable;
    if (ReadAt(ownFile, offset, member, size) == size)
        outcome = IsStoredMember(member, size) ? InstallStoredMember(member, size)
                                               : InstallCompressedMember(member, size);
    FreeBytes(member);
    if (outcome == MemberUnreadable) {
        Log("member at offset ");
        LogNumber(offset);
        Log(": damaged, not written");
        EndLogLine();
    }
    return outcome;
}

// Walks the members in table order; the progress count is brought up to the
// container bytes handled so far after each one, and the bar to the steps.
// Then the image in front of them becomes the kept uninstaller, its path
// left in uninstallerPath; without it the install is not complete. An empty
// container keeps none.
static ContainerOutcome InstallMembers(HANDLE ownFile, uint32_t containerEnd, uint32_t memberCount,
                                       const uint8_t* sizeTable, char* uninstallerPath)
{
    uint32_t offset;
    if (!LocateFirstMember(containerEnd, memberCount, sizeTable, &offset))
        return ContainerDamaged;
    uint32_t imageSize = offset;
    uint32_t runningTotal = 0;
    int unreadable = 0, lost = 0, imeHanded = 0;
    for (uint32_t k = 0; k < memberCount; k++) {
        uint32_t size = ReadLe32(sizeTable + kSizeFieldSize * k);
        runningTotal += size;
        MemberOutcome outcome = InstallMember(ownFile, offset, size);
        unreadable |= outcome == MemberUnreadable;
        lost |= outcome == MemberLost;
        imeHanded |= outcome == MemberImeHanded;
        offset += size;
        if (setupState.progressCount < runningTotal)
            setupState.progressCount = runningTotal;
        ShowProgressSoFar();
    }
    if (unreadable)
        return ContainerDamaged;
    if (memberCount)  // nothing installed, nothing to uninstall
        lost |= !KeepUninstaller(ownFile, imageSize, uninstallerPath);
    if (!imeHanded)
        return ContainerNoIme;
    return lost ? ContainerPartial : ContainerComplete;
}

// Reads the container's trailer and installs its members under a progress
// bar, which the caller removes.
static ContainerOutcome InstallContainer(HANDLE ownFile, char* uninstallerPath)
{
    uint32_t fileSize = GetFileSize(ownFile, NULL);
    if (fileSize == INVALID_FILE_SIZE)
        return ContainerDamaged;
    ImageLayout layout;
    uint32_t end = ReadContainerEnd(ownFile, fileSize, &layout);
    uint8_t countField[kCountFieldSize];
    uint32_t tableOffset;
    if (ReadAt(ownFile, end - kCountFieldSize, countField, kCountFieldSize) != kCountFieldSize)
        return ContainerDamaged;
    uint32_t memberCount = ReadLe16(countField);
    if (!LocateSizeTable(end, memberCount, &tableOffset))
        return ContainerDamaged;  // more than 10 members: nothing is read, no bar is shown

    uint8_t* sizeTable = (uint8_t*)AllocateBytes(kSizeFieldSize * memberCount + 1);
    if (!sizeTable)
        return ContainerAbandoned;
    uint32_t tableSize = kSizeFieldSize * memberCount;
    uint32_t sum = 0;
    ContainerOutcome outcome = ContainerDamaged;
    if (ReadAt(ownFile, tableOffset, sizeTable, tableSize) == tableSize) {
        for (uint32_t k = 0; k < memberCount; k++)
            sum += ReadLe32(sizeTable + kSizeFieldSize * k);
        setupState.progressBar = CreateProgressBar(sum);
        setupState.progressCount = 0;
        outcome = InstallMembers(ownFile, end, memberCount, sizeTable, uninstallerPath);
    }
    FreeBytes(sizeTable);
    return outcome;
}

// Nothing is written for a file whose bytes are not the packer's.
static ContainerOutcome RefuseDamagedFile(void)
{
    Log("setup file: its bytes do not match its checksum: damaged, nothing installed");
    EndLogLine();
    return ContainerDamaged;
}

// The folders are made once the file is known to be whole. COM stays
// initialised while the members are placed: each shortcut's own CoInitialize
// and CoUninitialize then only count, and the thread's apartment is built
// once rather than once per shortcut.
static ContainerOutcome InstallIntactFile(HANDLE ownFile, char* uninstallerPath)
{
    PrepareTargetDirs();
    HRESULT com = CoInitialize(NULL);
    ContainerOutcome outcome = InstallContainer(ownFile, uninstallerPath);
    if (SUCCEEDED(com))
        CoUninitialize();
    return outcome;
}

// The window closes before busy goes down: a command handled in between
// would start a second worker, or an uninstall of what was just installed.
static void EndWorker(int closeProgram)
{
    if (closeProgram)
        SendMessageA(setupState.mainWindow, WM_DESTROY, 0, 0);
    CloseHandle(setupState.installThread);
    setupState.installThread = 0;
    setupState.installThreadId = 0;
    setupState.busy = 0;
}

// The outcome fields start as for an install that did not get far.
static void StartOutcome(void)
{
    setupState.workLeftUndone = 1;
    setupState.restartNeeded = 0;
    setupState.containerDamaged = 0;
    setupState.imeNotPlaced = 0;
    setupState.failedFileCount = 0;
    setupState.installedBytes = 0;
}

// The user hears of the outcome on the window thread, while busy keeps the
// window's commands off.
static void ReportOutcome(void)
{
    if (!setupState.unattended)
        SendMessageA(setupState.mainWindow, kWorkDoneMessage, 0, 0);
}

// The product's layout is looked up and moved in the preload list.
static int PlaceLayout(void)
{
    int found = FindLayoutEntry();
    Log(found ? "keyboard layout: " : "keyboard layout: none carries the product's layout text");
    Log(setupState.layoutId);
    EndLogLine();
    if (!found)
        return 0;
    LogPreloadList("preload list before: ");
    int placed = ReorderPreload(1);
    LogPreloadList(placed ? "preload list after: " : "preload list not rewritten: ");
    return placed;
}

// The layout of a container that was read is looked up and placed in the
// preload list. A complete install closes the program; one that could not
// complete leaves the window open for the user to try again, or, unattended,
// ends the program with exit code 1.
DWORD WINAPI RunInstall(LPVOID)
{
    setupState.busy = 1;
    StartOutcome();
    Log("install");
    EndLogLine();
    // The file is open, and checked, before any folder is made: without it,
    // or with a damaged one, nothing is done.
    HANDLE ownFile = OpenOwnFile();
    ContainerOutcome outcome = ContainerAbandoned;
    char uninstallerPath[kWorkPathSize];
    if (ownFile != INVALID_HANDLE_VALUE) {
        outcome = OwnFileIsIntact(ownFile) ? InstallIntactFile(ownFile, uninstallerPath) : RefuseDamagedFile();
        CloseHandle(ownFile);
    }
    if (setupState.progressBar) {
        DestroyWindow(setupState.progressBar);
        setupState.progressBar = 0;
    }
    int containerRead = outcome != ContainerAbandoned && outcome != ContainerDamaged;
    int placed = containerRead && PlaceLayout();
    setupState.containerDamaged = outcome == ContainerDamaged;
    setupState.imeNotPlaced = containerRead && (outcome == ContainerNoIme || !placed);
    setupState.workLeftUndone = outcome != ContainerComplete || !placed;
    if (!setupState.workLeftUndone) {
        Log(WriteUninstallEntry(uninstallerPath, setupState.installedBytes) ? "uninstall entry written: HKLM\\"
                                                                            : "uninstall entry not written: HKLM\\");
        Log(kUninstallKeyPath);
        EndLogLine();
    }
    int closeProgram = setupState.unattended || !setupState.workLeftUndone;
    if (closeProgram)
        setupState.stopAnimation = 1;
    ReportOutcome();
    EndWorker(closeProgram);
    return 0;
}
