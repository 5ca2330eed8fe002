// The editors of WININIT.INI and PendingFileRenameOperations: what is added
// or taken out acts on the given path only, and every line or pair of
// another program comes through byte for byte.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "restart/pending_renames.h"
#include "restart/wininit_text.h"
#include "restart/wow64_spelling.h"

namespace {

const char kCanary = 0x5A;

// AddRenameLine into a buffer of the given capacity with a canary behind it.
std::string Added(const std::string& text, const char* key, const char* value, uint32_t capacity, int* fitted)
{
    std::vector<char> result(capacity + 1, kCanary);
    uint32_t length = AddRenameLine(text.data(), (uint32_t)text.size(), key, value, result.data(), capacity);
    EXPECT_EQ(kCanary, result[capacity]);
    *fitted = length > 0;
    return std::string(result.data(), length);
}

std::string Removed(const std::string& text, const char* path)
{
    std::vector<char> result(text.size() + 1, kCanary);
    uint32_t length = RemoveRenameLinesFor(text.data(), (uint32_t)text.size(), path, result.data());
    EXPECT_LE(length, text.size());
    EXPECT_EQ(kCanary, result[text.size()]);
    return std::string(result.data(), length);
}

}  // namespace

TEST(WininitText, AddsTheLineAtTheEndOfTheRenameSection)
{
    struct Case {
        const char* text;
        const char* key;
        const char* expected;
    } cases[] = {
        {"", "C:\\QMX\\QMX.IME", "[rename]\r\nC:\\QMX\\QMX.IME=C:\\QMX\\QMX~1.TMP\r\n"},
        {"[Rename]\r\nNUL=C:\\A.TXT\r\n", "NUL", "[Rename]\r\nNUL=C:\\A.TXT\r\nNUL=C:\\QMX\\QMX~1.TMP\r\n"},
        {"[rename]\nNUL=C:\\A\n[boot]\nx=1\n", "K", "[rename]\nNUL=C:\\A\nK=C:\\QMX\\QMX~1.TMP\n[boot]\nx=1\n"},
        {"[RENAME]\r\nNUL=C:\\A", "K", "[RENAME]\r\nNUL=C:\\A\r\nK=C:\\QMX\\QMX~1.TMP\r\n"},
        {"[boot]\nshell=x", "K", "[boot]\nshell=x\n[rename]\nK=C:\\QMX\\QMX~1.TMP\n"},
        {"[rename]\r\nNUL=C:\\A\r\n\r\n[x]\r\n", "K", "[rename]\r\nNUL=C:\\A\r\nK=C:\\QMX\\QMX~1.TMP\r\n\r\n[x]\r\n"},
        {" [ rename ] \r\n;note\r\n", "K", " [ rename ] \r\n;note\r\nK=C:\\QMX\\QMX~1.TMP\r\n"},
        {"[rename]\r\nA=B\r\n[x]\r\n[rename]\r\nC=D\r\n", "K",
         "[rename]\r\nA=B\r\nK=C:\\QMX\\QMX~1.TMP\r\n[x]\r\n[rename]\r\nC=D\r\n"},
        {"[renamed]\r\nA=B\r\n", "K", "[renamed]\r\nA=B\r\n[rename]\r\nK=C:\\QMX\\QMX~1.TMP\r\n"},
        {"[rename]", "K", "[rename]\r\nK=C:\\QMX\\QMX~1.TMP\r\n"},
    };
    for (const Case& c : cases) {
        std::string expected = c.expected;
        int fitted;
        EXPECT_EQ(expected, Added(c.text, c.key, "C:\\QMX\\QMX~1.TMP", (uint32_t)expected.size() + 8, &fitted))
            << c.text;
        // Exactly the room it needs, and one byte less: whole or nothing.
        EXPECT_EQ(expected, Added(c.text, c.key, "C:\\QMX\\QMX~1.TMP", (uint32_t)expected.size(), &fitted));
        Added(c.text, c.key, "C:\\QMX\\QMX~1.TMP", (uint32_t)expected.size() - 1, &fitted);
        EXPECT_FALSE(fitted) << c.text;
    }
}

