// Which keyboard-layout entries are the product's: the IME file named alone
// or at the end of a path in any letter case, GBK names compared as stored,
// the layout text byte for byte, and the gathering's bounds.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "keyboard/layout_match.h"

namespace {

struct NameCase {
    const char* value;
    const char* fileName;
    int names;
};

class NamesImeFileTest : public testing::TestWithParam<NameCase> {};

TEST_P(NamesImeFileTest, ComparesTheFileNamePart)
{
    EXPECT_EQ(GetParam().names, NamesImeFile(GetParam().value, GetParam().fileName))
        << GetParam().value << " / " << GetParam().fileName;
}

// "\xB1\x5C" is a GBK character whose second byte is a backslash, and
// "\xB1\x41" and "\xB1\x61" two characters that differ only in a second byte
// that reads as a letter.
INSTANTIATE_TEST_SUITE_P(Names, NamesImeFileTest, testing::Values(
    NameCase{"qmx.ime", "qmx.ime", 1},
    NameCase{"QMX.IME", "qmx.ime", 1},
    NameCase{"C:\\WINDOWS\\SYSTEM\\Qmx.Ime", "qmx.ime", 1},
    NameCase{"C:/windows/system32/qmx.ime", "qmx.ime", 1},
    NameCase{"c:qmx.ime", "qmx.ime", 1},
    NameCase{"C:\\qmx.ime\\other.ime", "qmx.ime", 0},
    NameCase{"xqmx.ime", "qmx.ime", 0},
    NameCase{"qmx.ime ", "qmx.ime", 0},
    NameCase{"qmx.im", "qmx.ime", 0},
    NameCase{"qmx.imex", "qmx.ime", 0},
    NameCase{"", "qmx.ime", 0},
    NameCase{"qmx.ime", "", 0},
    NameCase{"", "", 0},
    NameCase{"C:\\\xB1\x5Cqmx.ime", "\xB1\x5Cqmx.ime", 1},
    NameCase{"C:\\\xB1\x5Cqmx.ime", "qmx.ime", 0},
    NameCase{"\xB1\x41.ime", "\xB1\x41.ime", 1},
    NameCase{"\xB1\x41.ime", "\xB1\x61.ime", 0},
    NameCase{"qmx.ime\xB1", "qmx.ime\xB1", 1},
    NameCase{"qmx.ime\xB1", "qmx.ime", 0}));

const char kText[] = "\xD6\xC7\xC4\xDCQumo";  // a product text with GBK bytes

TEST(NoteLayoutEntry, KeepsTheProductsEntriesInOrderUpToTheLimit)
{
    ProductLayouts layouts;
    StartProductLayouts(&layouts, kMaxProductLayouts);
    struct Entry {
        const char* id;
        const char* imeFile;
        const char* text;
    };
    const std::vector<Entry> entries = {
        {"00000409", "", "US"},
        {"e0020804", "C:\\windows\\system32\\qmx.ime", kText},
        {"e0030804", "QMX.IME", "other text"},
        {"e0040804", "other.ime", kText},
        {"e0050804", "other.ime", "\xD6\xC7\xC4\xDCqumo"},  // one letter's case apart
        {"e0060804", "", ""},
        {"a\\b", "qmx.ime", kText},  // names no single subkey
    };
    for (const Entry& e : entries)
        EXPECT_EQ(1, NoteLayoutEntry(&layouts, e.id, e.imeFile, e.text, "qmx.ime", kText)) << e.id;
    ASSERT_EQ(3, layouts.count);
    EXPECT_STREQ("e0020804", layouts.ids[0]);
    EXPECT_STREQ("e0030804", layouts.ids[1]);
    EXPECT_STREQ("e0040804", layouts.ids[2]);
}

TEST(NoteLayoutEntry, AnEmptyProductTextMatchesNoEmptyText)
{
    ProductLayouts layouts;
    StartProductLayouts(&layouts, kMaxProductLayouts);
    NoteLayoutEntry(&layouts, "e0020804", "", "", "qmx.ime", "");
    EXPECT_EQ(0, layouts.count);
}

TEST(NoteLayoutEntry, StopsTheWalkOnceFullAndNeverWritesPastTheTable)
{
    ProductLayouts layouts;
    StartProductLayouts(&layouts, 1);
    EXPECT_EQ(1, NoteLayoutEntry(&layouts, "00000409", "", "", "qmx.ime", kText));
    EXPECT_EQ(0, NoteLayoutEntry(&layouts, "e0020804", "qmx.ime", "", "qmx.ime", kText));
    EXPECT_EQ(1, layouts.count);

    StartProductLayouts(&layouts, kMaxProductLayouts + 5);
    int more = 1;
    for (int k = 0; more; ++k) {
        ASSERT_LT(k, kMaxProductLayouts + 1);
        std::string id = "e" + std::to_string(k);
        more = NoteLayoutEntry(&layouts, id.c_str(), "qmx.ime", "", "qmx.ime", kText);
    }
    EXPECT_EQ(kMaxProductLayouts, layouts.count);

    // A name too long for layoutId is not kept cut short.
    StartProductLayouts(&layouts, kMaxProductLayouts);
    NoteLayoutEntry(&layouts, std::string(kLayoutIdSize, 'e').c_str(), "qmx.ime", "", "qmx.ime", kText);
    EXPECT_EQ(0, layouts.count);
}

}  // namespace
