// The install worker. It keeps the busy protocol that the window relies on.
#include "payload/install.h"

#include "shell/setup_state.h"

DWORD WINAPI RunInstall(LPVOID)
{
    setupState.busy = 1;
    CloseHandle(setupState.installThread);
    setupState.installThread = 0;
    setupState.installThreadId = 0;
    setupState.busy = 0;
    return 0;
}
