// Fuzz target: any bytes as a file; its compressed member keeps the rules of
// the container and expands back to the name and the file.
#include <stdint.h>
#include <stdlib.h>

#include "payload/container.h"
#include "payload/expand.h"
#include "tools/qmxpack/encoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Bytes file(data, data + size);
    Bytes member = CompressMember("fuzz.mb", file);
    Bytes content = MemberContent("fuzz.mb", file);
    if (member[0] != 0xFF || IsStoredMember(member.data(), member.size()))
        abort();
    Bytes output(kMaxExpansion * member.size());
    // The window holds whatever the last run left: the member must not care.
    output.resize(ExpandMember(member.data(), member.size(), output.data(), output.size()));
    if (output != content)
        abort();
    return 0;
}
