// Fuzz target: any bytes as a member, any room for its expansion. Nothing
// outside either buffer may be touched; every byte is counted unless the
// room ran out.
#include <stdint.h>
#include <stdlib.h>

#include <vector>

#include "common/setup_state.h"
#include "payload/expand.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    // The first two bytes choose the room, up to the format's eightfold
    // expansion and a little more.
    uint32_t capacity = (data[0] | data[1] << 8) % (8 * size + 16);
    std::vector<uint8_t> member(data + 2, data + size);
    std::vector<uint8_t> destination(capacity + 1, 0xA5);
    uint32_t countBefore = setupState.progressCount;
    uint32_t written = ExpandMember(member.data(), member.size(), destination.data(), capacity);
    if (written > capacity || destination[capacity] != 0xA5)
        abort();
    if (written < capacity && setupState.progressCount - countBefore != member.size())
        abort();
    return 0;
}
