// Where an expanded member goes, by the first letter of its extension, and
// which member names may be joined to a folder at all.
#pragma once

#include <stdint.h>

enum MemberPlace {
    PlaceNowhere,        // discarded: no file is written
    PlaceProgram,        // 'd': the program folder
    PlaceProgramLinked,  // 'e': the program folder, then the Zubino shortcut
    PlaceHelpLinked,     // 'h': the Help folder, then the help shortcut
    PlaceSystemIme,      // 'i': the System folder, then handed to the system as IME
    PlaceSystem,         // 'm': the System folder
};

// Lower case only: "A.IME" is discarded like "readme.txt".
MemberPlace PlaceByLetter(uint8_t letter);

// 1 when the nameLength bytes at name (its NUL included) are a bare file name
// with a '.': no '\', '/' or ':', no trailing '.' or blank (so neither "."
// nor ".."), and no device name (CON, PRN, AUX, NUL, COM1 to COM9, LPT1 to
// LPT9, CLOCK$, in any case, with any extension). Anything else could land outside
// the folder it is joined to, under another name, or on a device. The
// install and the packer judge member names by this one rule.
int IsBareFileName(const uint8_t* name, uint32_t nameLength);