TEST(WininitText, TakesOutOnlyTheLinesThatActOnThePath)
{
    const char* path = "C:\\PROGRA~1\\QMX\\QMX.IME";
    struct Line {
        const char* text;
        bool ours;
    } lines[] = {
        {"NUL=C:\\OTHER\\A.DLL\r\n", false},
        {"nul=c:\\progra~1\\qmx\\qmx.ime\r\n", true},
        {"NUL=C:\\OTHER\\A.DLL\r\n", false},  // repeated on purpose
        {"C:\\PROGRA~1\\QMX\\QMX.IME=C:\\PROGRA~1\\QMX\\QMX~1.TMP\n", true},
        {"C:\\OTHER\\B.DLL=C:\\PROGRA~1\\QMX\\QMX.IME\r\n", false},  // the path as a source
        {"NUL=C:\\PROGRA~1\\QMX\\QMX.IMEX\r\n", false},
        {";NUL=C:\\PROGRA~1\\QMX\\QMX.IME\r\n", false},
        {"  NUL  =  C:\\Progra~1\\Qmx\\Qmx.Ime  \r\n", true},
        {"NUL\r\n", false},
        {"\r\n", false},
    };
    const size_t count = sizeof lines / sizeof lines[0];
    // The same lines outside a [rename] section are another matter, and the
    // last line of the file has no line end.
    const std::string before = "[boot]\r\nNUL=C:\\PROGRA~1\\QMX\\QMX.IME\r\n[rename]\r\n";
    const std::string after = "[Other]\r\nC:\\PROGRA~1\\QMX\\QMX.IME=X\r\n[RENAME]\r\nNUL=C:\\X\r\n";
    const std::string last = "C:\\PROGRA~1\\QMX\\QMX.IME=X";
    // Every rotation, so that each line is met first, in the middle and last.
    for (size_t shift = 0; shift < count; ++shift) {
        std::string text = before, expected = before;
        for (size_t i = 0; i < count; ++i) {
            const Line& line = lines[(i + shift) % count];
            text += line.text;
            if (!line.ours)
                expected += line.text;
        }
        text += after + last;
        expected += after;
        EXPECT_EQ(expected, Removed(text, path)) << text;
        EXPECT_EQ(text, Removed(text, "C:\\PROGRA~1\\QMX\\QMX2.IME"));
    }
}

TEST(WininitText, ComparesGbkCharactersWhole)
{
    // 0x81 0x61 and 0x81 0x41 are two different characters whose trail bytes
    // are a letter in two cases; 0x81 0x5C ends in a backslash.
    const char* path = "C:\\\x81\x41\\Q.IME";
    std::string text = "[rename]\r\nNUL=C:\\\x81\x61\\Q.IME\r\nNUL=c:\\\x81\x41\\q.ime\r\nNUL=C:\\\x81\\Q.IME\r\n";
    EXPECT_EQ("[rename]\r\nNUL=C:\\\x81\x61\\Q.IME\r\nNUL=C:\\\x81\\Q.IME\r\n", Removed(text, path));
    EXPECT_TRUE(SamePathText("\x81\x5C" "A", 3, "\x81\x5C" "a", 3));
    EXPECT_FALSE(SamePathText("\x81\x5C", 2, "\x81\x7C", 2));
    EXPECT_FALSE(SamePathText("A\x81", 2, "a\x82", 2));
}

TEST(WininitText, AnAddedLineComesOutAgainLeavingTheFileAsItWas)
{
    const char* texts[] = {
        "[rename]\r\nNUL=C:\\A\r\n",
        "[boot]\nx=1\n[RENAME]\nNUL=C:\\A\nNUL=C:\\A\n\n[386Enh]\ny=2\n",
        "[Rename]\r\n",
    };
    for (const char* text : texts) {
        int fitted;
        std::string added = Added(text, "C:\\QMX\\QMX.IME", "C:\\QMX\\QMX~1.TMP", 256, &fitted);
        EXPECT_EQ(text, Removed(added, "c:\\qmx\\qmx.ime"));
        added = Added(text, "NUL", "C:\\QMX\\QMX.IME", 256, &fitted);
        EXPECT_EQ(text, Removed(added, "C:\\QMX\\QMX.IME"));
    }
}

namespace {

// A multi-string from its strings, each closed by a NUL, and the closing NUL.
std::vector<uint16_t> MultiString(const std::vector<std::u16string>& strings, bool closed = true)
{
    std::vector<uint16_t> units;
    for (const std::u16string& text : strings) {
        units.insert(units.end(), text.begin(), text.end());
        units.push_back(0);
    }
    if (closed)
        units.push_back(0);
    return units;
}

PendingEdit RemovedPending(const std::vector<uint16_t>& units, const std::u16string& path,
                           std::vector<uint16_t>* result)
{
    std::vector<uint16_t> buffer(units.size() + 1, 0x5A5A);
    uint32_t count = 0;
    std::vector<uint16_t> pathUnits(path.begin(), path.end());
    PendingEdit edit = RemovePendingRenamesFor(units.data(), (uint32_t)units.size(), pathUnits.data(),
                                               (uint32_t)pathUnits.size(), buffer.data(), &count);
    EXPECT_LE(count, units.size());
    EXPECT_EQ(0x5A5A, buffer[units.size()]);
    result->assign(buffer.begin(), buffer.begin() + count);
    return edit;
}

}  // namespace

