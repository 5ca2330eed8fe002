// Fuzz target: any bytes as a program file with a container behind it, signed
// or not, read as the install reads it and checked against every rule of the container.
#include <stdint.h>
#include <stdlib.h>

#include "tools/qmxpack/container_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Bytes file(data, data + size);
    ContainerReport report = ReadContainer(file);
    // The members lie in front of the container's end, which lies in the file
    // (in front of a certificate table that closes a signed one).
    if (report.containerEnd > size || (report.image.signedAtEnd && report.containerEnd != size &&
                                          report.containerEnd > report.image.tableOffset))
        abort();
    for (const MemberReport& member : report.members) {
        if (member.offset > report.containerEnd || member.size > report.containerEnd - member.offset)
            abort();
        if (!member.stored && member.expansion.size() > 4 * (uint64_t)member.size)
            abort();
    }
    return 0;
}
