// The byte-level text helpers: exact comparison, the atol reading of entry
// names, and the bounds of every copy, append and value ending.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "keyboard/registry_text.h"

namespace {

struct EqualCase {
    const char* reference;
    const char* other;
    int equal;
};

class StringsEqualTest : public testing::TestWithParam<EqualCase> {};

TEST_P(StringsEqualTest, ComparesBytesAsStored)
{
    const EqualCase& c = GetParam();
    EXPECT_EQ(c.equal, StringsEqual(c.reference, c.other));
    EXPECT_EQ(c.equal, StringsEqual(c.other, c.reference));
}

// The product's text as GBK bytes, and near misses of it.
const char kProduct[] = "\xD6\xC7\xC4\xDCQumo\xCA\xE4\xC8\xEB\xB7\xA8";

INSTANTIATE_TEST_SUITE_P(Texts, StringsEqualTest, testing::Values(
    EqualCase{kProduct, "\xD6\xC7\xC4\xDCQumo\xCA\xE4\xC8\xEB\xB7\xA8", 1},
    EqualCase{"", "", 1},
    EqualCase{kProduct, "\xD6\xC7\xC4\xDCQUMO\xCA\xE4\xC8\xEB\xB7\xA8", 0},
    EqualCase{kProduct, "\xD6\xC7\xC4\xDCQumo\xCA\xE4\xC8\xEB\xB7\xA8 ", 0},
    EqualCase{kProduct, "\xD6\xC7\xC4\xDCQumo\xCA\xE4\xC8\xEB\xB7\xA8\xA1", 0},
    EqualCase{kProduct, "\xD6\xC7\xC4\xDCQumo\xCA\xE4\xC8\xEB\xB7", 0},
    EqualCase{kProduct, "\xD6\xC7\xC4\xDCQumo\xCA\xE4\xC8\xEB\xB7\xA9", 0},
    EqualCase{"", "E0200804", 0}));

// Names an entry may carry, read as atol reads them (no overflow here).
class EntryNumberTest : public testing::TestWithParam<const char*> {};

TEST_P(EntryNumberTest, ReadsLikeAtol)
{
    EXPECT_EQ(std::atol(GetParam()), EntryNumber(GetParam())) << '"' << GetParam() << '"';
}

INSTANTIATE_TEST_SUITE_P(Names, EntryNumberTest, testing::Values(
    "2", "02", "+2", "2a", "abc", "", " 7", "\t\n\v\f\r3", "-1", "+-2", "- 2", "-0",
    "000000002", "999999999", "-99999999", "1 2", "12x34", "0x10", "\xA1" "5", "2147483647",
    "-2147483648"));

struct BoundCase {
    const char* name;
    int32_t number;
};

class EntryNumberBoundTest : public testing::TestWithParam<BoundCase> {};

TEST_P(EntryNumberBoundTest, HoldsAtTheNearestBound)
{
    EXPECT_EQ(GetParam().number, EntryNumber(GetParam().name));
}

INSTANTIATE_TEST_SUITE_P(Overflow, EntryNumberBoundTest, testing::Values(
    BoundCase{"2147483648", INT32_MAX},
    BoundCase{"99999999999999999999", INT32_MAX},
    BoundCase{"-2147483649", INT32_MIN},
    BoundCase{"-99999999999999999999", INT32_MIN},
    BoundCase{"  +21474836470", INT32_MAX}));

// A buffer with canary bytes behind its capacity.
struct Guarded {
    static const uint32_t kCapacity = 8;
    char bytes[kCapacity + 4];
    Guarded() { std::memset(bytes, '#', sizeof bytes); }
    bool CanaryIntact() const { return std::string(bytes + kCapacity, 4) == "####"; }
};

TEST(CopyText, FitsWithItsNulOrLeavesTheDestination)
{
    Guarded g;
    ASSERT_EQ(1, CopyText(g.bytes, Guarded::kCapacity, "1234567"));
    EXPECT_STREQ("1234567", g.bytes);
    EXPECT_EQ(0, CopyText(g.bytes, Guarded::kCapacity, "12345678"));
    EXPECT_STREQ("1234567", g.bytes);
    EXPECT_EQ(0, CopyText(g.bytes, 0, "x"));
    EXPECT_TRUE(g.CanaryIntact());
}

TEST(AppendText, ChecksTheRoomLeftBeforeEachAppend)
{
    Guarded g;
    ASSERT_EQ(1, CopyText(g.bytes, Guarded::kCapacity, "ab"));
    EXPECT_EQ(1, AppendText(g.bytes, Guarded::kCapacity, "\\"));
    EXPECT_EQ(0, AppendText(g.bytes, Guarded::kCapacity, "12345"));
    EXPECT_STREQ("ab\\", g.bytes);
    EXPECT_EQ(1, AppendText(g.bytes, Guarded::kCapacity, "1234"));
    EXPECT_STREQ("ab\\1234", g.bytes);
    EXPECT_EQ(0, AppendText(g.bytes, Guarded::kCapacity, "x"));
    EXPECT_EQ(1, AppendText(g.bytes, Guarded::kCapacity, ""));
    EXPECT_TRUE(g.CanaryIntact());
}

TEST(AppendText, RefusesADestinationAlreadyAtItsCapacity)
{
    char bytes[4] = {'a', 'b', 'c', 0};
    EXPECT_EQ(0, AppendText(bytes, 3, ""));
}

struct EndCase {
    const char* data;
    uint32_t length;
    int usable;
    const char* text;
};

class EndValueTextTest : public testing::TestWithParam<EndCase> {};

TEST_P(EndValueTextTest, EndsTheDataOrRejectsIt)
{
    const EndCase& c = GetParam();
    Guarded g;
    std::memcpy(g.bytes, c.data, c.length);
    ASSERT_EQ(c.usable, EndValueText(g.bytes, c.length, Guarded::kCapacity));
    if (c.usable) {
        EXPECT_STREQ(c.text, g.bytes);
    }
    EXPECT_EQ('#', g.bytes[Guarded::kCapacity + 1]);
}

INSTANTIATE_TEST_SUITE_P(Values, EndValueTextTest, testing::Values(
    EndCase{"abc", 4, 1, "abc"},
    EndCase{"abc", 3, 1, "abc"},      // no NUL of its own, room behind it
    EndCase{"", 0, 1, ""},
    EndCase{"1234567", 8, 1, "1234567"},
    EndCase{"12345678", 8, 0, ""},    // fills the buffer with no NUL
    EndCase{"ab\0defgh", 8, 1, "ab"},
    EndCase{"123456789", 9, 0, ""})); // more than was asked for

TEST(IsPlainName, OnlyANameThatAddressesOneSubkey)
{
    EXPECT_EQ(1, IsPlainName("2"));
    EXPECT_EQ(1, IsPlainName("abc"));
    EXPECT_EQ(0, IsPlainName(""));
    EXPECT_EQ(0, IsPlainName("2\\3"));
    EXPECT_EQ(0, IsPlainName("\\"));
}

}  // namespace