TEST(PendingRenames, TakesOutOnlyThePairsThatActOnThePath)
{
    const std::u16string path = u"C:\\Program Files\\QMX\\qmx.ime";
    // Each pair: source, target, and whether it acts on the path.
    struct Pair {
        std::u16string source, target;
        bool ours;
    } pairs[] = {
        {u"\\??\\C:\\Other\\a.dll", u"", false},
        {u"\\??\\C:\\Program Files\\QMX\\qmx~1.tmp", u"!\\??\\C:\\Program Files\\QMX\\qmx.ime", true},
        {u"\\??\\C:\\Other\\b.tmp", u"!\\??\\C:\\Other\\b.dll", false},
        {u"\\??\\c:\\program files\\qmx\\QMX.IME", u"", true},
        {u"\\??\\C:\\Program Files\\QMX\\qmx.ime", u"\\??\\C:\\Other\\moved.ime", false},  // a source only
        {u"\\??\\C:\\Other\\c.tmp", u"\\??\\C:\\Program Files\\QMX\\qmx.ime.old", false},
        {u"\\??\\C:\\Program Files\\QMX\\qmx.im", u"", false},
        {u"C:\\Program Files\\QMX\\qmx.ime", u"", true},  // without the prefix
        {u"\\??\\C:\\Other\\\u6d4b.tmp", u"\\??\\C:\\Program Files\\QMX\\qmx.ime", true},
        {u"\\??\\C:\\Other\\\u6d4b.dll", u"", false},
        // Sources as recent versions of Windows write some of them.
        {u"*1\\??\\C:\\PROGRAM FILES\\QMX\\QMX.IME", u"", true},
        {u"!\\??\\C:\\Program Files\\QMX\\qmx.ime", u"", true},
        {u"*12\\??\\C:\\Other\\d.tmp", u"!\\??\\C:\\Program Files\\qmx\\Qmx.Ime", true},
        {u"*1\\??\\C:\\Program Files\\QMX\\qmx.imex", u"", false},
        {u"*\\??\\C:\\Other\\e.dll", u"", false},
    };
    const size_t count = sizeof pairs / sizeof pairs[0];
    for (size_t shift = 0; shift < count; ++shift) {
        std::vector<std::u16string> all, others;
        for (size_t i = 0; i < count; ++i) {
            const Pair& pair = pairs[(i + shift) % count];
            all.push_back(pair.source);
            all.push_back(pair.target);
            if (!pair.ours) {
                others.push_back(pair.source);
                others.push_back(pair.target);
            }
        }
        std::vector<uint16_t> result;
        EXPECT_EQ(kPendingChanged, RemovedPending(MultiString(all), path, &result));
        EXPECT_EQ(MultiString(others), result) << shift;
        EXPECT_EQ(kPendingUnchanged, RemovedPending(MultiString(all), u"C:\\Program Files\\QMX\\qmx.mb", &result));
        EXPECT_EQ(MultiString(all), result);
    }
}

TEST(PendingRenames, ReportsAnEmptiedValueAndKeepsWhatItCannotRead)
{
    const std::u16string path = u"C:\\QMX\\QMX.IME";
    std::vector<uint16_t> result;
    EXPECT_EQ(kPendingEmptied,
              RemovedPending(MultiString({u"\\??\\C:\\QMX\\A.TMP", u"!\\??\\C:\\QMX\\QMX.IME", u"\\??\\C:\\QMX\\QMX.IME", u""}),
                             path, &result));
    EXPECT_EQ(std::vector<uint16_t>{0}, result);
    // Without the closing empty string.
    EXPECT_EQ(kPendingEmptied, RemovedPending(MultiString({u"\\??\\C:\\QMX\\QMX.IME", u""}, false), path, &result));
    EXPECT_TRUE(result.empty());
    // A pair cut short by the end of the data stays as it is, after the pairs before it.
    std::vector<uint16_t> ours = MultiString({u"\\??\\C:\\QMX\\QMX.IME", u""}, false);
    std::vector<uint16_t> cut = ours;
    cut.insert(cut.end(), {'\\', '?', '?', '\\', 'A', 0, '!', '\\'});
    EXPECT_EQ(kPendingChanged, RemovedPending(cut, path, &result));
    EXPECT_EQ(std::vector<uint16_t>(cut.begin() + ours.size(), cut.end()), result);
    // Nothing after the closing empty string is dropped either.
    std::vector<uint16_t> trailing = MultiString({u"\\??\\C:\\QMX\\QMX.IME", u""});
    trailing.push_back('Z');
    EXPECT_EQ(kPendingChanged, RemovedPending(trailing, path, &result));
    EXPECT_EQ((std::vector<uint16_t>{0, 'Z'}), result);
    EXPECT_EQ(kPendingUnchanged, RemovedPending({}, path, &result));
    EXPECT_TRUE(result.empty());
}

