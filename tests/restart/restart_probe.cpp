// Drives the restart seam from the command line, one call per argument group,
// for the restart test under Wine:
//   restart_probe family                      prints "nt" or "9x"
//   restart_probe replace TEMPORARY TARGET    ReplaceAtRestart
//   restart_probe delete PATH                 DeleteAtRestart
//   restart_probe cancel PATH                 CancelPendingFor
//   restart_probe other-replace SOURCE TARGET another program's delayed move
//   restart_probe other-delete PATH           and delayed deletion (MoveFileExA)
//   restart_probe pending                     prints PendingFileRenameOperations,
//                                             one string a line, "-" for an empty one
// Exits 0 when every call reported success, 1 otherwise.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "common/windows_family.h"
#include "restart/restart_ops.h"

static int PrintPending()
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Session Manager", 0, KEY_READ,
                      &key) != ERROR_SUCCESS)
        return 0;
    static WCHAR units[32768];
    DWORD size = sizeof units - sizeof(WCHAR);
    DWORD type = 0;
    LONG status = RegQueryValueExW(key, L"PendingFileRenameOperations", NULL, &type, (BYTE*)units, &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS)
        return 1;  // nothing pending
    for (DWORD start = 0; start < size / sizeof(WCHAR);) {
        char line[MAX_PATH * 2];
        int length = WideCharToMultiByte(CP_ACP, 0, units + start, -1, line, sizeof line, NULL, NULL);
        if (length <= 0)
            return 0;
        printf("%s\n", length == 1 ? "-" : line);
        start += (DWORD)wcslen(units + start) + 1;
    }
    return type == REG_MULTI_SZ;
}

int main(int argc, char** argv)
{
    int ok = 1;
    for (int i = 1; i < argc; ++i) {
        const char* command = argv[i];
        if (!strcmp(command, "family")) {
            printf("%s\n", IsNtFamily() ? "nt" : "9x");
        } else if (!strcmp(command, "replace") && i + 2 < argc) {
            ok &= ReplaceAtRestart(argv[i + 1], argv[i + 2]);
            i += 2;
        } else if (!strcmp(command, "delete") && i + 1 < argc) {
            ok &= DeleteAtRestart(argv[++i]);
        } else if (!strcmp(command, "cancel") && i + 1 < argc) {
            CancelPendingFor(argv[++i]);
        } else if (!strcmp(command, "other-replace") && i + 2 < argc) {
            ok &= MoveFileExA(argv[i + 1], argv[i + 2], MOVEFILE_REPLACE_EXISTING | MOVEFILE_DELAY_UNTIL_REBOOT);
            i += 2;
        } else if (!strcmp(command, "other-delete") && i + 1 < argc) {
            ok &= MoveFileExA(argv[++i], NULL, MOVEFILE_DELAY_UNTIL_REBOOT);
        } else if (!strcmp(command, "pending")) {
            ok &= PrintPending();
        } else {
            fprintf(stderr, "restart_probe: cannot read '%s'\n", command);
            return 2;
        }
    }
    fflush(stdout);
    return ok ? 0 : 1;
}
