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
