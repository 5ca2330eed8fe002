// Every small preload list, installed and then uninstalled through the plan
// with writes and deletes that fail: the user's layouts never leave the
// numbered list, entries outside it never change, only the product's layout
// moves (install) or goes (uninstall), and a failure is reported as one.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "keyboard/preload_plan.h"
#include "keyboard/registry_text.h"

// The list as plain entries in enumeration order; a write to a missing entry
// fails like the open of a missing subkey, and so do the writes numbered in
// failingWrites (counted from 1).
struct PreloadList {
    std::vector<std::pair<std::string, std::string>> entries;
    std::set<int> failingWrites;
    bool deleteFails = false;
    int writes = 0;
};

int WritePreloadValue(PreloadList* list, const char* name, const char* value)
{
    if (list->failingWrites.count(++list->writes))
        return 0;
    for (auto& entry : list->entries) {
        if (entry.first == name) {
            entry.second = value;
            return 1;
        }
    }
    return 0;
}

int DeletePreloadEntry(PreloadList* list, const char* name)
{
    auto& entries = list->entries;
    auto entry = std::find_if(entries.begin(), entries.end(), [&](const auto& e) { return e.first == name; });
    if (list->deleteFails || entry == entries.end())
        return 0;
    entries.erase(entry);
    return 1;
}

namespace {

using Entries = std::vector<std::pair<std::string, std::string>>;

// One run of ReorderPreload's walk, plan and writes over the list.
Entries Reorder(const Entries& before, int install, const char* layoutId, std::set<int> failingWrites,
                bool deleteFails)
{
    PreloadWalk walk;
    StartPreloadWalk(&walk, install);
    for (const auto& entry : before) {
        if (!NotePreloadEntry(&walk, layoutId, entry.first.c_str(), entry.second.c_str()))
            break;
    }
    PreloadRewrite rewrite;
    PlanPreloadRewrite(&walk, &rewrite);
    PreloadList list{before, std::move(failingWrites), deleteFails};
    // Success means every planned step was taken and none put back; failure,
    // that the list is back as it was.
    if (CarryOutPreloadRewrite(&list, &rewrite))
        EXPECT_EQ(rewrite.writeCount, list.writes) << "reported done, but a write failed";
    else
        EXPECT_EQ(before, list.entries) << "reported failed, but the list changed";
    return list.entries;
}

// What the check compares: how often each value is held by a numbered entry,
// and the entries outside the numbered list as they are.
struct Shape {
    std::multiset<std::string> numbered;
    Entries unnumbered;
};

Shape ShapeOf(const Entries& list)
{
    Shape shape;
    for (const auto& entry : list) {
        if (EntryNumber(entry.first.c_str()) > 0)
            shape.numbered.insert(entry.second);
        else
            shape.unnumbered.push_back(entry);
    }
    return shape;
}

std::string Show(const Entries& list)
{
    std::string text;
    for (const auto& entry : list)
        text += entry.first + "=" + entry.second + " ";
    return text;
}

// The values of the entries numbered 2 that can be read at all.
std::multiset<std::string> EntryTwoValues(const Entries& list)
{
    std::multiset<std::string> values;
    for (const auto& entry : list) {
        if (EntryNumber(entry.first.c_str()) == 2 && entry.second.size() < kEntryValueSize)
            values.insert(entry.second);
    }
    return values;
}

void ExpectOnlyTheProductChanged(const Entries& before, const Entries& after, const std::string& product,
                                 int install, bool allWritten)
{
    Shape was = ShapeOf(before), is = ShapeOf(after);
    EXPECT_EQ(was.unnumbered, is.unnumbered);
    size_t productBefore = was.numbered.count(product), productAfter = is.numbered.count(product);
    if (!product.empty()) {
        was.numbered.erase(product);
        is.numbered.erase(product);
    }
    EXPECT_EQ(was.numbered, is.numbered) << "a user's layout was lost or doubled";
    if (product.empty()) {
        EXPECT_EQ(before, after);
    } else if (install) {
        EXPECT_EQ(productBefore, productAfter);
        if (allWritten && productBefore > 0 && !EntryTwoValues(before).empty()) {
            EXPECT_GE(EntryTwoValues(after).count(product), 1u) << "the product is not at entry 2";
        }
    } else if (allWritten && productBefore > 0) {
        EXPECT_EQ(productBefore - 1, productAfter);
    } else {
        EXPECT_TRUE(productAfter == productBefore || productAfter + 1 == productBefore);
    }
}

// Names in the order the registry enumerates them: a leading zero, a gap,
// and a name outside the numbered list; values include the empty one and
// one too long to be read.
const std::vector<std::string> kNames = {"02", "1", "2", "3", "5", "x"};
const std::vector<std::string> kValues = {"A", "B", "", "P", std::string(40, 'V')};

std::vector<Entries> EverySmallList()
{
    std::vector<Entries> lists;
    for (unsigned mask = 0; mask < 1u << kNames.size(); ++mask) {
        std::vector<std::string> names;
        for (size_t k = 0; k < kNames.size(); ++k) {
            if (mask & 1u << k)
                names.push_back(kNames[k]);
        }
        if (names.size() > 5)
            continue;
        size_t combinations = 1;
        for (size_t k = 0; k < names.size(); ++k)
            combinations *= kValues.size();
        for (size_t c = 0; c < combinations; ++c) {
            Entries list;
            for (size_t k = 0, rest = c; k < names.size(); ++k, rest /= kValues.size())
                list.emplace_back(names[k], kValues[rest % kValues.size()]);
            lists.push_back(list);
        }
    }
    return lists;
}

struct Failure {
    std::set<int> writes;
    bool deleteFails;
};

TEST(PreloadCheck, NoUserLayoutLeavesTheNumberedListWhateverFails)
{
    const std::vector<Failure> failures = {{{}, false}, {{1}, false}, {{2}, false}, {{}, true}};
    size_t runs = 0;
    for (const Entries& list : EverySmallList()) {
        for (const char* layoutId : {"P", ""}) {
            for (const Failure& failure : failures) {
                bool allWritten = failure.writes.empty() && !failure.deleteFails;
                Entries installed = Reorder(list, 1, layoutId, failure.writes, failure.deleteFails);
                ExpectOnlyTheProductChanged(list, installed, layoutId, 1, allWritten);
                Entries removed = Reorder(installed, 0, layoutId, failure.writes, failure.deleteFails);
                ExpectOnlyTheProductChanged(installed, removed, layoutId, 0, allWritten);
                ++runs;
                if (HasFailure()) {
                    ADD_FAILURE() << "list " << Show(list) << "layoutId '" << layoutId << "', installed "
                                  << Show(installed) << "removed " << Show(removed);
                    return;
                }
            }
        }
    }
    EXPECT_GT(runs, 100000u);
}

}  // namespace
