// Writing a container behind an image, and reading it back as the install does.
#include "tools/qmxpack/container_file.h"

#include <cstdio>
#include <limits>

#include "common/setup_state.h"
#include "payload/container.h"
#include "payload/expand.h"
#include "payload/file_checksum.h"
#include "payload/placement.h"
#include "payload/progress_gauge.h"
#include "payload/progress_host.h"

Bytes BuildMember(const std::string& name, const Bytes& file)
{
    Bytes content = MemberContent(name, file);
    if (IsStoredMember(content.data(), content.size()))
        return content;
    return CompressMember(name, file);
}

static void AppendLe(Bytes& bytes, uint32_t value, int width)
{
    for (int k = 0; k < width; k++)
        bytes.push_back((uint8_t)(value >> 8 * k));
}

void AppendContainer(Bytes& image, const std::vector<Bytes>& members)
{
    for (const Bytes& member : members)
        image.insert(image.end(), member.begin(), member.end());
    for (const Bytes& member : members)
        AppendLe(image, (uint32_t)member.size(), kSizeFieldSize);
    AppendLe(image, (uint32_t)members.size(), kCountFieldSize);
}

std::string CheckMemberName(const std::string& name)
{
    if (IsBareFileName(reinterpret_cast<const uint8_t*>(name.c_str()), (uint32_t)name.size() + 1))
        return "";
    return "the name '" + name + "' is not a bare file name with a '.' (no folder or drive part, " +
           "no '.' or blank at its end, no device name such as CON or LPT1)";
}

// One member as the install sees it: its form from the leading bytes, then
// its expansion into a buffer of four times its size.
static MemberReport InspectMember(const uint8_t* bytes, uint32_t size)
{
    MemberReport member;
    member.size = size;
    if (MemberNameLength(bytes, size) == 0)
        member.faults.push_back("the member holds no NUL byte");
    member.stored = IsStoredMember(bytes, size);
    if (member.stored) {
        member.expansion.assign(bytes, bytes + size);
    } else {
        if (size < 2)
            member.faults.push_back("a compressed member of fewer than 2 bytes");
        // One byte more than the install provides shows an expansion that
        // would not fit.
        uint64_t limit = (uint64_t)kMaxExpansion * size;
        uint64_t capacity = std::min<uint64_t>(limit + 1, std::numeric_limits<uint32_t>::max());
        member.expansion.resize(capacity);
        uint32_t written = ExpandMember(bytes, size, member.expansion.data(), (uint32_t)capacity);
        member.expansion.resize(written);
        if (written > limit) {
            member.faults.push_back("it expands to more than four times its size");
            member.expansion.resize(limit);
        }
    }
    uint32_t nameLength = MemberNameLength(member.expansion.data(), member.expansion.size());
    if (nameLength == 0) {
        if (!member.stored)
            member.faults.push_back("its expansion holds no NUL after the name");
        return member;
    }
    member.name.assign(member.expansion.begin(), member.expansion.begin() + nameLength - 1);
    member.file.assign(member.expansion.begin() + nameLength, member.expansion.end());
    std::string nameFault = CheckMemberName(member.name);
    if (!nameFault.empty())
        member.faults.push_back(nameFault);
    if (!member.stored && IsStoredMember(member.expansion.data(), member.expansion.size()))
        member.faults.push_back("a member whose extension begins \"wa\" is compressed");
    return member;
}

bool ContainerReport::Sound() const
{
    for (const MemberReport& member : members) {
        if (!member.faults.empty())
            return false;
    }
    return faults.empty();
}

ContainerReport ReadContainer(const Bytes& file)
{
    ContainerReport report;
    if (file.size() > std::numeric_limits<uint32_t>::max()) {
        report.faults.push_back("the file is larger than 4 GB");
        return report;
    }
    uint32_t fileSize = (uint32_t)file.size();
    if (fileSize < kCountFieldSize) {
        report.faults.push_back("the file is too short to hold a member count");
        return report;
    }
    ReadImageLayout(file.data(), fileSize, fileSize, &report.image);
    uint32_t end = LocateContainerEnd(&report.image, file.data() + report.image.trailerOffset);
    report.containerEnd = end;
    report.memberCount = ReadLe16(&file[end - kCountFieldSize]);
    if (report.memberCount > kMaxMembers) {
        report.faults.push_back(std::to_string(report.memberCount) + " members, more than 10");
        return report;
    }
    uint32_t tableOffset;
    if (!LocateSizeTable(end, report.memberCount, &tableOffset)) {
        report.faults.push_back("the size table does not fit in the file");
        return report;
    }
    const uint8_t* sizeTable = &file[tableOffset];
    uint32_t offset;
    if (!LocateFirstMember(end, report.memberCount, sizeTable, &offset)) {
        report.faults.push_back("the member sizes add up to more than the file holds");
        return report;
    }
    report.firstMember = offset;
    // The install's progress: the count follows the decompressor and is
    // raised to the running total after each member; a fresh process.
    setupState.progressCount = 0;
    setupState.progressLastStep = 0;
    uint32_t stepsBefore = progressStepCount;
    uint32_t runningTotal = 0;
    for (uint32_t k = 0; k < report.memberCount; k++) {
        uint32_t size = ReadLe32(sizeTable + kSizeFieldSize * k);
        MemberReport member = InspectMember(file.data() + offset, size);
        member.offset = offset;
        report.members.push_back(member);
        offset += size;
        runningTotal += size;
        if (setupState.progressCount < runningTotal)
            setupState.progressCount = runningTotal;
    }
    report.progressSteps = progressStepCount - stepsBefore;
    ProgressGauge gauge;
    StartGauge(&gauge, runningTotal, 0);
    report.progressRange = gauge.range;
    return report;
}