// A System-folder path in the spelling the restart sees under WOW64, and
// every other path as it is.
TEST(Wow64Spelling, RespellsTheSystemFolderOnly)
{
    struct Case {
        const char* path;
        const char* expected;
    } cases[] = {
        {"C:\\windows\\system32\\qmx.ime", "C:\\windows\\syswow64\\qmx.ime"},
        {"c:\\WINDOWS\\SYSTEM32\\qmx.ime.new", "C:\\windows\\syswow64\\qmx.ime.new"},
        {"C:\\windows\\system32", "C:\\windows\\syswow64"},
        {"C:\\windows\\system32x\\qmx.ime", "C:\\windows\\system32x\\qmx.ime"},
        {"C:\\windows\\system3", "C:\\windows\\system3"},
        {"C:\\Program Files\\qmx\\zub.exe", "C:\\Program Files\\qmx\\zub.exe"},
        {"D:\\windows\\system32\\qmx.ime", "D:\\windows\\system32\\qmx.ime"},
        {"", ""},
    };
    const char* systemDir = "C:\\windows\\system32";
    const char* wow64Dir = "C:\\windows\\syswow64";
    for (const Case& c : cases) {
        std::string expected = c.expected;
        std::vector<char> spelled(expected.size() + 2, kCanary);
        // Exactly the room the result needs, and one byte less.
        ASSERT_EQ(1, SpellForWow64(c.path, systemDir, wow64Dir, spelled.data(), (uint32_t)expected.size() + 1))
            << c.path;
        EXPECT_EQ(expected, spelled.data());
        EXPECT_EQ(kCanary, spelled[expected.size() + 1]);
        if (!expected.empty()) {
            EXPECT_EQ(0, SpellForWow64(c.path, systemDir, wow64Dir, spelled.data(), (uint32_t)expected.size()));
            EXPECT_EQ(0, spelled[0]);
        }
    }
    // A folder whose name ends in a GBK character with a backslash for its
    // trail byte is the whole character, and so is its end.
    char spelled[64];
    ASSERT_EQ(1, SpellForWow64("C:\\\x81\x5C\\q.ime", "C:\\\x81\x5C", "C:\\W", spelled, sizeof spelled));
    EXPECT_STREQ("C:\\W\\q.ime", spelled);
    ASSERT_EQ(1, SpellForWow64("C:\\\x81\x5Cq.ime", "C:\\\x81\x5C", "C:\\W", spelled, sizeof spelled));
    EXPECT_STREQ("C:\\\x81\x5Cq.ime", spelled);
}

// An operation pending for a System-folder file is ours in either spelling,
// with or without a prefix, in any letter case: the program takes it out
// under both spellings of the path, and every other pair stays.
TEST(Wow64Spelling, PendingOperationsInBothSpellingsAreTakenOut)
{
    const char* path = "C:\\windows\\system32\\qmx.ime";
    char spelled[260];
    ASSERT_EQ(1, SpellForWow64(path, "C:\\windows\\system32", "C:\\windows\\syswow64", spelled, sizeof spelled));
    std::vector<uint16_t> units = MultiString({
        u"\\??\\C:\\windows\\system32\\qmx.ime", u"",                                    // an earlier version
        u"\\??\\C:\\Other\\a.dll", u"",                                                    // another program
        u"*1\\??\\C:\\Windows\\SysWOW64\\qmx.ime", u"",                                 // recent Windows
        u"\\??\\C:\\windows\\syswow64\\qmx.ime.new", u"!\\??\\C:\\WINDOWS\\SYSWOW64\\QMX.IME",  // this version
        u"\\??\\C:\\windows\\syswow64\\qmx.mb", u"",                                     // another file of ours
    });
    std::vector<uint16_t> afterOne, afterBoth;
    EXPECT_EQ(kPendingChanged, RemovedPending(units, std::u16string(path, path + strlen(path)), &afterOne));
    EXPECT_EQ(kPendingChanged, RemovedPending(afterOne, std::u16string(spelled, spelled + strlen(spelled)), &afterBoth));
    EXPECT_EQ(MultiString({u"\\??\\C:\\Other\\a.dll", u"", u"\\??\\C:\\windows\\syswow64\\qmx.mb", u""}), afterBoth);
}
