// The member writer. A file that another program holds (a loaded IME, an
// open code table) is written whole beside it, under its name and ".new",
// and swapped in at the next restart, on every Windows family alike: the
// holder need not allow renaming, and the held file keeps its bytes until then.
#include "payload/member_file.h"

#include <windows.h>

#include "common/failed_files.h"
#include "common/setup_log.h"
#include "common/setup_state.h"
#include "common/text.h"
#include "restart/held_file.h"
#include "restart/restart_ops.h"

// Writes the bytes to a new file at path; 0 when they are all there,
// otherwise the error, and the cut file is deleted.
static DWORD WriteNewFile(const char* path, const uint8_t* bytes, DWORD length)
{
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return GetLastError();
    DWORD written = 0;
    DWORD error = 0;
    if (!WriteFile(file, bytes, length, &written, NULL))
        error = GetLastError();
    else if (written != length)
        error = ERROR_DISK_FULL;
    CloseHandle(file);
    if (error)
        DeleteFileA(path);
    return error;
}

// The bytes go whole into the waiting file beside the target, which
// replaces the target at the next restart.
static MemberWrite WriteBesideHeldFile(const char* target, const uint8_t* bytes, DWORD length)
{
    char waiting[kWorkPathSize];
    if (!WaitingFilePath(waiting, sizeof waiting, target)) {
        NoteFileFailure(target, FailureOther);
        return MemberNotWritten;
    }
    DWORD error = WriteNewFile(waiting, bytes, length);
    if (error) {
        NoteFileFailure(target, FailureOfError(error) == FailureDiskFull ? FailureDiskFull : FailureHeld);
        return MemberNotWritten;
    }
    if (!ReplaceAtRestart(waiting, target)) {
        DeleteFileA(waiting);
        NoteFileFailure(target, FailureHeld);
        return MemberNotWritten;
    }
    setupState.restartNeeded = 1;
    return MemberDeferred;
}

static void LogFileWrite(const char* path, uint32_t length, MemberWrite write, DWORD error)
{
    Log("file ");
    Log(path);
    Log(", ");
    LogNumber(length);
    Log(write == MemberWritten ? " bytes: written" : write == MemberDeferred ? " bytes: deferred to the restart, error "
                                                                            : " bytes: failed, error ");
    if (write != MemberWritten)
        LogNumber(error);
    EndLogLine();
}

MemberWrite WriteMemberFile(char* folderPath, uint32_t nameLength, const uint8_t* memberBytes, uint32_t totalLength)
{
    if (!folderPath[0] || !AppendText(folderPath, kWorkPathSize, (const char*)memberBytes)) {
        NoteFileFailure((const char*)memberBytes, FailureOther);
        Log("file ");
        Log((const char*)memberBytes);
        Log(": failed, no path fits it");
        EndLogLine();
        return MemberNotWritten;
    }
    CancelWaitingReplacement(folderPath);
    const uint8_t* bytes = memberBytes + nameLength;
    DWORD length = totalLength - nameLength;
    DWORD error = WriteNewFile(folderPath, bytes, length);
    MemberWrite write = MemberWritten;
    if (error && IsHeldFile(folderPath, error)) {
        write = WriteBesideHeldFile(folderPath, bytes, length);
    } else if (error) {
        NoteFailedFile(folderPath, error);
        write = MemberNotWritten;
    }
    if (write != MemberNotWritten)
        setupState.installedBytes += length;  // the size Add/Remove Programs shows
    LogFileWrite(folderPath, length, write, error);
    return write;
}
