// Reading the running program's own file and finding its container.
#include "payload/own_file.h"

#include "common/memory.h"
#include "common/setup_state.h"
#include "common/text.h"
#include "payload/member_file.h"

// One byte more than MAX_PATH: a path of 259 characters comes back whole
// with its NUL, and a longer one shows by its length whether the system
// returns the cut length with or without the NUL. 0 when it does not fit.
static int ReadOwnPath(char (&path)[kWorkPathSize + 1])
{
    DWORD length = GetModuleFileNameA(NULL, path, sizeof path);
    if (length == 0 || length >= kWorkPathSize)
        return 0;
    path[length] = 0;
    return 1;
}

// Sharing for reading only keeps writers, renames and deletions out.
static HANDLE OpenForReading(const char* path)
{
    return CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
}

// The install hears which file failed.
HANDLE OpenOwnFile(void)
{
    char path[kWorkPathSize + 1];
    if (!ReadOwnPath(path))
        return INVALID_HANDLE_VALUE;
    HANDLE file = OpenForReading(path);
    if (file == INVALID_HANDLE_VALUE)
        NoteFailedFile(path, GetLastError());
    return file;
}

uint32_t ReadAt(HANDLE file, uint32_t offset, void* buffer, uint32_t size)
{
    DWORD bytesRead = 0;
    if (SetFilePointer(file, (LONG)offset, NULL, FILE_BEGIN) == offset)
        ReadFile(file, buffer, size, &bytesRead, NULL);
    return bytesRead;
}

uint32_t ReadContainerEnd(HANDLE file, uint32_t fileSize, ImageLayout* layout)
{
    uint8_t* headers = (uint8_t*)AllocateBytes(kImageHeadersRead);
    uint32_t headerLength = headers ? ReadAt(file, 0, headers, kImageHeadersRead) : 0;
    ReadImageLayout(headers, headerLength, fileSize, layout);
    FreeBytes(headers);
    uint8_t trailer[kSignedTrailerRead];
    if (ReadAt(file, layout->trailerOffset, trailer, layout->trailerLength) != layout->trailerLength)
        return fileSize;
    return LocateContainerEnd(layout, trailer);
}

int OwnFileHasContainer(void)
{
    char path[kWorkPathSize + 1];
    if (!ReadOwnPath(path))
        return 1;
    HANDLE file = OpenForReading(path);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    uint32_t fileSize = GetFileSize(file, NULL);
    ImageLayout layout;
    uint32_t end = fileSize != INVALID_FILE_SIZE ? ReadContainerEnd(file, fileSize, &layout) : 0;
    CloseHandle(file);
    return fileSize == INVALID_FILE_SIZE || layout.imageEnd == 0 || end > layout.imageEnd;
}
