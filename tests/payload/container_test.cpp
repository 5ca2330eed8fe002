// Finding the container's end, reading its trailer and telling a member's form.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "payload/container.h"
#include "tests/payload/signed_image.h"

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

// What the install and the packer do: the layout from the file's first bytes
// and the end from the trailer, each read into an exact allocation of its
// own, so that ASan sees a read past either.
static uint32_t ContainerEnd(const Bytes& file, ImageLayout* layout, uint32_t headerLength = kImageHeadersRead)
{
    if (headerLength > file.size())
        headerLength = (uint32_t)file.size();
    Bytes headers(file.begin(), file.begin() + headerLength);
    ReadImageLayout(headers.data(), headerLength, (uint32_t)file.size(), layout);
    EXPECT_LE(layout->trailerOffset, file.size());
    EXPECT_LE(layout->trailerLength, file.size() - layout->trailerOffset);
    Bytes trailer(file.begin() + layout->trailerOffset, file.begin() + layout->trailerOffset + layout->trailerLength);
    return LocateContainerEnd(layout, trailer.data());
}

// Every member count with every padding a signing tool adds; the sizes make
// the padding the one that rounds the file to a multiple of 8.
TEST(ContainerEndTest, IsFoundInFrontOfTheSignatureForEveryPadding)
{
    for (uint32_t memberCount = 1; memberCount <= kMaxMembers; memberCount++) {
        for (uint32_t padding = 0; padding <= kMaxSignPadding; padding++) {
            bool pe32Plus = padding % 2;
            std::vector<uint32_t> sizes;
            uint32_t length = kCountFieldSize + kSizeFieldSize * memberCount;
            for (uint32_t k = 0; k + 1 < memberCount; k++) {
                sizes.push_back(3 * k + 1);
                length += sizes.back();
            }
            sizes.push_back(9 + (16 - (length + 9 + padding) % 8) % 8);
            Bytes file = TestImage(pe32Plus);
            AppendTestContainer(file, sizes);
            uint32_t end = (uint32_t)file.size();
            ASSERT_EQ(0u, (end + padding) % 8);
            AppendSignature(file, padding, 1200 + 8 * padding, pe32Plus);

            ImageLayout layout;
            EXPECT_EQ(end, ContainerEnd(file, &layout)) << memberCount << " members, padding " << padding;
            EXPECT_EQ(1, layout.signedAtEnd);
            EXPECT_EQ((uint32_t)kTestImageEnd, layout.imageEnd);
            EXPECT_EQ(end + padding, layout.tableOffset);
        }
    }
}

struct UnsignedCase {
    const char* what;
    std::function<void(Bytes&)> change;  // of a signed file with 3 members and 4 bytes of padding
    int signedAtEnd;
};

class UnsignedEndTest : public testing::TestWithParam<UnsignedCase> {};

// Read from the end of the file, as an unsigned file is.
TEST_P(UnsignedEndTest, IsTheEndOfTheFile)
{
    Bytes file = TestImage();
    AppendTestContainer(file, {5, 7, 20});
    AppendSignature(file, 4);
    GetParam().change(file);
    ImageLayout layout;
    EXPECT_EQ(file.size(), ContainerEnd(file, &layout));
    EXPECT_EQ(GetParam().signedAtEnd, layout.signedAtEnd);
}

static const uint32_t kSignedTable = CertificateEntry(false);

