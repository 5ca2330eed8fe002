// The setup file's checksum and its slot in the image.
#include "payload/file_checksum.h"

#include "common/memory.h"

enum { kMarkerSize = 8, kCheckSumFieldSize = 4, kDirectoryEntrySize = 8 };

static const uint8_t kEmptySlot[kSumSlotSize] = QMX_EMPTY_SUM_SLOT;
static const uint8_t kFilledMarker[kMarkerSize] = {'c', 'r', 'c', '3', '2', 's', 'u', 'm'};

SumSlotState ReadSumSlot(const uint8_t* slot, FileSum* sum)
{
    if (SameBytes(slot, kEmptySlot, kMarkerSize))
        return SumSlotEmpty;
    if (!SameBytes(slot, kFilledMarker, kMarkerSize))
        return SumSlotBroken;
    sum->checkedLength = ReadLe32(slot + kMarkerSize);
    sum->crc = ReadLe32(slot + kMarkerSize + 4);
    return SumSlotFilled;
}

void FillSumSlot(uint8_t* slot, const FileSum* sum)
{
    for (uint32_t k = 0; k < kMarkerSize; k++)
        slot[k] = kFilledMarker[k];
    WriteLe32(slot + kMarkerSize, sum->checkedLength);
    WriteLe32(slot + kMarkerSize + 4, sum->crc);
}

// Built on first use rather than stored: the image stays 1 KB smaller. Entry
// 1 is never 0 once built.
static uint32_t crcTable[256];

static void BuildCrcTable(void)
{
    for (uint32_t n = 0; n < 256; n++) {
        uint32_t c = n;
        for (int k = 0; k < 8; k++)
            c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        crcTable[n] = c;
    }
}

uint32_t Crc32(uint32_t crc, const uint8_t* bytes, uint32_t length)
{
    if (crcTable[1] == 0)
        BuildCrcTable();
    crc = ~crc;
    for (uint32_t k = 0; k < length; k++)
        crc = crcTable[(crc ^ bytes[k]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

enum ByteRole { CountAsItIs, CountAsZero, LeaveOut };

struct Span {
    uint32_t start, size;
    ByteRole role;
};

// The role of the bytes from offset on, and how many of them share it: up to
// the end of the span offset lies in, or to the start of the next span. The
// slot comes first where a damaged header makes spans overlap.
static ByteRole RoleFrom(const ImageLayout* layout, uint32_t offset, uint32_t* run)
{
    const Span spans[] = {
        {layout->sumSlot, layout->sumSlot ? (uint32_t)kSumSlotSize : 0, LeaveOut},
        {layout->checkSumField, layout->checkSumField ? (uint32_t)kCheckSumFieldSize : 0, CountAsZero},
        {layout->tableEntry, layout->tableEntry ? (uint32_t)kDirectoryEntrySize : 0, CountAsZero},
    };
    for (const Span& span : spans) {
        if (offset >= span.start && offset - span.start < span.size) {
            uint32_t left = span.size - (offset - span.start);
            if (*run > left)
                *run = left;
            return span.role;
        }
    }
    for (const Span& span : spans) {
        if (span.size && span.start > offset && span.start - offset < *run)
            *run = span.start - offset;
    }
    return CountAsItIs;
}

uint32_t AddToFileSum(uint32_t crc, const ImageLayout* layout, uint32_t offset, const uint8_t* bytes,
    uint32_t length)
{
    static const uint8_t zeros[kDirectoryEntrySize] = {0};
    while (length) {
        uint32_t run = length;
        ByteRole role = RoleFrom(layout, offset, &run);
        if (role == CountAsItIs)
            crc = Crc32(crc, bytes, run);
        else if (role == CountAsZero)
            crc = Crc32(crc, zeros, run);
        offset += run;
        bytes += run;
        length -= run;
    }
    return crc;
}
