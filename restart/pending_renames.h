// The NT family's PendingFileRenameOperations value, edited unit for unit:
// a multi-string (UTF-16) of source/target pairs that the system carries out
// at the next restart. Paths carry a "\??\" prefix; a "!" before a target
// lets the move replace an existing file, and recent versions of Windows put
// "*1" or "!" before some sources; an empty target deletes the source.
// The list ends with an empty string.
#pragma once

#include <stdint.h>

enum PendingEdit {
    kPendingUnchanged = 0,  // nothing acted on the path
    kPendingChanged = 1,    // pairs were taken out; write the result back
    kPendingEmptied = 2,    // no pair is left; remove the value
};

// Writes into result, which holds at least count units, the value without
// the pairs that act on path (count units of UTF-16, path pathLength units,
// without a prefix): a move that targets it and a deletion of it. Every other
// pair, and whatever follows the last whole pair, stays unit for unit. Names
// compare as Windows compares them, letters of ASCII in any case, and
// whatever prefix stands in front of them.
PendingEdit RemovePendingRenamesFor(const uint16_t* units, uint32_t count, const uint16_t* path,
                                    uint32_t pathLength, uint16_t* result, uint32_t* resultCount);
