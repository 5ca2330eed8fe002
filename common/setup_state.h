// The one process-wide record of the setup program, shared by every subsystem.
// All fields start zeroed; text fields are NUL-terminated GBK strings.
#pragma once

#include <stdint.h>

#include "common/log_line.h"
#include "common/picture_scale.h"

// The byte-level code also builds natively, where only the handle types are
// needed and never dereferenced.
#ifdef _WIN32
#include <windows.h>
#else
typedef struct HINSTANCE__* HINSTANCE;
typedef struct HWND__* HWND;
typedef struct HACCEL__* HACCEL;
typedef void* HANDLE;
#endif

enum {
    kFolderFieldSize = 200,  // windowsDir, systemDir, desktopDir, programDir
    kNameFieldSize = 52,     // layoutText, imeFileName
    kLayoutIdSize = 20,      // at most 19 characters and the NUL
    kWorkPathSize = 260,     // MAX_PATH: the paths the install worker, the shortcut
                             // writer and the uninstall build
    kMaxFailedFiles = 10,    // a container holds at most 10 members
};

// Why a file could not be written or removed, as the user is told.
enum FileFailure {
    FailureHeld,       // another program holds it, and no replacement or deletion could be scheduled
    FailureDiskFull,
    FailureNoAccess,   // refused: read-only, a folder in its place, no rights
    FailureOther,      // no path could be made for it, or any other error
    FailureProtected,  // the uninstall leaves it: read-only, hidden or system, or a folder
};

struct FailedFile {
    char path[kWorkPathSize];  // the file's full path, or its bare name when no path fit
    int failure;               // a FileFailure
    int gbkPath;               // the path is GBK (a W call's path), not in the system's code page
};

// Sent by the install worker and the uninstall to the main window when their
// work is done, before the program ends or the window is left open; wParam 1
// for the uninstall. The window thread tells the user what happened.
enum { kWorkDoneMessage = 0x8001 };  // WM_APP + 1

struct SetupState {
    HINSTANCE instance;
    HWND mainWindow;
    HWND installButton;
    HWND uninstallButton;
    int focusMarker;  // 's': keyboard route on the install button, 'd': on uninstall
    // The window as drawn for its design screen, in that screen's pixels,
    // and its layout units; pictureScale shows it on this screen.
    int windowWidth;
    int windowHeight;
    int unitX;
    int unitY;
    int contactX;
    PictureScale pictureScale;
    volatile int32_t busy;           // written by the install worker, read by the window thread
    volatile int32_t stopAnimation;  // polled by the animation thread
    HANDLE installThread;
    uint32_t installThreadId;
    HACCEL acceleratorTable;
    char windowsDir[kFolderFieldSize];  // ends in "\", empty when the lookup failed
    char systemDir[kFolderFieldSize];   // ends in "\", empty when the lookup failed
    char desktopDir[kFolderFieldSize];  // no trailing "\", empty when the lookup failed
    wchar_t desktopDirWide[kWorkPathSize];  // the same as Unicode on the NT family, empty on Windows 9x
    char programDir[kFolderFieldSize];
    char layoutText[kNameFieldSize];
    char imeFileName[kNameFieldSize];
    char layoutId[kLayoutIdSize];
    HWND progressBar;
    uint32_t progressCount;
    uint32_t progressLastStep;
    int unattended;      // started with /S: no window is shown and nothing waits for a user
    int workLeftUndone;  // the install or the uninstall did not complete: exit code 1 when unattended
    int restartNeeded;   // done, but something waits for the next restart: exit code 3010 when unattended
    int containerDamaged;  // the setup file's own container could not be read
    int imeNotPlaced;      // no IME handed over, its layout not found, or the preload list not rewritten
    int layoutStays;       // the uninstall could not delete a layout entry of the product or its preload entry
    int uninstallOnly;       // the kept uninstaller: the program file carries no container
    uint32_t installedBytes;  // bytes the install wrote, for the size its uninstall entry shows
    char logPath[kWorkPathSize];  // /LOG=FILE: the administrator's log; empty for none
    HANDLE logFile;               // the open log, 0 when there is none
    LogLine logLine;              // the log line being composed
    int failedFileCount;   // how many of failedFiles are filled
    FailedFile failedFiles[kMaxFailedFiles];
};

extern SetupState setupState;
