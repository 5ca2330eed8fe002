// The packer's container: what pack writes reads back sound, and every rule
// that a container can break is reported.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "payload/container.h"
#include "tests/payload/signed_image.h"
#include "tools/qmxpack/container_file.h"

static const Bytes kImage = {'M', 'Z', 1, 2, 3};

static Bytes Text(const std::string& text)
{
    return Bytes(text.begin(), text.end());
}

static Bytes Container(const std::vector<Bytes>& members)
{
    Bytes file = kImage;
    AppendContainer(file, members);
    return file;
}

// Literals only, so a test can give any leading bytes it likes.
static Bytes AllLiterals(const Bytes& content)
{
    std::vector<Token> tokens(content.size(), Token{1, 0});
    return WriteStream(content, tokens);
}

TEST(ContainerFileTest, PackedFilesReadBackSound)
{
    std::vector<std::pair<std::string, Bytes>> files = {
        {"qmx.mb", Text("\xB0\xA1 a\r\n\xB0\xA2 ai\r\n\xB0\xA1 a\r\n")},
        {"click.wav", Text("RIFF....WAVEfmt ")},
        {"zub.exe", Bytes(5000, 0)},
        {"empty.hlp", Bytes()},
    };
    std::vector<Bytes> members;
    for (const auto& file : files)
        members.push_back(BuildMember(file.first, file.second));
    ContainerReport report = ReadContainer(Container(members));
    ASSERT_TRUE(report.Sound());
    ASSERT_EQ(files.size(), report.members.size());
    EXPECT_EQ(kImage.size(), report.members[0].offset);
    for (size_t k = 0; k < files.size(); k++) {
        EXPECT_EQ(files[k].first, report.members[k].name);
        EXPECT_EQ(files[k].second, report.members[k].file);
        EXPECT_EQ(files[k].first == "click.wav", report.members[k].stored);
    }
}

// The install's progress: the range is the container's size in hundreds,
// and the steps follow the decompressor and the running total.
TEST(ContainerFileTest, CountsTheInstallsProgress)
{
    Bytes stored = MemberContent("a.wav", Bytes(1000, 'w'));
    Bytes compressed = AllLiterals(MemberContent("b.mb", Bytes(230, 'm')));
    ContainerReport report = ReadContainer(Container({stored, compressed}));
    ASSERT_TRUE(report.Sound());
    uint32_t total = stored.size() + compressed.size();
    EXPECT_EQ(total / 100, report.progressRange);
    // One step at the compressed member's first token for the whole stored
    // member, then one per hundred of its own bytes.
    EXPECT_EQ(1 + compressed.size() / 100, report.progressSteps);
}

struct BrokenCase {
    const char* what;
    std::function<Bytes()> make;
    const char* fault;  // a piece of the expected report
};

class BrokenContainerTest : public testing::TestWithParam<BrokenCase> {};

static std::string AllFaults(const ContainerReport& report)
{
    std::string all;
    for (const std::string& fault : report.faults)
        all += fault + "\n";
    for (const MemberReport& member : report.members) {
        for (const std::string& fault : member.faults)
            all += fault + "\n";
    }
    return all;
}

TEST_P(BrokenContainerTest, IsReported)
{
    const BrokenCase& c = GetParam();
    ContainerReport report = ReadContainer(c.make());
    EXPECT_FALSE(report.Sound());
    EXPECT_NE(std::string::npos, AllFaults(report).find(c.fault)) << AllFaults(report);
}

static Bytes WithCount(Bytes file, uint16_t count)
{
    file[file.size() - 2] = (uint8_t)count;
    file[file.size() - 1] = (uint8_t)(count >> 8);
    return file;
}

