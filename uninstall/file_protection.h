// Which entries of the program folder the uninstall removes, from their
// attribute word alone: plain logic, the same on every Windows.
#pragma once

#include <stdint.h>

// The attribute bits that keep an entry, as Windows numbers them.
enum : uint32_t {
    kAttributeReadOnly = 0x01,
    kAttributeHidden = 0x02,
    kAttributeSystem = 0x04,
    kAttributeDirectory = 0x10,
};

// 1 for a file the user has not protected: neither read-only, hidden nor
// system, and no directory. Archive, normal, not indexed, compressed,
// encrypted, sparse, offline or temporary change nothing: a backup clears
// the archive bit, and NTFS sets the others by the folder or the drive.
int IsUnprotectedFile(uint32_t attributes);

// 1 when the attributes carry one of the user's three protecting bits.
int IsProtectedByUser(uint32_t attributes);
