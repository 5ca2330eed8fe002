// Whole container files for the packer: writing one behind an image, and
// reading one back member by member with every rule of the container checked.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

#include "payload/container.h"
#include "tools/qmxpack/encoder.h"

// The member for a file: stored when the name's extension begins "wa",
// compressed otherwise.
Bytes BuildMember(const std::string& name, const Bytes& file);

// Appends the members, their size table and their count behind the image.
void AppendContainer(Bytes& image, const std::vector<Bytes>& members);

// An empty text when the name is a bare file name with a '.' (no folder,
// drive or parent part), else what is wrong with it.
std::string CheckMemberName(const std::string& name);

struct MemberReport {
    uint32_t offset = 0;     // from the start of the file
    uint32_t size = 0;       // in the container
    bool stored = false;     // as the install reads its leading bytes
    Bytes expansion;         // name, NUL and file: the member's own bytes when stored
    std::string name;        // up to the first NUL of the expansion
    Bytes file;              // the bytes after that NUL
    std::vector<std::string> faults;  // each broken rule, in words
};

struct ContainerReport {
    ImageLayout image = {};           // the image's end and its certificate table
    uint32_t containerEnd = 0;        // where the count field ends
    uint32_t firstMember = 0;         // where member 0 begins, once the size table fits
    uint32_t memberCount = 0;
    std::vector<MemberReport> members;
    std::vector<std::string> faults;  // rules of the container as a whole
    uint32_t progressSteps = 0;       // steps the install would send
    uint32_t progressRange = 0;       // the bar's upper end
    bool Sound() const;               // no fault anywhere
};

// Reads the container at the end of a file as the install does, expanding
// each compressed member with the product's decompressor.
ContainerReport ReadContainer(const Bytes& file);

// Whether and how the file is signed, in words.
std::string DescribeSignature(const ContainerReport& report);

// What keeps a sound-looking container from installing: a signed file with
// no container in front of its signature, or no member although more than
// the count follows the image.
std::vector<std::string> CheckInstallsSomething(const ContainerReport& report);

// Fills the checksum slot of a packed file; false when its image has no slot.
bool WriteFileSum(Bytes& file);

// Whether the file's checksum holds, with what was found in words: a file
// whose image has no slot, or an empty or damaged one, fails as well.
bool CheckFileSum(const Bytes& file, const ContainerReport& report, std::string& verdict);
