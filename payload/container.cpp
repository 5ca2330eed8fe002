// Reading the payload container: where it ends, where its pieces lie, and the
// form of a member.
#include "payload/container.h"

#include "common/memory.h"

// Offsets in the PE headers: from the DOS header, the PE signature and the
// optional header; the data directories of PE32 and PE32+ images; a section.
enum {
    kPeOffsetField = 0x3C,
    kSectionCountField = 6,
    kOptionalSizeField = 20,
    kOptionalHeader = 24,
    kCheckSumField = 64,
    kDirectoriesPe32 = 96,
    kDirectoriesPe32Plus = 112,
    kDirectoryCertificates = 4,
    kDirectorySize = 8,
    kSectionHeaderSize = 40,
    kSectionNameSize = 8,
    kSectionRawSize = 16,
    kSectionRawOffset = 20,
};

// The section the packer fills with the file's checksum.
static const uint8_t kSumSectionName[kSectionNameSize] = {'.', 'q', 'm', 'x', 's', 'u', 'm', 0};

static int IsSumSection(const uint8_t* section)
{
    return SameBytes(section, kSumSectionName, kSectionNameSize) && ReadLe32(section + kSectionRawSize) >= kSumSlotSize;
}

// Sets the end of the last section's bytes in the file and the checksum
// slot; the end is 0 when the section table does not fit the headers read or
// an end passes 4 GB.
static void ReadSections(const uint8_t* headers, uint32_t length, uint32_t table, uint32_t count,
    ImageLayout* layout)
{
    if (table > length || count > (length - table) / kSectionHeaderSize)
        return;
    uint32_t end = 0, slot = 0;
    for (uint32_t k = 0; k < count; k++) {
        const uint8_t* section = headers + table + kSectionHeaderSize * k;
        uint32_t size = ReadLe32(section + kSectionRawSize);
        uint32_t offset = ReadLe32(section + kSectionRawOffset);
        if (size == 0)
            continue;
        if (offset > 0xFFFFFFFFu - size)
            return;
        if (end < offset + size)
            end = offset + size;
        if (IsSumSection(section))
            slot = offset;
    }
    layout->imageEnd = end;
    layout->sumSlot = slot;
}

// Sets the image's end and its certificate table from the PE headers; leaves
// each 0 when the headers that hold it are not a PE image's or do not fit.
static void ReadPeHeaders(const uint8_t* headers, uint32_t length, ImageLayout* layout)
{
    if (length < kPeOffsetField + 4 || headers[0] != 'M' || headers[1] != 'Z')
        return;
    uint32_t pe = ReadLe32(headers + kPeOffsetField);
    if (pe > length || length - pe < kOptionalHeader + 2 || headers[pe] != 'P' || headers[pe + 1] != 'E' ||
        headers[pe + 2] != 0 || headers[pe + 3] != 0)
        return;
    uint32_t optional = pe + kOptionalHeader;
    uint32_t optionalSize = ReadLe16(headers + pe + kOptionalSizeField);
    if (optionalSize > length - optional)
        return;
    uint32_t magic = ReadLe16(headers + optional);
    uint32_t directories = magic == 0x10B ? kDirectoriesPe32 : magic == 0x20B ? kDirectoriesPe32Plus : 0;
    uint32_t certificates = directories + kDirectorySize * kDirectoryCertificates;
    if (directories == 0 || optionalSize < certificates + kDirectorySize)
        return;
    layout->checkSumField = optional + kCheckSumField;
    ReadSections(headers, length, optional + optionalSize, ReadLe16(headers + pe + kSectionCountField), layout);
    // The count of data directories in front of them must reach the fifth.
    if (ReadLe32(headers + optional + directories - 4) > kDirectoryCertificates) {
        layout->tableEntry = optional + certificates;
        layout->tableOffset = ReadLe32(headers + optional + certificates);
        layout->tableSize = ReadLe32(headers + optional + certificates + 4);
    }
}

