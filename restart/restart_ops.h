// Files that another program holds are replaced or removed at the next
// restart: on the NT family through MoveFileEx's delayed moves (kept in
// PendingFileRenameOperations), on Windows 9x through the [rename] section of
// WININIT.INI. The family is told apart at run time. Under WOW64 (64-bit
// Windows) a System-folder file is named in its SysWOW64 spelling, which the
// 64-bit part of Windows that carries out the operations acts on.
#pragma once

// Schedules temporaryPath to replace targetPath at the next restart.
// Returns 1 when the replacement is recorded.
int ReplaceAtRestart(const char* temporaryPath, const char* targetPath);

// Schedules the file or (empty) folder at path for deletion at the next
// restart. Returns 1 when the deletion is recorded.
int DeleteAtRestart(const char* path);

// Takes out every deletion or replacement that an earlier run left pending
// for path (as its target, or as the file a pending deletion removes), so
// that the next restart cannot undo a newer write there; under WOW64 in
// either spelling of the System folder. Other programs' pending operations
// stay exactly as they were.
void CancelPendingFor(const char* path);
