// The preload decision over plain entries in enumeration order: which values
// are written where and which entry goes, for each mode and tie-break.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "keyboard/preload_plan.h"

namespace {

using Entries = std::vector<std::pair<std::string, std::string>>;

struct PlanCase {
    const char* title;
    int install;
    const char* layoutId;
    Entries list;     // name and value, in enumeration order
    Entries writes;   // subkey name and the value written, in order
    std::string deleted;
};

void PrintTo(const PlanCase& c, std::ostream* out) { *out << c.title; }

class PreloadPlanTest : public testing::TestWithParam<PlanCase> {};

TEST_P(PreloadPlanTest, PlansTheRewrite)
{
    const PlanCase& c = GetParam();
    PreloadWalk walk;
    StartPreloadWalk(&walk, c.install);
    for (const auto& entry : c.list) {
        if (!NotePreloadEntry(&walk, c.layoutId, entry.first.c_str(), entry.second.c_str()))
            break;
    }
    PreloadRewrite rewrite;
    PlanPreloadRewrite(&walk, &rewrite);
    Entries writes;
    for (int w = 0; w < rewrite.writeCount; ++w)
        writes.emplace_back(rewrite.writeName[w], rewrite.writeValue[w]);
    EXPECT_EQ(c.writes, writes);
    EXPECT_EQ(c.deleted, rewrite.deleteName ? rewrite.deleteName : "");
}

const std::string k40(40, 'V');

INSTANTIATE_TEST_SUITE_P(Install, PreloadPlanTest, testing::Values(
    PlanCase{"ProductLast", 1, "P", {{"1", "A"}, {"2", "B"}, {"3", "P"}}, {{"3", "B"}, {"2", "P"}}, ""},
    PlanCase{"AtTwoAndEarlierCopy", 1, "P", {{"1", "P"}, {"2", "P"}, {"3", "B"}}, {}, ""},
    PlanCase{"NoEntryTwo", 1, "P", {{"1", "A"}, {"3", "P"}}, {}, ""},
    PlanCase{"LastEntryTwoSwaps", 1, "P", {{"02", "A"}, {"2", "B"}, {"3", "P"}}, {{"3", "B"}, {"2", "P"}}, ""},
    PlanCase{"EmptyIdentifierMatchesNoEmptyValue", 1, "", {{"1", "A"}, {"2", "B"}, {"3", ""}}, {}, ""},
    PlanCase{"UnnumberedEntryIsNotTheProducts", 1, "P", {{"1", "A"}, {"2", "B"}, {"abc", "P"}}, {}, ""}));

INSTANTIATE_TEST_SUITE_P(Uninstall, PreloadPlanTest, testing::Values(
    PlanCase{"ProductInTheMiddle", 0, "P", {{"1", "A"}, {"2", "P"}, {"3", "B"}}, {{"2", "B"}}, "3"},
    PlanCase{"AtTwoIsNoReasonToStop", 0, "P", {{"1", "A"}, {"2", "P"}}, {}, "2"},
    PlanCase{"FirstOfTheHighestWins", 0, "P", {{"03", "B"}, {"1", "P"}, {"3", "D"}}, {{"1", "B"}}, "03"},
    PlanCase{"SameNumberOtherName", 0, "P", {{"03", "B"}, {"1", "A"}, {"3", "P"}}, {{"3", "B"}}, "03"},
    PlanCase{"NoNumberAboveZero", 0, "P", {{"abc", "P"}, {"0", "A"}, {"-4", "B"}}, {}, ""},
    PlanCase{"EmptyIdentifierMatchesNoEmptyValue", 0, "", {{"1", "A"}, {"x", ""}}, {}, ""},
    PlanCase{"UnnumberedEntryIsNotTheProducts", 0, "P", {{"1", "A"}, {"2", "B"}, {"abc", "P"}}, {}, ""}));

// Entries that cannot be addressed or held are passed over.
INSTANTIATE_TEST_SUITE_P(PassedOver, PreloadPlanTest, testing::Values(
    PlanCase{"EmptyName", 0, "P", {{"1", "A"}, {"", "P"}}, {}, ""},
    PlanCase{"EmptyNameInstall", 1, "P", {{"1", "A"}, {"2", "B"}, {"", "P"}}, {}, ""},
    PlanCase{"SeparatorInName", 1, "P", {{"1", "P"}, {"2\\x", "B"}}, {}, ""},
    PlanCase{"LongName", 0, "P", {{"1", "A"}, {"0000000002", "P"}}, {}, ""},
    PlanCase{"LongValue", 0, k40.c_str(), {{"1", "A"}, {"2", k40}}, {}, ""},
    PlanCase{"LongValueNotHighest", 0, "P", {{"1", "P"}, {"2", "B"}, {"3", k40}}, {{"1", "B"}}, "2"}));

}  // namespace
