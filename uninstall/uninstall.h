// The uninstall sequence, run on the window thread.
#pragma once

#include <windows.h>

// Removes the installed files, the layout entries and their preload entries,
// then, only when none of them stays for good, the uninstall entry, the kept
// uninstaller and the program folder; tells the window what happened
// (kWorkDoneMessage), then ends the program by sending WM_DESTROY to the
// given window.
void RunUninstall(HWND window);

enum RemovalResult {
    Removed,           // gone, or never there
    RemovedAtRestart,  // held by another program: deleted at the next restart
    LeftBehind,        // stays for good
    RemovedWithUninstaller,  // deleted at the next restart with the running kept uninstaller
};

struct RemovalTally {
    int leftBehind;  // something on the list stays for good
    int imeStays;    // among it the IME module
    int programFilesWait;  // a file in the program folder waits for the next restart
};

// Works the fixed removal list, then the desktop links by the names they
// were made with; a path that cannot be built is skipped. A file that
// another program holds, and after it the program folder, are deleted at the
// next restart, which raises setupState.restartNeeded. The kept uninstaller,
// and the program folder that holds it, stay. What stays for good is noted
// in setupState.failedFiles with why.
RemovalTally RemoveInstalledFiles(void);

// Deletes the files directly in the folder named by path (a kWorkPathSize
// buffer, no trailing "\") that the user has not protected, then the folder
// itself; held files, and the folder when nothing else keeps it, at the next
// restart. Read-only, hidden and system files and subfolders stay and are
// noted. The kept uninstaller stays, and with it the folder.
RemovalResult ClearFolder(char* path);
