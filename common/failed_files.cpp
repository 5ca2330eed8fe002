// The failed files noted in the setup record.
#include "common/failed_files.h"

#include <windows.h>

#include "common/text.h"

FileFailure FailureOfError(uint32_t win32Error)
{
    switch (win32Error) {
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return FailureHeld;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return FailureDiskFull;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
        return FailureNoAccess;
    default:
        return FailureOther;
    }
}

static void Note(const char* path, FileFailure failure, int gbkPath)
{
    if (setupState.failedFileCount >= kMaxFailedFiles)
        return;
    FailedFile* failed = &setupState.failedFiles[setupState.failedFileCount++];
    if (!CopyText(failed->path, sizeof failed->path, path))
        failed->path[0] = 0;
    failed->failure = failure;
    failed->gbkPath = gbkPath;
}

void NoteFileFailure(const char* path, FileFailure failure)
{
    Note(path, failure, 0);
}

void NoteGbkFileFailure(const char* path, FileFailure failure)
{
    Note(path, failure, 1);
}

void NoteFailedFile(const char* path, uint32_t win32Error)
{
    Note(path, FailureOfError(win32Error), 0);
}