void ReadImageLayout(const uint8_t* headers, uint32_t headerLength, uint32_t fileSize, ImageLayout* layout)
{
    layout->fileSize = fileSize;
    layout->imageEnd = 0;
    layout->tableOffset = 0;
    layout->tableSize = 0;
    layout->tableEntry = 0;
    layout->checkSumField = 0;
    layout->sumSlot = 0;
    layout->signedAtEnd = 0;
    layout->trailerOffset = 0;
    layout->trailerLength = 0;
    ReadPeHeaders(headers, headerLength < kImageHeadersRead ? headerLength : (uint32_t)kImageHeadersRead, layout);
    // A table that lies in front of the image's end, or not in the file, or
    // does not close it, leaves the file unsigned for the container.
    if (layout->tableSize == 0 || layout->imageEnd == 0 || layout->imageEnd > layout->tableOffset ||
        layout->tableOffset > fileSize || layout->tableSize != fileSize - layout->tableOffset)
        return;
    layout->signedAtEnd = 1;
    uint32_t room = layout->tableOffset - layout->imageEnd;
    layout->trailerLength = room < kSignedTrailerRead ? room : (uint32_t)kSignedTrailerRead;
    layout->trailerOffset = layout->tableOffset - layout->trailerLength;
}

void ForgetCertificateTable(uint8_t* image, uint32_t length)
{
    ImageLayout layout;
    ReadImageLayout(image, length, length, &layout);
    for (uint32_t k = 0; layout.tableEntry && k < kDirectorySize; k++)
        image[layout.tableEntry + k] = 0;
}

// The trailer holds the file's bytes [trailerOffset, tableOffset). With the
// padding tried from none upwards, zero padding never reads as a count that
// fits, so the first end found is the one the packer wrote.
uint32_t LocateContainerEnd(const ImageLayout* layout, const uint8_t* trailer)
{
    if (!layout->signedAtEnd)
        return layout->fileSize;
    for (uint32_t padding = 0; padding <= kMaxSignPadding; padding++) {
        if (kCountFieldSize + padding > layout->trailerLength)
            break;
        uint32_t countAt = layout->trailerLength - padding - kCountFieldSize;
        uint32_t memberCount = ReadLe16(trailer + countAt);
        if (memberCount > kMaxMembers || kSizeFieldSize * memberCount > countAt)
            continue;
        uint32_t end = layout->tableOffset - padding;
        uint32_t firstMember;
        if (LocateFirstMember(end, memberCount, trailer + countAt - kSizeFieldSize * memberCount, &firstMember) &&
            firstMember == layout->imageEnd)
            return end;
    }
    return layout->fileSize;
}

int LocateSizeTable(uint32_t containerEnd, uint32_t memberCount, uint32_t* tableOffset)
{
    if (memberCount > kMaxMembers || containerEnd < kCountFieldSize)
        return 0;
    uint32_t room = containerEnd - kCountFieldSize;
    if (kSizeFieldSize * memberCount > room)
        return 0;
    *tableOffset = room - kSizeFieldSize * memberCount;
    return 1;
}

int LocateFirstMember(uint32_t containerEnd, uint32_t memberCount, const uint8_t* sizeTable,
    uint32_t* firstMember)
{
    uint32_t room;
    if (!LocateSizeTable(containerEnd, memberCount, &room))
        return 0;
    // Each size is taken from what is left, so no sum can wrap.
    for (uint32_t k = 0; k < memberCount; k++) {
        uint32_t size = ReadLe32(sizeTable + kSizeFieldSize * k);
        if (size > room)
            return 0;
        room -= size;
    }
    *firstMember = room;
    return 1;
}

uint32_t MemberNameLength(const uint8_t* member, uint32_t length)
{
    for (uint32_t k = 0; k < length; k++) {
        if (member[k] == 0)
            return k + 1;
    }
    return 0;
}

uint32_t FindExtension(const uint8_t* text, uint32_t length)
{
    for (uint32_t k = 0; k < length; k++) {
        if (text[k] == '.')
            return k + 1;
    }
    return 0;
}

int IsStoredMember(const uint8_t* member, uint32_t length)
{
    uint32_t nameLength = MemberNameLength(member, length);
    uint32_t q = FindExtension(member, nameLength);
    // The NUL ends the leading bytes, so a 'w' at q lies before it and q + 1
    // is still inside them.
    return q != 0 && member[q] == 'w' && member[q + 1] == 'a';
}