INSTANTIATE_TEST_SUITE_P(Rules, BrokenContainerTest, testing::Values(
    BrokenCase{"eleven members",
        [] { return Container(std::vector<Bytes>(11, MemberContent("a.wav", Bytes()))); }, "more than 10"},
    BrokenCase{"a count larger than the file",
        [] { return WithCount(Container({}), 5); }, "size table does not fit"},
    BrokenCase{"sizes larger than the file",
        [] {
            Bytes file = Container({MemberContent("a.wav", Bytes(4, 1))});
            file[file.size() - 6] = 100;
            return file;
        }, "add up to more than the file"},
    BrokenCase{"a file shorter than the count", [] { return Bytes{7}; }, "too short"},
    BrokenCase{"a member without a NUL", [] { return Container({Text("no-nul.wav")}); }, "no NUL byte"},
    BrokenCase{"a name without '.'",
        [] { return Container({AllLiterals(MemberContent("readme", Text("text")))}); }, "not a bare file name"},
    BrokenCase{"a name with a folder part",
        [] { return Container({AllLiterals(MemberContent("..\\x.mb", Text("text")))}); }, "not a bare file name"},
    BrokenCase{"a name that the install would write without its '.'",
        [] { return Container({AllLiterals(MemberContent("x.mb.", Text("text")))}); }, "not a bare file name"},
    BrokenCase{"a device name",
        [] { return Container({AllLiterals(MemberContent("Lpt1.mb", Text("text")))}); }, "not a bare file name"},
    BrokenCase{"a \"wa\" member compressed",
        [] { return Container({AllLiterals(MemberContent("abcdefg.wav", Text("RIFF")))}); }, "is compressed"},
    BrokenCase{"an expansion of more than four times",
        [] {
            Bytes content = MemberContent("zub.exe", Bytes(5000, 0));
            return Container({WriteStream(content, ParseOptimal(FindLongestMatches(content), 17, 8))});
        }, "more than four times"},
    BrokenCase{"a compressed member of one byte", [] { return Container({Bytes{0xFF}}); }, "fewer than 2 bytes"}));

// A setup signed after packing reads as the unsigned one; what would install
// nothing is told apart from an empty container that is all the file holds.
struct EndCase {
    const char* what;
    std::function<Bytes()> make;
    size_t members;
    const char* signature;  // a piece of its description
    const char* fault;      // a piece of what keeps it from installing; "" for none
};

class ContainerEndFileTest : public testing::TestWithParam<EndCase> {};

TEST_P(ContainerEndFileTest, ReadsAsTheInstallDoes)
{
    const EndCase& c = GetParam();
    ContainerReport report = ReadContainer(c.make());
    EXPECT_EQ(c.members, report.members.size());
    EXPECT_NE(std::string::npos, DescribeSignature(report).find(c.signature)) << DescribeSignature(report);
    std::string faults;
    for (const std::string& fault : CheckInstallsSomething(report))
        faults += fault + "\n";
    if (*c.fault)
        EXPECT_NE(std::string::npos, faults.find(c.fault)) << faults;
    else
        EXPECT_EQ("", faults);
}

static Bytes PackedImage(bool sign, const Bytes& between = Bytes())
{
    Bytes file = TestImage();
    file.insert(file.end(), between.begin(), between.end());
    AppendContainer(file, {MemberContent("a.wav", Bytes(10, 1)), AllLiterals(MemberContent("b.mb", Text("bb")))});
    if (sign)
        AppendSignature(file, (8 - file.size() % 8) % 8);
    return file;
}

static Bytes EmptyImage(bool sign, const Bytes& between)
{
    Bytes file = TestImage();
    file.insert(file.end(), between.begin(), between.end());
    file.insert(file.end(), {0, 0});
    if (sign)
        AppendSignature(file, 2);
    return file;
}

INSTANTIATE_TEST_SUITE_P(Files, ContainerEndFileTest, testing::Values(
    EndCase{"unsigned", [] { return PackedImage(false); }, 2, "not signed", ""},
    EndCase{"signed after packing", [] { return PackedImage(true); }, 2, "bytes in front of it", ""},
    EndCase{"signed with a container that does not start at the image's end",
        [] { return PackedImage(true, Bytes(3, 0x90)); }, 0, "no container ends", "the file is signed, but"},
    EndCase{"an empty container, all the file holds", [] { return EmptyImage(false, {}); }, 0, "not signed", ""},
    EndCase{"an empty container, signed", [] { return EmptyImage(true, {}); }, 0, "bytes in front of it", ""},
    EndCase{"an empty container behind more bytes",
        [] { return EmptyImage(false, Bytes(9, 0x41)); }, 0, "not signed", "11 bytes follow the image"},
    EndCase{"a table entry that does not close the file",
        [] { Bytes f = PackedImage(true); f.push_back(0); return f; }, 0, "does not close the file", ""}));
