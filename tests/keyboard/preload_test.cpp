// ReorderPreload against Wine's user registry: the Windows 9x form of the
// list (numbered subkeys with default values) is seeded beside the plain
// values that Wine keeps, the rewrite runs, and the whole list is read back.
#include <gtest/gtest.h>

#include "common/setup_state.h"
#include "keyboard/keyboard.h"
#include "tests/keyboard/registry_helpers.h"

namespace {

PreloadItem E(const std::string& name, const std::string& text)
{
    return PreloadItem{name, Text(text)};
}

struct PreloadCase {
    const char* title;
    int install;
    const char* layoutId;
    PreloadList before;
    PreloadList after;
};

std::map<std::string, RegValue> AsMap(const PreloadList& list)
{
    std::map<std::string, RegValue> entries;
    for (const PreloadItem& item : list)
        entries[item.name] = item.valueName ? RegValue{REG_NONE, "(no default value)"} : item.value;
    return entries;
}

// True when the entries are named 1 to n, one each.
bool Gapless(const std::map<std::string, RegValue>& entries)
{
    for (size_t n = 1; n <= entries.size(); ++n) {
        if (!entries.count(std::to_string(n)))
            return false;
    }
    return true;
}

class PreloadTest : public RegistryTest, public testing::WithParamInterface<PreloadCase> {};

TEST_P(PreloadTest, RewritesTheWholeListAsExpected)
{
    const PreloadCase& c = GetParam();
    SeedPreload(c.before);
    ASSERT_EQ(AsMap(c.before), PreloadEntries());
    Reorder(c.install, c.layoutId);
    std::map<std::string, RegValue> after = PreloadEntries();
    EXPECT_EQ(AsMap(c.after), after);
    if (Gapless(AsMap(c.before))) {
        EXPECT_TRUE(Gapless(after)) << "a gap appeared";
    }
}

std::string PrintTitle(const testing::TestParamInfo<PreloadCase>& info)
{
    return info.param.title;
}

const std::string k39(39, 'V');
const std::string k40(40, 'V');

INSTANTIATE_TEST_SUITE_P(Install, PreloadTest, testing::Values(
    PreloadCase{"ProductLast", 1, "P", {E("1", "A"), E("2", "B"), E("3", "P")}, {E("1", "A"), E("2", "P"), E("3", "B")}},
    PreloadCase{"ProductFirst", 1, "P", {E("1", "P"), E("2", "B"), E("3", "D")}, {E("1", "B"), E("2", "P"), E("3", "D")}},
    PreloadCase{"AlreadyAtTwo", 1, "P", {E("1", "A"), E("2", "P")}, {E("1", "A"), E("2", "P")}},
    PreloadCase{"NoProduct", 1, "P", {E("1", "A"), E("2", "B")}, {E("1", "A"), E("2", "B")}},
    PreloadCase{"FifthOfFive", 1, "E0200804",
                {E("1", "00000804"), E("2", "00000409"), E("3", "A"), E("4", "B"), E("5", "E0200804")},
                {E("1", "00000804"), E("2", "E0200804"), E("3", "A"), E("4", "B"), E("5", "00000409")}},
    PreloadCase{"LastOfTwoProductEntries", 1, "P", {E("1", "P"), E("2", "B"), E("3", "P")},
                {E("1", "P"), E("2", "P"), E("3", "B")}},
    PreloadCase{"AtTwoBehindAnotherProductEntry", 1, "P", {E("1", "P"), E("2", "P"), E("3", "B")},
                {E("1", "P"), E("2", "P"), E("3", "B")}},
    PreloadCase{"AtTwoBeforeAnotherProductEntry", 1, "P", {E("1", "A"), E("2", "P"), E("3", "P")},
                {E("1", "A"), E("2", "P"), E("3", "P")}},
    PreloadCase{"LeadingZero", 1, "P", {E("02", "A"), E("1", "B"), E("3", "P")}, {E("02", "P"), E("1", "B"), E("3", "A")}},
    PreloadCase{"PlusSign", 1, "P", {E("+2", "A"), E("1", "B"), E("3", "P")}, {E("+2", "P"), E("1", "B"), E("3", "A")}},
    PreloadCase{"TrailingLetter", 1, "P", {E("1", "A"), E("2a", "B"), E("3", "P")}, {E("1", "A"), E("2a", "P"), E("3", "B")}},
    PreloadCase{"LastEntryTwo", 1, "P", {E("02", "A"), E("1", "B"), E("2", "C"), E("3", "P")},
                {E("02", "A"), E("1", "B"), E("2", "P"), E("3", "C")}},
    PreloadCase{"NameWithoutDigitsIsNotInTheList", 1, "P", {E("1", "A"), E("2", "B"), E("abc", "P")},
                {E("1", "A"), E("2", "B"), E("abc", "P")}},
    PreloadCase{"EmptyIdentifierRewritesNothing", 1, "", {E("1", "A"), E("2", "B"), E("3", "")},
                {E("1", "A"), E("2", "B"), E("3", "")}},
    PreloadCase{"EmptyIdentifierNoEmptyValue", 1, "", {E("1", "A"), E("2", "B")}, {E("1", "A"), E("2", "B")}},
    PreloadCase{"NoEntryTwo", 1, "P", {E("1", "A"), E("3", "P")}, {E("1", "A"), E("3", "P")}},
    PreloadCase{"NineCharacterName", 1, "P", {E("1", "A"), E("2", "B"), E("200000000", "X"), E("3", "P")},
                {E("1", "A"), E("2", "P"), E("200000000", "X"), E("3", "B")}},
    PreloadCase{"TenCharacterNameEndsTheWalk", 1, "P", {E("1", "A"), E("2", "B"), E("2000000000", "X"), E("3", "P")},
                {E("1", "A"), E("2", "B"), E("2000000000", "X"), E("3", "P")}},
    PreloadCase{"ThirtyNineCharacterValue", 1, "P", {E("1", "A"), E("2", k39), E("3", "P")}, {E("1", "A"), E("2", "P"), E("3", k39)}},
    PreloadCase{"FortyCharacterValuePassedOver", 1, "P", {E("1", "A"), E("2", k40), E("3", "P")},
                {E("1", "A"), E("2", k40), E("3", "P")}},
    PreloadCase{"FortyBytesWithoutNulPassedOver", 1, "P",
                {E("1", "A"), PreloadItem{"2", RegValue{REG_SZ, k40}}, E("3", "P")},
                {E("1", "A"), PreloadItem{"2", RegValue{REG_SZ, k40}}, E("3", "P")}},
    PreloadCase{"NoDefaultValuePassedOver", 1, "P", {E("1", "A"), PreloadItem{"2", Text("B"), "Other"}, E("3", "P")},
                {E("1", "A"), PreloadItem{"2", Text("B"), "Other"}, E("3", "P")}},
    PreloadCase{"ValueTypeIgnored", 1, "P", {E("1", "A"), E("2", "B"), PreloadItem{"3", RegValue{REG_BINARY, std::string("P\0", 2)}}},
                {E("1", "A"), E("2", "P"), E("3", "B")}}),
    PrintTitle);

INSTANTIATE_TEST_SUITE_P(Uninstall, PreloadTest, testing::Values(
    PreloadCase{"ProductInTheMiddle", 0, "P", {E("1", "A"), E("2", "P"), E("3", "B")}, {E("1", "A"), E("2", "B")}},
    PreloadCase{"ProductHighest", 0, "P", {E("1", "A"), E("2", "B"), E("3", "P")}, {E("1", "A"), E("2", "B")}},
    PreloadCase{"ProductAlone", 0, "P", {E("1", "P")}, {}},
    PreloadCase{"ProductFirstOfFour", 0, "P", {E("1", "P"), E("2", "B"), E("3", "C"), E("4", "D")},
                {E("1", "D"), E("2", "B"), E("3", "C")}},
    PreloadCase{"ProductAtTwo", 0, "P", {E("1", "A"), E("2", "P")}, {E("1", "A")}},
    PreloadCase{"LastOfTwoProductEntries", 0, "P", {E("1", "P"), E("2", "B"), E("3", "P")}, {E("1", "P"), E("2", "B")}},
    PreloadCase{"NoProduct", 0, "P", {E("1", "A"), E("2", "B")}, {E("1", "A"), E("2", "B")}},
    PreloadCase{"EmptyIdentifierRewritesNothing", 0, "", {E("1", "A"), E("2", ""), E("3", "B")},
                {E("1", "A"), E("2", ""), E("3", "B")}},
    PreloadCase{"NameWithoutDigitsIsNotInTheList", 0, "P", {E("1", "A"), E("2", "B"), E("abc", "P")},
                {E("1", "A"), E("2", "B"), E("abc", "P")}},
    PreloadCase{"NoNumberAboveZero", 0, "P", {E("-1", "B"), E("0", "A"), E("abc", "P")},
                {E("-1", "B"), E("0", "A"), E("abc", "P")}},
    PreloadCase{"SameNumberOtherName", 0, "P", {E("03", "B"), E("1", "A"), E("3", "P")}, {E("1", "A"), E("3", "B")}},
    PreloadCase{"TenCharacterNameEndsTheWalk", 0, "P", {E("1", "A"), E("2", "P"), E("3", "B"), E("3000000000", "X")},
                {E("1", "A"), E("2", "B"), E("3000000000", "X")}}),
    PrintTitle);

// Wine keeps the list as plain values under the key: with no numbered
// subkeys nothing is touched, even when a plain value is the identifier.
TEST_F(RegistryTest, PlainValueListIsLeftAlone)
{
    ASSERT_FALSE(plainPreload.empty()) << "Wine's list in its NT form";
    std::string identifier = plainPreload.begin()->second.bytes.c_str();
    for (int install : {1, 0}) {
        Reorder(install, identifier.c_str());
        EXPECT_TRUE(PreloadEntries().empty());
    }
}

TEST_F(RegistryTest, MissingListKeyIsLeftMissing)
{
    DeleteTree(HKEY_CURRENT_USER, kPreloadPath);
    for (int install : {1, 0}) {
        Reorder(install, "P");
        EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kPreloadPath));
    }
}

// Each value written is a REG_SZ whose length counts its NUL.
TEST_F(RegistryTest, WrittenValuesAreTerminatedStrings)
{
    SeedPreload({E("1", "A"), PreloadItem{"2", RegValue{REG_BINARY, "00000409"}}, E("3", "E0200804")});
    Reorder(1, "E0200804");
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, "Keyboard Layout\\Preload\\3", 0, KEY_READ, &key));
    DWORD type = 0;
    WCHAR wide[16];
    DWORD size = sizeof wide;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExW(key, NULL, NULL, &type, (BYTE*)wide, &size));
    RegCloseKey(key);
    EXPECT_EQ((DWORD)REG_SZ, type);
    EXPECT_EQ(9 * sizeof(WCHAR), size);
    EXPECT_EQ(0, lstrcmpW(L"00000409", wide));
}

}  // namespace