INSTANTIATE_TEST_SUITE_P(Files, UnsignedEndTest, testing::Values(
    UnsignedCase{"no certificate table", [](Bytes& f) { PutLe(f, kSignedTable, 0, 4); PutLe(f, kSignedTable + 4, 0, 4); }, 0},
    UnsignedCase{"bytes behind the table", [](Bytes& f) { f.push_back(0); }, 0},
    UnsignedCase{"a table entry one byte longer than the file",
        [](Bytes& f) { PutLe(f, kSignedTable + 4, 1201, 4); }, 0},
    UnsignedCase{"a table entry past the end of the file",
        [](Bytes& f) { PutLe(f, kSignedTable, (uint32_t)f.size() + 8, 4); }, 0},
    UnsignedCase{"a table entry whose end wraps past 4 GB",
        [](Bytes& f) { PutLe(f, kSignedTable, 0xFFFFFF00u, 4); PutLe(f, kSignedTable + 4, 0x200, 4); }, 0},
    UnsignedCase{"a table that closes the file from inside the image",
        [](Bytes& f) { PutLe(f, kSignedTable, 0x100, 4); PutLe(f, kSignedTable + 4, (uint32_t)f.size() - 0x100, 4); }, 0},
    UnsignedCase{"a section that ends past 4 GB",
        [](Bytes& f) { PutLe(f, kTestSectionTable + 20, 0xFFFFFF00u, 4); }, 0},
    UnsignedCase{"an optional header too short for data directory 4",
        [](Bytes& f) { PutLe(f, 0x40 + 20, 96 + 32, 2); }, 0},
    UnsignedCase{"four data directories",
        [](Bytes& f) { PutLe(f, kTestOptionalHeader + 92, 4, 4); }, 0},
    UnsignedCase{"a section table past the headers read",
        [](Bytes& f) { PutLe(f, 0x40 + 6, 0xFFFF, 2); }, 0},
    UnsignedCase{"a PE offset past the headers read", [](Bytes& f) { PutLe(f, 0x3C, 0xFFFFFFF0u, 4); }, 0},
    UnsignedCase{"no MZ", [](Bytes& f) { f[1] = 'X'; }, 0},
    UnsignedCase{"eight bytes of padding", [](Bytes& f) { f.insert(f.begin() + f.size() - 1200, 4, 0);
        PutLe(f, kSignedTable, (uint32_t)f.size() - 1200, 4); }, 1},
    UnsignedCase{"a container that starts a byte behind the image",
        [](Bytes& f) { f.insert(f.begin() + kTestImageEnd, 0x90); PutLe(f, kSignedTable, (uint32_t)f.size() - 1200, 4); }, 1},
    UnsignedCase{"sizes that do not reach the image", [](Bytes& f) { f[f.size() - 1200 - 4 - 6] = 19; }, 1}));

// The headers cut at every length are read within what was read: ASan
// would see a read past them.
TEST(ContainerEndTest, HeadersCutAtAnyLengthStayBounded)
{
    Bytes file = TestImage(true);
    AppendTestContainer(file, {5, 7, 20});
    uint32_t end = (uint32_t)file.size();
    AppendSignature(file, 3, 1200, true);
    uint32_t sectionsEnd = kTestOptionalHeader + 240 + 2 * 40;
    for (uint32_t length = 0; length <= kTestImageEnd; length++) {
        ImageLayout layout;
        EXPECT_EQ(length < sectionsEnd ? file.size() : end, ContainerEnd(file, &layout, length)) << length;
    }
}

// The kept uninstaller is the image of a setup that may have been signed: its
// copy names no certificate table past its end. Nothing else changes, and
// headers cut short are left as they are.
TEST(ForgetCertificateTableTest, EmptiesOnlyTheEntry)
{
    for (bool pe32Plus : {false, true}) {
        Bytes file = TestImage(pe32Plus);
        AppendTestContainer(file, {10, 20});
        AppendSignature(file, 3, 1200, pe32Plus);
        Bytes image(file.begin(), file.begin() + kTestImageEnd);
        Bytes expected = image;
        for (uint32_t k = 0; k < 8; k++)
            expected[CertificateEntry(pe32Plus) + k] = 0;
        ForgetCertificateTable(image.data(), (uint32_t)image.size());
        EXPECT_EQ(expected, image) << pe32Plus;
        ImageLayout layout;
        ReadImageLayout(image.data(), (uint32_t)image.size(), (uint32_t)image.size(), &layout);
        EXPECT_EQ(0u, layout.tableSize);
        EXPECT_EQ((uint32_t)kTestImageEnd, layout.imageEnd);

        Bytes cut(file.begin(), file.begin() + CertificateEntry(pe32Plus) + 4);
        Bytes cutBefore = cut;
        ForgetCertificateTable(cut.data(), (uint32_t)cut.size());
        EXPECT_EQ(cutBefore, cut);
    }
}
