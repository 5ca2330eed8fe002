// Replacing and removing held files at the next restart: MoveFileEx's delayed
// moves on the NT family, the [rename] section of WININIT.INI on Windows 9x.
#include "restart/restart_ops.h"

#include <windows.h>

#include "common/memory.h"
#include "common/text.h"
#include "common/wide_registry.h"
#include "common/windows_family.h"
#include "restart/pending_renames.h"
#include "restart/wininit_text.h"
#include "restart/wow64_spelling.h"

static_assert(sizeof(WCHAR) == sizeof(uint16_t), "the pending renames are edited as UTF-16 units");

namespace {

// Larger than any WININIT.INI a setup program writes: a file this size is not
// read whole into memory.
const DWORD kLargestWininit = 1u << 20;

const char kSessionManager[] = "System\\CurrentControlSet\\Control\\Session Manager";
const char kPendingValue[] = "PendingFileRenameOperations";
const WCHAR kPendingValueW[] = L"PendingFileRenameOperations";

// MoveFileExA does nothing on Windows 95, or is not there at all: it is
// looked up at run time and called on the NT family only, like the W
// registry calls.
typedef BOOL(WINAPI* MoveFileExFunction)(LPCSTR, LPCSTR, DWORD);
// Windows XP and later have these two; 95 to 2000 do not.
typedef BOOL(WINAPI* IsWow64ProcessFunction)(HANDLE, PBOOL);
typedef UINT(WINAPI* GetSystemWow64DirectoryFunction)(LPSTR, UINT);

// 1 when the process runs under WOW64, with the System folder the program
// sees and the one the restart acts on.
static int Wow64Folders(char* systemDir, char* wow64Dir)
{
    IsWow64ProcessFunction isWow64Process =
        (IsWow64ProcessFunction)SystemFunction("KERNEL32.DLL", "IsWow64Process");
    GetSystemWow64DirectoryFunction getSystemWow64Directory =
        (GetSystemWow64DirectoryFunction)SystemFunction("KERNEL32.DLL", "GetSystemWow64DirectoryA");
    BOOL wow64 = FALSE;
    if (!isWow64Process || !getSystemWow64Directory || !isWow64Process(GetCurrentProcess(), &wow64) || !wow64)
        return 0;
    UINT systemLength = GetSystemDirectoryA(systemDir, MAX_PATH);
    UINT wow64Length = getSystemWow64Directory(wow64Dir, MAX_PATH);
    return systemLength > 0 && systemLength < MAX_PATH && wow64Length > 0 && wow64Length < MAX_PATH;
}

// The path as the restart must name it: under WOW64 a System-folder file in
// its SysWOW64 spelling, elsewhere as it is. 0 when it does not fit.
static int RestartSpelling(const char* path, char* spelled)
{
    char systemDir[MAX_PATH], wow64Dir[MAX_PATH];
    if (!Wow64Folders(systemDir, wow64Dir))
        return CopyText(spelled, MAX_PATH, path);
    return SpellForWow64(path, systemDir, wow64Dir, spelled, MAX_PATH);
}

// Both paths in the spelling of the restart; a NULL target deletes the source.
int MoveAtRestart(const char* source, const char* target, DWORD flags)
{
    MoveFileExFunction moveFileEx = (MoveFileExFunction)SystemFunction("KERNEL32.DLL", "MoveFileExA");
    char spelledSource[MAX_PATH], spelledTarget[MAX_PATH];
    if (!moveFileEx || !RestartSpelling(source, spelledSource) || (target && !RestartSpelling(target, spelledTarget)))
        return 0;
    return moveFileEx(spelledSource, target ? spelledTarget : NULL, flags | MOVEFILE_DELAY_UNTIL_REBOOT);
}

// The 8.3 name of an existing file, as the real-mode WININIT.EXE needs it.
int ShortName(const char* path, char* shortPath)
{
    DWORD length = GetShortPathNameA(path, shortPath, MAX_PATH);
    return length > 0 && length < MAX_PATH;
}

int WininitPath(char* path)
{
    UINT length = GetWindowsDirectoryA(path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return 0;
    // Only a drive root ("C:\") comes back with its backslash.
    if (length > 3 && !AppendText(path, MAX_PATH, "\\"))
        return 0;
    return AppendText(path, MAX_PATH, "WININIT.INI");
}

// The whole file in a block from the heap; a missing file reads as empty.
// Returns NULL when it cannot be read.
char* ReadWholeFile(const char* path, uint32_t* length)
{
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    DWORD size = 0;
    if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_NOT_FOUND)
        return NULL;
    if (file != INVALID_HANDLE_VALUE)
        size = GetFileSize(file, NULL);
    char* bytes = size <= kLargestWininit ? (char*)AllocateBytes(size + 1) : NULL;
    DWORD read = 0;
    if (bytes && file != INVALID_HANDLE_VALUE && size > 0 &&
        (!ReadFile(file, bytes, size, &read, NULL) || read != size)) {
        FreeBytes(bytes);
        bytes = NULL;
    }
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    *length = size;
    return bytes;
}

int WriteWholeFile(const char* path, const char* bytes, uint32_t length)
{
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    DWORD written = 0;
    int whole = WriteFile(file, bytes, length, &written, NULL) && written == length;
    CloseHandle(file);
    return whole;
}

// Writes the new text; when that fails part way, the old text goes back, so
// that no other program's line is lost.
int RewriteFile(const char* path, const char* oldText, uint32_t oldLength, const char* newText, uint32_t newLength)
{
    if (WriteWholeFile(path, newText, newLength))
        return 1;
    WriteWholeFile(path, oldText, oldLength);
    return 0;
}

int AddToWininit(const char* key, const char* value)
{
    char path[MAX_PATH];
    uint32_t length;
    char* text = WininitPath(path) ? ReadWholeFile(path, &length) : NULL;
    if (!text)
        return 0;
    // The line, its "=", a "[rename]" header and three line ends at most.
    uint32_t capacity = length + TextLength(key) + TextLength(value) + 16;
    char* result = (char*)AllocateBytes(capacity);
    uint32_t resultLength = result ? AddRenameLine(text, length, key, value, result, capacity) : 0;
    int added = resultLength > 0 && RewriteFile(path, text, length, result, resultLength);
    FreeBytes(result);
    FreeBytes(text);
    return added;
}

void CancelWininitLines(const char* path)
{
    char wininit[MAX_PATH];
    uint32_t length;
    char* text = WininitPath(wininit) ? ReadWholeFile(wininit, &length) : NULL;
    // Two passes: the lines name a file by its short name, but a file that
    // does not exist yet has none, and a line may name it in full.
    char* withoutLong = text ? (char*)AllocateBytes(length + 1) : NULL;
    char* withoutShort = withoutLong ? (char*)AllocateBytes(length + 1) : NULL;
    if (withoutShort) {
        uint32_t resultLength = RemoveRenameLinesFor(text, length, path, withoutLong);
        char shortPath[MAX_PATH];
        if (!ShortName(path, shortPath))
            shortPath[0] = 0;
        resultLength = RemoveRenameLinesFor(withoutLong, resultLength, shortPath, withoutShort);
        if (resultLength != length)
            RewriteFile(wininit, text, length, withoutShort, resultLength);
    }
    FreeBytes(withoutShort);
    FreeBytes(withoutLong);
    FreeBytes(text);
}

// Reads the pending renames, takes out the pairs that act on path and writes
// back what is left, or removes the value when nothing is.
void CancelPendingRenames(const char* path)
{
    WCHAR widePath[MAX_PATH];
    int wideLength = MultiByteToWideChar(CP_ACP, 0, path, -1, widePath, MAX_PATH);
    HKEY key;
    if (wideLength <= 1 ||
        RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &key) != ERROR_SUCCESS)
        return;
    DWORD type = 0, size = 0;
    uint16_t* units = NULL;
    uint16_t* result = NULL;
    if (QueryValueW(key, kPendingValueW, &type, NULL, &size) == ERROR_SUCCESS && type == REG_MULTI_SZ &&
        size % sizeof(uint16_t) == 0) {
        units = (uint16_t*)AllocateBytes(size + sizeof(uint16_t));
        result = units ? (uint16_t*)AllocateBytes(size + sizeof(uint16_t)) : NULL;
    }
    DWORD read = size;
    if (result && QueryValueW(key, kPendingValueW, &type, (BYTE*)units, &read) == ERROR_SUCCESS &&
        read == size) {
        uint32_t resultCount = 0;
        PendingEdit edit = RemovePendingRenamesFor(units, size / sizeof(uint16_t), (const uint16_t*)widePath,
                                                   (uint32_t)wideLength - 1, result, &resultCount);
        if (edit == kPendingEmptied)
            RegDeleteValueA(key, kPendingValue);
        else if (edit == kPendingChanged)
            SetValueW(key, kPendingValueW, REG_MULTI_SZ, (const BYTE*)result, resultCount * sizeof(uint16_t));
    }
    FreeBytes(result);
    FreeBytes(units);
    RegCloseKey(key);
}

}  // namespace

int ReplaceAtRestart(const char* temporaryPath, const char* targetPath)
{
    if (IsNtFamily())
        return MoveAtRestart(temporaryPath, targetPath, MOVEFILE_REPLACE_EXISTING);
    char shortTemporary[MAX_PATH], shortTarget[MAX_PATH];
    return ShortName(temporaryPath, shortTemporary) && ShortName(targetPath, shortTarget) &&
           AddToWininit(shortTarget, shortTemporary);
}

int DeleteAtRestart(const char* path)
{
    if (IsNtFamily())
        return MoveAtRestart(path, NULL, 0);
    char shortPath[MAX_PATH];
    return ShortName(path, shortPath) && AddToWininit("NUL", shortPath);
}

// Wine carries out WININIT.INI on every family, so its lines are taken out on
// the NT family too. Under WOW64 a pending operation may name a System-folder
// file in either spelling: an earlier version wrote what the program saw.
void CancelPendingFor(const char* path)
{
    if (IsNtFamily()) {
        CancelPendingRenames(path);
        char spelled[MAX_PATH];
        if (RestartSpelling(path, spelled) && lstrcmpiA(spelled, path) != 0)
            CancelPendingRenames(spelled);
    }
    CancelWininitLines(path);
}
