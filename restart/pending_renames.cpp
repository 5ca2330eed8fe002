// Taking pairs out of PendingFileRenameOperations without touching the
// others.
#include "restart/pending_renames.h"

namespace {

// Where the string starting at start ends (its NUL); count when it has none.
uint32_t StringEnd(const uint16_t* units, uint32_t count, uint32_t start)
{
    while (start < count && units[start] != 0)
        ++start;
    return start;
}

uint16_t FoldAscii(uint16_t unit)
{
    return unit >= 'a' && unit <= 'z' ? (uint16_t)(unit - 'a' + 'A') : unit;
}

// Skips what stands in front of a path: a "!" (a move that may replace an
// existing file) or "*" and a number, which recent versions of Windows put
// before some sources, and then the "\??\" that names a path in the system's
// object space.
uint32_t SkipPathPrefix(const uint16_t* units, uint32_t start, uint32_t end)
{
    if (start < end && units[start] == '!') {
        ++start;
    } else if (start < end && units[start] == '*') {
        ++start;
        while (start < end && units[start] >= '0' && units[start] <= '9')
            ++start;
    }
    if (end - start >= 4 && units[start] == '\\' && units[start + 1] == '?' && units[start + 2] == '?' &&
        units[start + 3] == '\\')
        return start + 4;
    return start;
}

int SameName(const uint16_t* units, uint32_t start, uint32_t end, const uint16_t* path, uint32_t pathLength)
{
    start = SkipPathPrefix(units, start, end);
    if (end - start != pathLength)
        return 0;
    for (uint32_t i = 0; i < pathLength; ++i) {
        if (FoldAscii(units[start + i]) != FoldAscii(path[i]))
            return 0;
    }
    return 1;
}

// 1 for a pair that moves a file onto path or deletes path.
int ActsOnPath(const uint16_t* units, uint32_t source, uint32_t sourceEnd, uint32_t target, uint32_t targetEnd,
               const uint16_t* path, uint32_t pathLength)
{
    if (target == targetEnd)
        return SameName(units, source, sourceEnd, path, pathLength);
    return SameName(units, target, targetEnd, path, pathLength);
}

void CopyUnits(const uint16_t* units, uint32_t start, uint32_t end, uint16_t* result, uint32_t* used)
{
    for (uint32_t i = start; i < end; ++i)
        result[(*used)++] = units[i];
}

// 1 when the units from start on hold nothing but NULs.
int OnlyTerminators(const uint16_t* units, uint32_t start, uint32_t count)
{
    for (uint32_t i = start; i < count; ++i) {
        if (units[i] != 0)
            return 0;
    }
    return 1;
}

}  // namespace

PendingEdit RemovePendingRenamesFor(const uint16_t* units, uint32_t count, const uint16_t* path,
                                    uint32_t pathLength, uint16_t* result, uint32_t* resultCount)
{
    uint32_t used = 0, position = 0, kept = 0, removed = 0;
    // Whole pairs up to the empty string that ends the list; a string cut
    // short by the end of the data belongs to the remainder.
    while (position < count && units[position] != 0) {
        uint32_t sourceEnd = StringEnd(units, count, position);
        if (sourceEnd == count)
            break;
        uint32_t target = sourceEnd + 1;
        uint32_t targetEnd = StringEnd(units, count, target);
        if (targetEnd == count)
            break;
        if (pathLength > 0 && ActsOnPath(units, position, sourceEnd, target, targetEnd, path, pathLength)) {
            ++removed;
        } else {
            CopyUnits(units, position, targetEnd + 1, result, &used);
            ++kept;
        }
        position = targetEnd + 1;
    }
    CopyUnits(units, position, count, result, &used);
    *resultCount = used;
    if (removed == 0)
        return kPendingUnchanged;
    return kept == 0 && OnlyTerminators(units, position, count) ? kPendingEmptied : kPendingChanged;
}
