// Reading the container's trailer and telling a member's form.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "payload/container.h"

typedef std::vector<uint8_t> Bytes;

static Bytes SizeTable(const std::vector<uint32_t>& sizes)
{
    Bytes table;
    for (uint32_t size : sizes) {
        for (int k = 0; k < 4; k++)
            table.push_back((uint8_t)(size >> 8 * k));
    }
    return table;
}

struct TrailerCase {
    const char* what;
    uint32_t fileSize;
    std::vector<uint32_t> sizes;
    uint32_t memberCount;  // as read from the count field
    int located;
    uint32_t firstMember;
};

class TrailerTest : public testing::TestWithParam<TrailerCase> {};

TEST_P(TrailerTest, LocatesTheMembersOnlyWhenTheyFit)
{
    const TrailerCase& c = GetParam();
    Bytes table = SizeTable(c.sizes);
    table.push_back(0);  // keeps data() valid for an empty table
    uint32_t firstMember = 0xDEADBEEF;
    EXPECT_EQ(c.located, LocateFirstMember(c.fileSize, c.memberCount, table.data(), &firstMember));
    if (c.located) {
        EXPECT_EQ(c.firstMember, firstMember);
    }
}

INSTANTIATE_TEST_SUITE_P(Trailers, TrailerTest, testing::Values(
    TrailerCase{"the shipped payload starts behind the 0xC000-byte image", 1110521,
        {633371, 202637, 61121, 62882, 2350, 5832, 93146}, 7, 1, 0xC000},
    TrailerCase{"no members", 100, {}, 0, 1, 98},
    TrailerCase{"a container with nothing in front", 16, {2, 4}, 2, 1, 0},
    TrailerCase{"ten members", 100, {1, 1, 1, 1, 1, 1, 1, 1, 1, 1}, 10, 1, 48},
    TrailerCase{"eleven members", 1000, {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}, 11, 0, 0},
    TrailerCase{"a count of 65535", 1000, {}, 65535, 0, 0},
    TrailerCase{"sizes one byte more than the file holds", 16, {3, 4}, 2, 0, 0},
    TrailerCase{"sizes whose 32-bit sum wraps to what would fit", 100, {0xFFFFFFFFu, 2}, 2, 0, 0},
    TrailerCase{"a table longer than the file", 9, {0, 0}, 2, 0, 0},
    TrailerCase{"a file of one byte", 1, {}, 0, 0, 0}));

TEST(TrailerTest, PlacesTheSizeTableInFrontOfTheCount)
{
    uint32_t offset = 0;
    EXPECT_EQ(1, LocateSizeTable(1110521, 7, &offset));
    EXPECT_EQ(1110521u - 2 - 28, offset);
    EXPECT_EQ(1, LocateSizeTable(2, 0, &offset));
    EXPECT_EQ(0u, offset);
    EXPECT_EQ(0, LocateSizeTable(5, 1, &offset));
}

TEST(TrailerTest, ReadsLittleEndianIntegers)
{
    Bytes bytes = {0x07, 0x00, 0x1B, 0xAA, 0x09, 0x00};
    EXPECT_EQ(7u, ReadLe16(bytes.data()));
    EXPECT_EQ(0x0009AA1Bu, ReadLe32(bytes.data() + 2));
}

struct MemberCase {
    const char* what;
    std::string bytes;
    uint32_t nameLength;  // with the NUL
    uint32_t extension;   // FindExtension over the name and its NUL
    int stored;
};

class MemberTest : public testing::TestWithParam<MemberCase> {};

TEST_P(MemberTest, ReadsNameAndForm)
{
    const MemberCase& c = GetParam();
    const uint8_t* bytes = (const uint8_t*)c.bytes.data();
    // Its own exact allocation, so that ASan sees a read past the member.
    Bytes member(bytes, bytes + c.bytes.size());
    EXPECT_EQ(c.nameLength, MemberNameLength(member.data(), member.size()));
    EXPECT_EQ(c.extension, FindExtension(member.data(), c.nameLength));
    EXPECT_EQ(c.stored, IsStoredMember(member.data(), member.size()));
}

