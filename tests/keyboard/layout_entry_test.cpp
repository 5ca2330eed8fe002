// FindLayoutEntry against Wine's machine registry: entries are made with the
// registry calls, the lookup runs, and the layouts are read back. The value
// is stored as "Layout Text", as Wine names it, and looked up as "layout
// text". Every entry a test makes is removed after it.
#include <gtest/gtest.h>

#include "common/setup_state.h"
#include "keyboard/keyboard.h"
#include "tests/keyboard/registry_helpers.h"

namespace {

using LayoutEntryTest = RegistryTest;

template <typename Case>
std::string PrintTitle(const testing::TestParamInfo<Case>& info)
{
    return info.param.title;
}

// The entries made in order, and the one found: its name is left in the
// identifier (emptied when none matches), and no entry changes.
struct FindCase {
    const char* title;
    std::vector<std::pair<const char*, std::string>> entries;
    const char* found;
};

class LayoutFindTest : public LayoutEntryTest, public testing::WithParamInterface<FindCase> {};

TEST_P(LayoutFindTest, FindsTheFirstMatchAndChangesNothing)
{
    for (const auto& entry : GetParam().entries)
        AddLayout(entry.first, Text(entry.second));
    auto before = Layouts();
    EXPECT_EQ(GetParam().found[0] ? 1 : 0, Find());
    EXPECT_STREQ(GetParam().found, setupState.layoutId);
    EXPECT_EQ(before, Layouts());
}

INSTANTIATE_TEST_SUITE_P(Entries, LayoutFindTest, testing::Values(
    FindCase{"BetweenOthers", {{"E0FF0001", "Other"}, {"E0FF0002", kProductText}, {"E0FF0003", "Third"}}, "E0FF0002"},
    FindCase{"NoMatch", {{"E0FF0001", "Other"}}, ""},
    FindCase{"FirstOfTwoMatches", {{"E0FF0001", kProductText}, {"E0FF0002", kProductText}}, "E0FF0001"}),
    PrintTitle<FindCase>);

// Without the layouts key there is nothing to search, and the identifier is
// left as it was.
TEST_F(LayoutEntryTest, MissingLayoutsKeyLeavesTheIdentifier)
{
    ASSERT_TRUE(SubkeyNames(HKEY_LOCAL_MACHINE, kLayoutsPath).empty()) << "layouts exist in this prefix";
    DeleteTree(HKEY_LOCAL_MACHINE, kLayoutsPath);
    ASSERT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kLayoutsPath));
    EXPECT_EQ(0, Find());
    EXPECT_STREQ("stale", setupState.layoutId);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kLayoutsPath));
}

// A layout text ahead of a real match: either it matches first, or it is
// passed over for the real one.
struct TextCase {
    const char* title;
    RegValue text;
    bool matches;
};

class LayoutTextTest : public LayoutEntryTest, public testing::WithParamInterface<TextCase> {};

TEST_P(LayoutTextTest, MatchesOnlyTheSameBytes)
{
    AddLayout("E0FF0001", GetParam().text);
    AddLayout("E0FF0002", Text(kProductText));
    EXPECT_EQ(1, Find());
    EXPECT_STREQ(GetParam().matches ? "E0FF0001" : "E0FF0002", setupState.layoutId);
}

const std::string kProduct = kProductText;

INSTANTIATE_TEST_SUITE_P(NearMisses, LayoutTextTest, testing::Values(
    TextCase{"LetterCase", Text("智能QUMO输入法"), false},
    TextCase{"TrailingBlank", Text(kProduct + " "), false},
    TextCase{"ExtraByte", Text(kProduct + "\xA1"), false},
    TextCase{"LastByteMissing", Text(kProduct.substr(0, kProduct.size() - 1)), false},
    TextCase{"PaddedToTwentyBytes", Text(kProduct + "      "), false},
    // Exactly the 20 bytes the query takes, without a NUL: too long.
    TextCase{"FillsTheBufferWithoutNul", RegValue{REG_SZ, kProduct + "ABCDEF"}, false},
    TextCase{"WideText", RegValue{REG_BINARY, std::string((const char*)L"智能Qumo输入法", 20)}, false}),
    PrintTitle<TextCase>);

// The NT family keeps a layout text as Unicode text: any text type is read
// as Unicode and compared in GBK, and bytes of another type are no text.
INSTANTIATE_TEST_SUITE_P(ValueTypes, LayoutTextTest, testing::Values(
    TextCase{"String", Text(kProduct), true},
    TextCase{"StringWithoutNul", RegValue{REG_SZ, kProduct}, true},
    TextCase{"Expandable", RegValue{REG_EXPAND_SZ, kProduct + '\0'}, true},
    TextCase{"BinaryWithNul", RegValue{REG_BINARY, kProduct + '\0'}, false},
    TextCase{"BinaryWithoutNul", RegValue{REG_BINARY, kProduct}, false},
    TextCase{"BinaryNulThenMore", RegValue{REG_BINARY, kProduct + std::string("\0xy", 3)}, false}),
    PrintTitle<TextCase>);

// The value query takes 20 bytes: 19 characters and the NUL are read and
// compared in full, 20 characters are never compared.
TEST_F(LayoutEntryTest, NineteenCharacterTextIsCompared)
{
    lstrcpyA(setupState.layoutText, "ABCDEFGHIJKLMNOPQRS");
    AddLayout("E0FF0001", Text("ABCDEFGHIJKLMNOPQRX"));
    AddLayout("E0FF0002", Text("ABCDEFGHIJKLMNOPQRS"));
    EXPECT_EQ(1, Find());
    EXPECT_STREQ("E0FF0002", setupState.layoutId);
}

TEST_F(LayoutEntryTest, TwentyCharacterTextIsNeverCompared)
{
    lstrcpyA(setupState.layoutText, "ABCDEFGHIJKLMNOPQRST");
    AddLayout("E0FF0001", Text("ABCDEFGHIJKLMNOPQRST"));
    AddLayout("E0FF0002", RegValue{REG_SZ, "ABCDEFGHIJKLMNOPQRST"});
    AddLayout("E0FF0003", RegValue{REG_BINARY, "ABCDEFGHIJKLMNOPQRST"});
    EXPECT_EQ(0, Find());
    EXPECT_STREQ("", setupState.layoutId);
    EXPECT_EQ(3u, SubkeyNames(HKEY_LOCAL_MACHINE, kLayoutsPath).size() - layoutsBefore.size());
}

// The name is enumerated into the 20-byte identifier: 19 characters fit, and
// a name of 20 ends the walk, so a match behind it is not found.
TEST_F(LayoutEntryTest, NineteenCharacterNameIsFound)
{
    AddLayout("000000000000000000A", Text(kProductText));
    EXPECT_EQ(1, Find());
    EXPECT_STREQ("000000000000000000A", setupState.layoutId);
}

TEST_F(LayoutEntryTest, TwentyCharacterNameEndsTheWalk)
{
    AddLayout("0000000000000000000A", Text("Other"));
    AddLayout("E0FF0002", Text(kProductText));
    ASSERT_EQ("0000000000000000000A", SubkeyNames(HKEY_LOCAL_MACHINE, kLayoutsPath).front());
    auto before = Layouts();
    EXPECT_EQ(0, Find());
    EXPECT_STREQ("", setupState.layoutId);
    EXPECT_EQ(before, Layouts());
}

}  // namespace
