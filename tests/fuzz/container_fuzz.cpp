// Fuzz target: any bytes as a program file with a container behind it, read
// as the install reads it and checked against every rule of the container.
#include <stdint.h>
#include <stdlib.h>

#include "tools/qmxpack/container_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Bytes file(data, data + size);
    ContainerReport report = ReadContainer(file);
    for (const MemberReport& member : report.members) {
        if (member.offset > size || member.size > size - member.offset)
            abort();
        if (!member.stored && member.expansion.size() > 4 * (uint64_t)member.size)
            abort();
    }
    return 0;
}
