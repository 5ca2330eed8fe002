// The install worker's building blocks on Wine's real drive: member files,
// the target folders, and the refusals that keep a path from being cut or
// built on a folder field that a failed lookup left empty.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "common/setup_state.h"
#include "payload/install.h"
#include "payload/member_file.h"

namespace {

std::string TempFolder()
{
    char path[MAX_PATH];
    GetTempPathA(MAX_PATH, path);
    std::string folder = std::string(path) + "qmx-parts\\";
    CreateDirectoryA(folder.c_str(), NULL);
    return folder;
}

std::string ReadWhole(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return "(missing)";
    char bytes[256];
    DWORD got = 0;
    ReadFile(file, bytes, sizeof bytes, &got, NULL);
    CloseHandle(file);
    return std::string(bytes, got);
}

bool Exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

const uint8_t kMember[] = "x.wav\0RIFF-data";  // name, NUL, the file's bytes
const uint32_t kNameLength = 6;
const uint32_t kTotalLength = sizeof kMember - 1;

TEST(WriteMemberFile, WritesTheBytesBehindTheNameAndLeavesTheFullPath)
{
    std::string folder = TempFolder();
    char path[kWorkPathSize];
    lstrcpyA(path, folder.c_str());
    DeleteFileA((folder + "x.wav").c_str());
    EXPECT_EQ(MemberWritten, WriteMemberFile(path, kNameLength, kMember, kTotalLength));
    EXPECT_EQ(folder + "x.wav", path);
    EXPECT_EQ("RIFF-data", ReadWhole(path));
    EXPECT_EQ((DWORD)FILE_ATTRIBUTE_ARCHIVE, GetFileAttributesA(path));

    // An existing file is replaced.
    const uint8_t shorter[] = "x.wav\0new";
    lstrcpyA(path, folder.c_str());
    EXPECT_EQ(MemberWritten, WriteMemberFile(path, kNameLength, shorter, sizeof shorter - 1));
    EXPECT_EQ("new", ReadWhole(path));
    DeleteFileA(path);
}

TEST(WriteMemberFile, RefusesAnEmptyFolderAndAPathThatDoesNotFit)
{
    char empty[kWorkPathSize] = "";
    EXPECT_EQ(MemberNotWritten, WriteMemberFile(empty, kNameLength, kMember, kTotalLength));
    EXPECT_FALSE(Exists("x.wav")) << "written to the current folder";

    std::string folder = TempFolder();
    // With "x.wav" 261 characters: two past the 259 that MAX_PATH holds.
    std::string deep = folder + std::string(kWorkPathSize - 5 - folder.size(), 'd') + "\\";
    ASSERT_EQ(kWorkPathSize - 4u, deep.size());
    char path[kWorkPathSize];
    lstrcpyA(path, deep.c_str());
    EXPECT_EQ(MemberNotWritten, WriteMemberFile(path, kNameLength, kMember, kTotalLength));
    EXPECT_EQ(deep, path) << "the folder buffer is left as it was";
    EXPECT_FALSE(Exists(deep.substr(0, kWorkPathSize - 1))) << "a cut path was written";
}

// The file's bytes run into a page that cannot be read, so the write stops
// part-way; the file it had replaced is not left cut short. A folder in the
// file's place cannot be created over and stays as it is.
TEST(WriteMemberFile, LeavesNoFileCutShortAndReportsIt)
{
    setupState = SetupState();
    std::string folder = TempFolder();
    char path[kWorkPathSize];
    lstrcpyA(path, folder.c_str());
    ASSERT_EQ(MemberWritten, WriteMemberFile(path, kNameLength, kMember, kTotalLength));

    SYSTEM_INFO system;
    GetSystemInfo(&system);
    uint8_t* pages = (uint8_t*)VirtualAlloc(NULL, 2 * system.dwPageSize, MEM_COMMIT, PAGE_READWRITE);
    ASSERT_TRUE(pages != NULL);
    DWORD old;
    VirtualProtect(pages + system.dwPageSize, system.dwPageSize, PAGE_NOACCESS, &old);
    uint8_t* member = pages + system.dwPageSize - 1000;
    lstrcpyA((char*)member, "x.wav");
    lstrcpyA(path, folder.c_str());
    EXPECT_EQ(MemberNotWritten, WriteMemberFile(path, kNameLength, member, 5000));
    EXPECT_FALSE(Exists(path)) << "a cut file was left";
    VirtualFree(pages, 0, MEM_RELEASE);

    std::string taken = folder + "x.wav";
    CreateDirectoryA(taken.c_str(), NULL);
    lstrcpyA(path, folder.c_str());
    EXPECT_EQ(MemberNotWritten, WriteMemberFile(path, kNameLength, kMember, kTotalLength));
    EXPECT_EQ((DWORD)FILE_ATTRIBUTE_DIRECTORY, GetFileAttributesA(taken.c_str()) & FILE_ATTRIBUTE_DIRECTORY);
    RemoveDirectoryA(taken.c_str());
    // Both are named for the user: the folder in the way as refused access.
    ASSERT_EQ(2, setupState.failedFileCount);
    EXPECT_EQ(taken, setupState.failedFiles[0].path);
    EXPECT_EQ(taken, setupState.failedFiles[1].path);
    EXPECT_EQ(FailureNoAccess, setupState.failedFiles[1].failure);
    EXPECT_EQ(0, setupState.restartNeeded) << "a folder in the way is not held";
}

std::string PendingRenames()
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Session Manager", 0, KEY_READ,
                      &key) != ERROR_SUCCESS)
        return "";
    char data[8192];
    DWORD size = sizeof data;
    LONG status = RegQueryValueExA(key, "PendingFileRenameOperations", NULL, NULL, (BYTE*)data, &size);
    RegCloseKey(key);
    std::string pairs = status == ERROR_SUCCESS ? std::string(data, size) : "";
    for (char& c : pairs)
        c = c ? c : '|';
    return pairs;
}

