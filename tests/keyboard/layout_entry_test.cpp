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

TEST_F(LayoutEntryTest, CheckModeFindsTheEntryAndChangesNothing)
{
    AddLayout("E0FF0001", Text("Other"));
    AddLayout("E0FF0002", Text(kProductText));
    AddLayout("E0FF0003", Text("Third"));
    auto before = Layouts();
    EXPECT_EQ(1, Find(1));
    EXPECT_STREQ("E0FF0002", setupState.layoutId);
    EXPECT_EQ(before, Layouts());
}

TEST_F(LayoutEntryTest, DeleteModeDeletesTheEntryAndKeepsItsName)
{
    AddLayout("E0FF0001", Text("Other"));
    AddLayout("E0FF0002", Text(kProductText));
    AddLayout("E0FF0003", Text("Third"));
    auto expected = Layouts();
    expected.erase("E0FF0002");
    EXPECT_EQ(1, Find(0));
    EXPECT_STREQ("E0FF0002", setupState.layoutId);
    EXPECT_EQ(expected, Layouts());
}

class LayoutModeTest : public LayoutEntryTest, public testing::WithParamInterface<int> {};

TEST_P(LayoutModeTest, NoMatchClearsTheIdentifierAndChangesNothing)
{
    AddLayout("E0FF0001", Text("Other"));
    auto before = Layouts();
    EXPECT_EQ(0, Find(GetParam()));
    EXPECT_STREQ("", setupState.layoutId);
    EXPECT_EQ(before, Layouts());
}

TEST_P(LayoutModeTest, OnlyTheFirstOfTwoMatchesCounts)
{
    AddLayout("E0FF0001", Text(kProductText));
    AddLayout("E0FF0002", Text(kProductText));
    auto expected = Layouts();
    if (GetParam() == 0)
        expected.erase("E0FF0001");
    EXPECT_EQ(1, Find(GetParam()));
    EXPECT_STREQ("E0FF0001", setupState.layoutId);
    EXPECT_EQ(expected, Layouts());
}

// Without the layouts key there is nothing to search, and the identifier is
// left as it was.
TEST_P(LayoutModeTest, MissingLayoutsKeyLeavesTheIdentifier)
{
    ASSERT_TRUE(SubkeyNames(HKEY_LOCAL_MACHINE, kLayoutsPath).empty()) << "layouts exist in this prefix";
    DeleteTree(HKEY_LOCAL_MACHINE, kLayoutsPath);
    ASSERT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kLayoutsPath));
    EXPECT_EQ(0, Find(GetParam()));
    EXPECT_STREQ("stale", setupState.layoutId);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kLayoutsPath));
}

INSTANTIATE_TEST_SUITE_P(Modes, LayoutModeTest, testing::Values(1, 0),
                         [](const testing::TestParamInfo<int>& info) {
                             return info.param ? "Check" : "Delete";
                         });

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
    EXPECT_EQ(1, Find(1));
    EXPECT_STREQ(GetParam().matches ? "E0FF0001" : "E0FF0002", setupState.layoutId);
}

std::string PrintTitle(const testing::TestParamInfo<TextCase>& info)
{
    return info.param.title;
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
    PrintTitle);

// The value's registry type plays no part: its bytes do.
INSTANTIATE_TEST_SUITE_P(ValueTypes, LayoutTextTest, testing::Values(
    TextCase{"String", Text(kProduct), true},
    TextCase{"StringWithoutNul", RegValue{REG_SZ, kProduct}, true},
    TextCase{"Expandable", RegValue{REG_EXPAND_SZ, kProduct + '\0'}, true},
    TextCase{"BinaryWithNul", RegValue{REG_BINARY, kProduct + '\0'}, true},
    TextCase{"BinaryWithoutNul", RegValue{REG_BINARY, kProduct}, true},
    TextCase{"BinaryNulThenMore", RegValue{REG_BINARY, kProduct + std::string("\0xy", 3)}, true}),
    PrintTitle);

// The value query takes 20 bytes: 19 characters and the NUL are read and
// compared in full, 20 characters are never compared.
TEST_F(LayoutEntryTest, NineteenCharacterTextIsCompared)
{
    lstrcpyA(setupState.layoutText, "ABCDEFGHIJKLMNOPQRS");
    AddLayout("E0FF0001", Text("ABCDEFGHIJKLMNOPQRX"));
    AddLayout("E0FF0002", Text("ABCDEFGHIJKLMNOPQRS"));
    EXPECT_EQ(1, Find(1));
    EXPECT_STREQ("E0FF0002", setupState.layoutId);
}

TEST_F(LayoutEntryTest, TwentyCharacterTextIsNeverCompared)
{
    lstrcpyA(setupState.layoutText, "ABCDEFGHIJKLMNOPQRST");
    AddLayout("E0FF0001", Text("ABCDEFGHIJKLMNOPQRST"));
    AddLayout("E0FF0002", RegValue{REG_SZ, "ABCDEFGHIJKLMNOPQRST"});
    AddLayout("E0FF0003", RegValue{REG_BINARY, "ABCDEFGHIJKLMNOPQRST"});
    EXPECT_EQ(0, Find(0));
    EXPECT_STREQ("", setupState.layoutId);
    EXPECT_EQ(3u, SubkeyNames(HKEY_LOCAL_MACHINE, kLayoutsPath).size() - layoutsBefore.size());
}

// The name is enumerated into the 20-byte identifier: 19 characters fit, and
// a name of 20 ends the walk, so a match behind it is not found.
TEST_F(LayoutEntryTest, NineteenCharacterNameIsFound)
{
    AddLayout("000000000000000000A", Text(kProductText));
    EXPECT_EQ(1, Find(1));
    EXPECT_STREQ("000000000000000000A", setupState.layoutId);
}

TEST_F(LayoutEntryTest, TwentyCharacterNameEndsTheWalk)
{
    AddLayout("0000000000000000000A", Text("Other"));
    AddLayout("E0FF0002", Text(kProductText));
    ASSERT_EQ("0000000000000000000A", SubkeyNames(HKEY_LOCAL_MACHINE, kLayoutsPath).front());
    auto before = Layouts();
    EXPECT_EQ(0, Find(0));
    EXPECT_STREQ("", setupState.layoutId);
    EXPECT_EQ(before, Layouts());
}

}  // namespace