INSTANTIATE_TEST_SUITE_P(Members, MemberTest, testing::Values(
    MemberCase{"a stored sound", std::string("x.wav\0RIFF", 10), 6, 2, 1},
    MemberCase{"an extension of just \"wa\"", std::string("x.wa\0", 5), 5, 2, 1},
    MemberCase{"an upper-case extension", std::string("x.WAV\0", 6), 6, 2, 0},
    MemberCase{"the first '.' decides", std::string("a.b.wav\0", 8), 8, 2, 0},
    MemberCase{"a NUL between 'w' and 'a'", std::string("x.w\0a", 5), 4, 2, 0},
    MemberCase{"a name ending in '.'", std::string("x.\0wa", 5), 3, 2, 0},
    MemberCase{"a compressed member's leading bytes", std::string("\xFFqmx.mb\0\xFF", 9), 8, 5, 0},
    MemberCase{"no NUL at all", std::string("x.wav"), 0, 0, 0},
    MemberCase{"no '.' in the name", std::string("readme\0.wav", 11), 7, 0, 0},
    MemberCase{"an empty name", std::string("\0.wa", 4), 1, 0, 0},
    MemberCase{"an empty member", std::string(), 0, 0, 0}));

// A PE file's first bytes: the DOS header's pointer at 0x3C, "PE\0\0", the
// file header (section count, optional header size), SizeOfHeaders at 60 in
// the optional header, and one 40-byte row per section.
static Bytes PeHeaders(uint32_t headersSize, const std::vector<std::pair<uint32_t, uint32_t>>& sections,
                       uint32_t optionalSize = 224)
{
    const uint32_t pe = 0x80;
    Bytes bytes(pe + 24 + optionalSize + 40 * sections.size(), 0);
    auto put32 = [&](uint32_t at, uint32_t value) {
        for (int k = 0; k < 4; k++)
            bytes[at + k] = (uint8_t)(value >> (8 * k));
    };
    bytes[0] = 'M', bytes[1] = 'Z';
    put32(0x3C, pe);
    put32(pe, 0x00004550);
    bytes[pe + 6] = (uint8_t)sections.size();
    bytes[pe + 20] = (uint8_t)optionalSize, bytes[pe + 21] = (uint8_t)(optionalSize >> 8);
    put32(pe + 24 + 60, headersSize);
    for (size_t k = 0; k < sections.size(); k++) {
        uint32_t row = pe + 24 + optionalSize + 40 * k;
        put32(row + 16, sections[k].second);  // SizeOfRawData
        put32(row + 20, sections[k].first);   // PointerToRawData
    }
    return bytes;
}

// The image ends behind its farthest section, whatever their order; a
// section without raw data counts for nothing. Headers that are not whole
// within the bytes given, or a section reaching past 4 GiB, give 0.
TEST(ImageFileEnd, EndsBehindTheFarthestSection)
{
    Bytes image = PeHeaders(0x400, {{0x1400, 0x200}, {0x400, 0x1000}, {0x9000, 0}});
    EXPECT_EQ(0x1600u, ImageFileEnd(image.data(), image.size()));
    Bytes headersOnly = PeHeaders(0x400, {});
    EXPECT_EQ(0x400u, ImageFileEnd(headersOnly.data(), headersOnly.size()));

    EXPECT_EQ(0u, ImageFileEnd(image.data(), image.size() - 1));  // the last row cut
    EXPECT_EQ(0u, ImageFileEnd(image.data(), 0x40));
    Bytes notMz = image;
    notMz[0] = 'X';
    EXPECT_EQ(0u, ImageFileEnd(notMz.data(), notMz.size()));
    Bytes notPe = image;
    notPe[0x81] = 'X';
    EXPECT_EQ(0u, ImageFileEnd(notPe.data(), notPe.size()));
    Bytes farPointer = image;
    farPointer[0x3C + 3] = 0x7F;
    EXPECT_EQ(0u, ImageFileEnd(farPointer.data(), farPointer.size()));
    Bytes wrapping = PeHeaders(0x400, {{0xFFFFFF00u, 0x200}});
    EXPECT_EQ(0u, ImageFileEnd(wrapping.data(), wrapping.size()));
    Bytes shortOptional = PeHeaders(0x400, {{0x400, 0x200}}, 40);
    EXPECT_EQ(0u, ImageFileEnd(shortOptional.data(), shortOptional.size()));
}