// A file that another program holds (read sharing only, as a loaded module)
// is written whole beside it and swapped in at the next restart; the held
// file keeps its bytes until then. The test's machine is of the NT family.
// (Wine run as root writes over a read-only file, so the uninstall's test
// shows that one is not taken for held.)
TEST(WriteMemberFile, DefersAHeldFileToTheNextRestart)
{
    setupState = SetupState();
    std::string folder = TempFolder();
    std::string target = folder + "x.wav";
    char path[kWorkPathSize];
    lstrcpyA(path, folder.c_str());
    ASSERT_EQ(MemberWritten, WriteMemberFile(path, kNameLength, kMember, kTotalLength));
    HANDLE holder = CreateFileA(target.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, holder);

    const uint8_t newer[] = "x.wav\0newer";
    lstrcpyA(path, folder.c_str());
    EXPECT_EQ(MemberDeferred, WriteMemberFile(path, kNameLength, newer, sizeof newer - 1));
    EXPECT_EQ(target, path) << "the follow-up steps get the target's path";
    CloseHandle(holder);
    EXPECT_EQ("RIFF-data", ReadWhole(target));
    std::string waiting = target + ".new";
    EXPECT_EQ("newer", ReadWhole(waiting));
    EXPECT_EQ(1, setupState.restartNeeded);
    EXPECT_EQ(0, setupState.failedFileCount);
    std::string pending = PendingRenames();
    EXPECT_NE(std::string::npos, pending.find(waiting + "|!\\??\\" + target)) << pending;

    // A later write takes out what waits for that file, and the waiting file.
    lstrcpyA(path, folder.c_str());
    EXPECT_EQ(MemberWritten, WriteMemberFile(path, kNameLength, kMember, kTotalLength));
    EXPECT_EQ(std::string::npos, PendingRenames().find(target)) << PendingRenames();
    EXPECT_FALSE(Exists(waiting));

    DeleteFileA(target.c_str());
}

TEST(PrepareTargetDirs, BuildsTheProgramFolderOnTheWindowsDrive)
{
    setupState = SetupState();
    std::string windows = TempFolder() + "win\\";
    CreateDirectoryA(windows.c_str(), NULL);
    lstrcpyA(setupState.windowsDir, windows.c_str());
    bool hadProgramFiles = Exists(windows.substr(0, 3) + "Program Files\\qmx");
    PrepareTargetDirs();
    EXPECT_EQ(windows.substr(0, 3) + "Program Files\\qmx\\", setupState.programDir);
    EXPECT_TRUE(Exists(windows + "Help"));
    EXPECT_TRUE(Exists(setupState.programDir));
    RemoveDirectoryA((windows + "Help").c_str());
    if (!hadProgramFiles)
        RemoveDirectoryA((windows.substr(0, 3) + "Program Files\\qmx").c_str());
}

TEST(PrepareTargetDirs, MakesNothingFromAnEmptyWindowsFolder)
{
    setupState = SetupState();
    lstrcpyA(setupState.programDir, "stale");
    PrepareTargetDirs();
    EXPECT_STREQ("", setupState.programDir);
    EXPECT_FALSE(Exists("Help"));
    EXPECT_FALSE(Exists("Program Files"));
}

LONG busyAtDestroy = -1;

LRESULT CALLBACK RecordingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY && busyAtDestroy == -1) {
        busyAtDestroy = setupState.busy;  // the first one: the worker's
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// An unattended install that cannot complete (this test program carries no
// container, and no layout has the text) ends the program, and it does so
// while busy still keeps the window's commands off; only then does the worker
// close its own handle, which it finds stored.
TEST(RunInstall, ClosesTheProgramBeforeLoweringBusy)
{
    setupState = SetupState();
    setupState.unattended = 1;
    lstrcpyA(setupState.layoutText, "no layout has this text");
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = RecordingProcedure;
    windowClass.hInstance = GetModuleHandleA(NULL);
    windowClass.lpszClassName = "RecordingWindow";
    RegisterClassA(&windowClass);
    setupState.mainWindow = CreateWindowExA(0, "RecordingWindow", "", WS_POPUP, 0, 0, 10, 10, NULL, NULL,
                                            windowClass.hInstance, NULL);
    ASSERT_TRUE(setupState.mainWindow != NULL);

    HANDLE worker = CreateThread(NULL, 0, RunInstall, NULL, CREATE_SUSPENDED, NULL);
    HANDLE watched;
    DuplicateHandle(GetCurrentProcess(), worker, GetCurrentProcess(), &watched, SYNCHRONIZE, FALSE, 0);
    setupState.installThread = worker;
    ResumeThread(worker);
    // The worker's WM_DESTROY is a sent message: it is handled here while waiting.
    while (MsgWaitForMultipleObjects(1, &watched, FALSE, 30000, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) {
        MSG message;
        while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE))
            DispatchMessageA(&message);
    }
    CloseHandle(watched);
    DestroyWindow(setupState.mainWindow);
    EXPECT_EQ(1, busyAtDestroy);
    EXPECT_EQ(0, setupState.busy);
    EXPECT_EQ(1, setupState.workLeftUndone);
    EXPECT_TRUE(setupState.installThread == NULL) << "the handle was closed";
}

}  // namespace