// Only a table that closes the file counts; the install reads past any other.
std::string DescribeSignature(const ContainerReport& report)
{
    const ImageLayout& image = report.image;
    if (image.tableSize == 0)
        return "not signed";
    std::string table = "a certificate table of " + std::to_string(image.tableSize) + " bytes at offset " +
                        std::to_string(image.tableOffset);
    if (!image.signedAtEnd)
        return "names " + table + " that does not close the file behind the image; read as unsigned";
    if (report.containerEnd == image.fileSize)
        return "signed: " + table + ", but no container ends in front of it";
    return "signed: " + table + "; the container ends " + std::to_string(image.tableOffset - report.containerEnd) +
           " bytes in front of it";
}

std::vector<std::string> CheckInstallsSomething(const ContainerReport& report)
{
    std::vector<std::string> faults;
    const ImageLayout& image = report.image;
    if (image.signedAtEnd && report.containerEnd == image.fileSize)
        faults.push_back("the file is signed, but no container that starts where the image ends ends within " +
                         std::to_string(kMaxSignPadding) + " bytes in front of the certificate table: the setup " +
                         "would read its container from the signature");
    if (report.faults.empty() && report.members.empty() && image.imageEnd != 0 &&
        report.containerEnd > image.imageEnd && report.containerEnd - image.imageEnd > kCountFieldSize)
        faults.push_back("no member, although " + std::to_string(report.containerEnd - image.imageEnd) +
                         " bytes follow the image: the setup would install nothing");
    return faults;
}

// The slot must lie whole in the file.
static bool HasSumSlot(const ImageLayout& layout, size_t fileSize)
{
    return layout.sumSlot != 0 && layout.sumSlot <= fileSize && fileSize - layout.sumSlot >= kSumSlotSize;
}

bool WriteFileSum(Bytes& file)
{
    uint32_t size = (uint32_t)file.size();
    ImageLayout layout;
    ReadImageLayout(file.data(), size, size, &layout);
    if (!HasSumSlot(layout, file.size()))
        return false;
    FileSum sum = {size, AddToFileSum(0, &layout, 0, file.data(), size)};
    FillSumSlot(&file[layout.sumSlot], &sum);
    return true;
}

static std::string Hex(uint32_t value)
{
    char text[16];
    std::snprintf(text, sizeof text, "%08X", value);
    return text;
}

bool CheckFileSum(const Bytes& file, const ContainerReport& report, std::string& verdict)
{
    const ImageLayout& layout = report.image;
    if (!HasSumSlot(layout, file.size())) {
        verdict = "the image has no checksum slot (a section .qmxsum): packed by an older packer, or damaged";
        return false;
    }
    FileSum sum;
    SumSlotState state = ReadSumSlot(&file[layout.sumSlot], &sum);
    if (state != SumSlotFilled) {
        verdict = state == SumSlotEmpty ? "the checksum slot is empty: packed without a checksum"
                                        : "the checksum slot at offset " + std::to_string(layout.sumSlot) +
                                              " is damaged";
        return false;
    }
    std::string where = "the container begins at offset " + std::to_string(report.firstMember) +
                        " and ends at " + std::to_string(report.containerEnd);
    if (sum.checkedLength != report.containerEnd) {
        verdict = "the checksum covers " + std::to_string(sum.checkedLength) + " bytes, but " + where +
                  ": the file is damaged, the setup would install nothing";
        return false;
    }
    uint32_t crc = AddToFileSum(0, &layout, 0, file.data(), report.containerEnd);
    if (crc != sum.crc) {
        verdict = "the checksum does not match (CRC-32 " + Hex(crc) + ", the slot says " + Hex(sum.crc) + "); " +
                  where + ": the file is damaged, the setup would install nothing";
        return false;
    }
    verdict = "checksum: CRC-32 " + Hex(crc) + " over the " + std::to_string(sum.checkedLength) +
              " bytes up to the container's end matches";
    return true;
}
