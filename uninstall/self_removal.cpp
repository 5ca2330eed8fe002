// How the kept uninstaller removes itself: moved out of the program folder
// on the NT family, deleted at the next restart on every family.
#include "uninstall/self_removal.h"

#include <windows.h>

#include "common/setup_log.h"
#include "common/setup_state.h"
#include "common/text.h"
#include "common/windows_family.h"
#include "product/product.h"
#include "restart/restart_ops.h"


int IsKeptUninstallerName(const char* name)
{
    return lstrcmpiA(name, QMX_KEPT_UNINSTALLER_NAME) == 0;
}

// Short forms compare whatever form Windows 9x gave the running program's
// path in; 0 when a path cannot be made or is not there.
static int SameFile(const char* one, const char* other)
{
    char shortOne[kWorkPathSize], shortOther[kWorkPathSize];
    DWORD lengthOne = GetShortPathNameA(one, shortOne, sizeof shortOne);
    DWORD lengthOther = GetShortPathNameA(other, shortOther, sizeof shortOther);
    return lengthOne && lengthOne < sizeof shortOne && lengthOther && lengthOther < sizeof shortOther &&
           lstrcmpiA(shortOne, shortOther) == 0;
}

// A fresh name in the temporary folder takes the running file; the restart
// deletes it there.
static int MoveToTemporaryFolder(const char* ownPath)
{
    char folder[kWorkPathSize], aside[kWorkPathSize];
    DWORD length = GetTempPathA(sizeof folder, folder);
    if (length == 0 || length >= sizeof folder || !GetTempFileNameA(folder, "qmx", 0, aside))
        return 0;
    DeleteFileA(aside);
    if (!MoveFileA(ownPath, aside))
        return 0;
    Log(DeleteAtRestart(aside) ? "uninstaller: moved to " : "uninstaller: moved, but not deleted at the restart, to ");
    Log(aside);
    EndLogLine();
    return 1;
}

int SetOwnFileAside(const char* keptPath)
{
    char ownPath[kWorkPathSize + 1];
    DWORD length = GetModuleFileNameA(NULL, ownPath, sizeof ownPath);
    if (length == 0 || length >= kWorkPathSize)
        return 0;
    ownPath[length] = 0;
    if (!SameFile(ownPath, keptPath))
        return 0;
    if (IsNtFamily() && MoveToTemporaryFolder(ownPath))
        return 0;
    Log(DeleteAtRestart(keptPath) ? "uninstaller: waits in its folder, deleted at the restart"
                                  : "uninstaller: stays in its folder");
    EndLogLine();
    return 1;
}
