// The guard against two setups at once: a named mutex, in the namespace of
// the whole machine where Windows has one, so that a user's copy also meets
// one that a deployment tool runs as SYSTEM.
#include "shell/single_setup.h"

#include <windows.h>

#include "common/windows_family.h"
#include "product/product.h"
#include "shell/main_window.h"

// "Global\" is the machine's namespace on Windows 2000 and later, with or
// without Terminal Services; Windows 9x and NT 4.0 have only one namespace
// and may refuse the backslash.
static HANDLE CreateGuard(void)
{
    if (!HasMessageOnlyWindows())  // before Windows 2000
        return CreateMutexA(NULL, FALSE, QMX_SINGLE_SETUP_MUTEX);
    return CreateMutexA(NULL, FALSE, "Global\\" QMX_SINGLE_SETUP_MUTEX);
}

// The handle is never closed: the guard goes with the process. A mutex
// that another user's copy made (SYSTEM's) refuses this one access: that
// copy runs.
int TakeSingleSetupGuard(void)
{
    HANDLE guard = CreateGuard();
    if (!guard)
        return GetLastError() != ERROR_ACCESS_DENIED;
    return GetLastError() != ERROR_ALREADY_EXISTS;
}

// An unattended copy's window is hidden and is never found.
void ShowRunningSetup(void)
{
    HWND running = FindWindowA(kMainWindowClass.gbk, NULL);
    if (!running)
        return;
    if (IsIconic(running))
        ShowWindow(running, SW_RESTORE);
    SetForegroundWindow(running);
}
