// Fuzz target: any bytes as WININIT.INI (and as PendingFileRenameOperations
// units), the first line naming the path. Nothing is written outside a
// buffer, taking out never grows the text, and a line added for the path
// comes out again; the path respelled for WOW64 under a folder taken from
// its own front stays within its buffer.
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <vector>

#include "restart/pending_renames.h"
#include "restart/wininit_text.h"
#include "restart/wow64_spelling.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const char* text = (const char*)data;
    uint32_t length = (uint32_t)size;
    size_t pathLength = 0;
    while (pathLength < size && pathLength < 64 && text[pathLength] != '\n' && text[pathLength] != 0 &&
           text[pathLength] != '=')
        ++pathLength;
    std::vector<char> path(text, text + pathLength);
    path.push_back(0);

    std::vector<char> removed(size + 1);
    uint32_t removedLength = RemoveRenameLinesFor(text, length, path.data(), removed.data());
    if (removedLength > length)
        abort();

    uint32_t capacity = length + (uint32_t)pathLength + 32;
    std::vector<char> added(capacity);
    uint32_t addedLength = AddRenameLine(text, length, "NUL", path.data(), added.data(), capacity);
    if (addedLength <= length)
        abort();
    // A line without a path acts on nothing and is not taken out.
    if (pathLength > 0 && path[0] != ' ' && path[0] != '\t' && path[pathLength - 1] != ' ' &&
        path[pathLength - 1] != '\t' && path[pathLength - 1] != '\r') {
        std::vector<char> again(addedLength);
        if (RemoveRenameLinesFor(added.data(), addedLength, path.data(), again.data()) >= addedLength)
            abort();
    }

    std::vector<char> systemDir(path.begin(), path.begin() + pathLength / 2);
    systemDir.push_back(0);
    const uint32_t spelledCapacity = 24;
    std::vector<char> spelled(spelledCapacity + 1, 0x5A);
    int fits = SpellForWow64(path.data(), systemDir.data(), "C:\\Windows\\SysWOW64", spelled.data(), spelledCapacity);
    if (spelled[spelledCapacity] != 0x5A || (fits && strnlen(spelled.data(), spelledCapacity) == spelledCapacity) ||
        (!fits && spelled[0] != 0))
        abort();

    std::vector<uint16_t> units(size / 2);
    for (size_t i = 0; i < units.size(); ++i)
        units[i] = (uint16_t)(data[2 * i] | data[2 * i + 1] << 8);
    std::vector<uint16_t> pathUnits(units.begin(), units.begin() + (units.size() < 8 ? units.size() : 8));
    std::vector<uint16_t> result(units.size() + 1);
    uint32_t count = 0;
    PendingEdit edit = RemovePendingRenamesFor(units.data(), (uint32_t)units.size(), pathUnits.data(),
                                               (uint32_t)pathUnits.size(), result.data(), &count);
    if (count > units.size() || (edit == kPendingUnchanged && count != units.size()))
        abort();
    return 0;
}
