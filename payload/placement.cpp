// Member placement rules, as plain logic over the member's bytes.
#include "payload/placement.h"

#include "payload/container.h"

MemberPlace PlaceByLetter(uint8_t letter)
{
    switch (letter) {
    case 'd':
        return PlaceProgram;
    case 'e':
        return PlaceProgramLinked;
    case 'h':
        return PlaceHelpLinked;
    case 'i':
        return PlaceSystemIme;
    case 'm':
        return PlaceSystem;
    default:
        return PlaceNowhere;
    }
}

int IsBareFileName(const uint8_t* name, uint32_t nameLength)
{
    if (nameLength < 2 || name[nameLength - 1] != 0 || FindExtension(name, nameLength) == 0)
        return 0;
    uint32_t length = nameLength - 1;
    for (uint32_t k = 0; k < length; k++) {
        if (name[k] == '\\' || name[k] == '/' || name[k] == ':')
            return 0;
    }
    // Windows drops a trailing '.' or blank, so "x." would write "x", and
    // "." and ".." name folders.
    return name[length - 1] != '.' && name[length - 1] != ' ';
}
