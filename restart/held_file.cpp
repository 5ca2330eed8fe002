// Held files, told apart by the error and the file's attributes, and the
// name of the file that waits to replace one.
#include "restart/held_file.h"

#include <windows.h>

#include "common/setup_state.h"
#include "common/text.h"
#include "restart/restart_ops.h"

int IsHeldFile(const char* path, uint32_t win32Error)
{
    if (win32Error == ERROR_SHARING_VIOLATION || win32Error == ERROR_LOCK_VIOLATION)
        return 1;
    DWORD attributes = GetFileAttributesA(path);
    return win32Error == ERROR_ACCESS_DENIED && attributes != INVALID_FILE_ATTRIBUTES &&
           !(attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY));
}

int WaitingFilePath(char* waiting, uint32_t capacity, const char* target)
{
    if (CopyText(waiting, capacity, target) && AppendText(waiting, capacity, ".new"))
        return 1;
    if (capacity > 0)
        waiting[0] = 0;
    return 0;
}

void CancelWaitingReplacement(const char* target)
{
    char waiting[kWorkPathSize];
    CancelPendingFor(target);
    if (WaitingFilePath(waiting, sizeof waiting, target))
        DeleteFileA(waiting);
}
