// Reading the payload container: where its pieces lie, and the form of a member.
#include "payload/container.h"

uint32_t ReadLe16(const uint8_t* bytes)
{
    return (uint32_t)bytes[0] | (uint32_t)bytes[1] << 8;
}

uint32_t ReadLe32(const uint8_t* bytes)
{
    return ReadLe16(bytes) | ReadLe16(bytes + 2) << 16;
}

int LocateSizeTable(uint32_t fileSize, uint32_t memberCount, uint32_t* tableOffset)
{
    if (memberCount > kMaxMembers || fileSize < kCountFieldSize)
        return 0;
    uint32_t room = fileSize - kCountFieldSize;
    if (kSizeFieldSize * memberCount > room)
        return 0;
    *tableOffset = room - kSizeFieldSize * memberCount;
    return 1;
}

int LocateFirstMember(uint32_t fileSize, uint32_t memberCount, const uint8_t* sizeTable,
    uint32_t* firstMember)
{
    uint32_t room;
    if (!LocateSizeTable(fileSize, memberCount, &room))
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

uint32_t ImageFileEnd(const uint8_t* file, uint32_t length)
{
    enum { kPeOffsetField = 0x3C, kFileHeaderSize = 24, kSectionSize = 40, kHeadersSizeField = 60 };
    if (length < kPeOffsetField + 4 || file[0] != 'M' || file[1] != 'Z')
        return 0;
    uint32_t pe = ReadLe32(file + kPeOffsetField);
    if (pe > length - kFileHeaderSize || ReadLe32(file + pe) != 0x00004550)  // "PE\0\0"
        return 0;
    uint32_t sectionCount = ReadLe16(file + pe + 6);
    uint32_t optionalSize = ReadLe16(file + pe + 20);
    uint32_t table = pe + kFileHeaderSize;
    if (optionalSize < kHeadersSizeField + 4 || optionalSize > length - table ||
        kSectionSize * sectionCount > length - table - optionalSize)
        return 0;
    uint32_t end = ReadLe32(file + table + kHeadersSizeField);
    table += optionalSize;
    for (uint32_t k = 0; k < sectionCount; k++) {
        const uint8_t* section = file + table + kSectionSize * k;
        uint32_t size = ReadLe32(section + 16), start = ReadLe32(section + 20);
        if (size > 0xFFFFFFFFu - start)
            return 0;
        if (size && start + size > end)
            end = start + size;
    }
    return end;
}
