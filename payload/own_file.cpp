// Reading the running program's own file and finding its container.
#include "payload/own_file.h"

#include "common/memory.h"
#include "common/setup_state.h"
#include "common/text.h"
#include "payload/file_checksum.h"
#include "payload/member_file.h"

// The packer fills the slot in the file; the loader maps the file's slot
// here, so the running program knows that its file carries a checksum even
// when a damaged section table hides the slot from a reader of the file.
// Volatile: the compiler must not take the linker's bytes for its contents.
__attribute__((section(".qmxsum"), used)) const volatile uint8_t sumSlot[kSumSlotSize] = QMX_EMPTY_SUM_SLOT;

enum { kSumReadSize = 64 * 1024 };

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

// The file is read from its start in pieces, through the container's end.
static uint32_t SumOwnFile(HANDLE file, const ImageLayout* layout, uint32_t end, int* readWhole)
{
    uint8_t* piece = (uint8_t*)AllocateBytes(kSumReadSize);
    uint32_t crc = 0, offset = 0;
    while (piece && offset < end) {
        uint32_t want = end - offset < kSumReadSize ? end - offset : (uint32_t)kSumReadSize;
        if (ReadAt(file, offset, piece, want) != want)
            break;
        crc = AddToFileSum(crc, layout, offset, piece, want);
        offset += want;
    }
    *readWhole = piece && offset == end;
    FreeBytes(piece);
    return crc;
}

int OwnFileIsIntact(HANDLE file)
{
    uint8_t slot[kSumSlotSize];
    for (uint32_t k = 0; k < kSumSlotSize; k++)
        slot[k] = sumSlot[k];
    FileSum expected;
    SumSlotState state = ReadSumSlot(slot, &expected);
    if (state != SumSlotFilled)
        return state == SumSlotEmpty;
    uint32_t fileSize = GetFileSize(file, NULL);
    if (fileSize == INVALID_FILE_SIZE)
        return 0;
    ImageLayout layout;
    uint32_t end = ReadContainerEnd(file, fileSize, &layout);
    if (end != expected.checkedLength || layout.sumSlot == 0)
        return 0;
    int readWhole;
    uint32_t crc = SumOwnFile(file, &layout, end, &readWhole);
    return readWhole && crc == expected.crc;
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
