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

static int SameLetters(const uint8_t* text, const char* lowerCase, uint32_t count)
{
    for (uint32_t k = 0; k < count; k++) {
        if ((text[k] | 0x20) != (uint8_t)lowerCase[k])
            return 0;
    }
    return 1;
}

// Windows opens a device whatever folder and extension the name is given:
// the stem before the first '.', less the blanks it drops at its end.
static int IsDeviceName(const uint8_t* name, uint32_t length)
{
    uint32_t stem = 0;
    while (stem < length && name[stem] != '.')
        stem++;
    while (stem > 0 && name[stem - 1] == ' ')
        stem--;
    if (stem == 3)
        return SameLetters(name, "con", 3) || SameLetters(name, "prn", 3) || SameLetters(name, "aux", 3) ||
               SameLetters(name, "nul", 3);
    if (stem == 4 && name[3] >= '1' && name[3] <= '9')
        return SameLetters(name, "com", 3) || SameLetters(name, "lpt", 3);
    // The clock device of Windows 9x; '$' has no case of its own.
    return stem == 6 && SameLetters(name, "clock", 5) && name[5] == '$';
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
    return name[length - 1] != '.' && name[length - 1] != ' ' && !IsDeviceName(name, length);
}
