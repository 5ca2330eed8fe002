// The command line: its words split the Windows way, and the start mode and
// log file that a whole command line asks for.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/command_line.h"

struct CommandLineCase {
    const char* commandLine;
    StartMode mode;
    const char* logPath = "";
};

class CommandLineTest : public testing::TestWithParam<CommandLineCase> {};

TEST_P(CommandLineTest, ReadsTheStartMode)
{
    const CommandLineCase& c = GetParam();
    StartOptions options;
    ReadStartOptions(SkipProgramPath(c.commandLine), &options);
    EXPECT_EQ(c.mode, options.mode) << c.commandLine;
    EXPECT_STREQ(c.logPath, options.logPath) << c.commandLine;
}

INSTANTIATE_TEST_SUITE_P(Switches, CommandLineTest, testing::Values(
    CommandLineCase{"", StartWindow},
    CommandLineCase{"C:\\qmx\\qmxsetup.exe", StartWindow},
    CommandLineCase{"C:\\qmx\\qmxsetup.exe /S", StartSilentInstall},
    CommandLineCase{"qmxsetup.exe /s", StartSilentInstall},
    CommandLineCase{"qmxsetup.exe\t/S  ", StartSilentInstall},
    CommandLineCase{"qmxsetup.exe /U /S", StartSilentUninstall},
    CommandLineCase{"qmxsetup.exe /s /u", StartSilentUninstall},
    CommandLineCase{"qmxsetup.exe /S /X", StartSilentInstall},   // unknown words are passed over
    CommandLineCase{"\"C:\\Program Files\\qmx\\setup.exe\" /S", StartSilentInstall},
    CommandLineCase{"\"C:\\a b\\setup.exe\"/U /S", StartSilentUninstall}));

// Without a switch /S of its own the window opens.
INSTANTIATE_TEST_SUITE_P(NoSilentSwitch, CommandLineTest, testing::Values(
    CommandLineCase{"qmxsetup.exe /U", StartWindow},
    CommandLineCase{"qmxsetup.exe /X", StartWindow},
    CommandLineCase{"qmxsetup.exe -S", StartWindow},
    CommandLineCase{"qmxsetup.exe /Silent", StartWindow},
    CommandLineCase{"qmxsetup.exe /S/U", StartWindow},
    CommandLineCase{"qmxsetup.exe \"/S\"", StartWindow},
    CommandLineCase{"qmxsetup.exe /", StartWindow},
    CommandLineCase{"/S", StartWindow},  // the program's own path, not a switch
    CommandLineCase{"\"C:\\setup /S\\qmxsetup.exe\"", StartWindow},
    CommandLineCase{"\"C:\\setup /S", StartWindow},  // a quote never closed
    CommandLineCase{"C:\\\xD0\xC2\\qmxsetup.exe /U", StartWindow}));

// A blank inside quotes never ends a word, so a quoted argument is never a
// switch; /LOG= takes its file quoted or not, or the whole word quoted.
INSTANTIATE_TEST_SUITE_P(Quoting, CommandLineTest, testing::Values(
    CommandLineCase{"qmxsetup.exe \"D:\\logs /s out\\a.txt\"", StartWindow},
    CommandLineCase{"qmxsetup.exe \"D:\\logs /s\" /U", StartWindow},
    CommandLineCase{"qmxsetup.exe a\" /S \"b", StartWindow},
    CommandLineCase{"qmxsetup.exe /S /LOG=\"C:\\a b\\c.log\"", StartSilentInstall, "C:\\a b\\c.log"},
    CommandLineCase{"qmxsetup.exe \"/LOG=C:\\a b\\c.log\" /S", StartSilentInstall, "C:\\a b\\c.log"},
    CommandLineCase{"qmxsetup.exe /log=C:\\c.log", StartWindow, "C:\\c.log"},
    CommandLineCase{"qmxsetup.exe /LOG=\"C:\\a b\\c.log /S\"", StartWindow, "C:\\a b\\c.log /S"},
    CommandLineCase{"qmxsetup.exe /LOG=a.log /LOG=b.log /U /S", StartSilentUninstall, "b.log"},
    CommandLineCase{"qmxsetup.exe /LOG= /S", StartSilentInstall},
    CommandLineCase{"qmxsetup.exe /LOG /S", StartSilentInstall},
    CommandLineCase{"qmxsetup.exe /LOGS=x.log", StartWindow},
    CommandLineCase{"qmxsetup.exe /LOG=\"C:\\a b\\\xD0\\\" /S", StartSilentInstall, "C:\\a b\\\xD0\\"}));

struct WordCase {
    const char* line;
    std::vector<std::string> words;
    std::vector<WordQuoting> quoting;
};

class WordTest : public testing::TestWithParam<WordCase> {};

TEST_P(WordTest, SplitsTheWindowsWay)
{
    const WordCase& c = GetParam();
    std::vector<std::string> words;
    std::vector<WordQuoting> quoting;
    CommandWord word;
    for (const char* p = c.line; NextWord(&p, &word);) {
        EXPECT_FALSE(word.tooLong);
        words.push_back(word.text);
        quoting.push_back(word.quoting);
    }
    EXPECT_EQ(c.words, words) << c.line;
    if (!c.quoting.empty())
        EXPECT_EQ(c.quoting, quoting) << c.line;
}

// Backslashes count only in front of a quote; "" inside quotes is a quote;
// a GBK character whose second byte is a backslash stays whole in front of a
// quote, where two single backslashes would have escaped nothing.
INSTANTIATE_TEST_SUITE_P(Rules, WordTest, testing::Values(
    WordCase{"", {}, {}},
    WordCase{" \t ", {}, {}},
    WordCase{"a b\tc", {"a", "b", "c"}, {WordBare, WordBare, WordBare}},
    WordCase{"\"a b\" c", {"a b", "c"}, {WordQuotedStart, WordBare}},
    WordCase{"x\"a b\"y", {"xa by"}, {WordQuotedPart}},
    WordCase{"\"\"", {""}, {WordQuotedStart}},
    WordCase{"a\\\\b", {"a\\\\b"}, {}},
    WordCase{"a\\\\\"b c\"", {"a\\b c"}, {}},
    WordCase{"a\\\"b c", {"a\"b", "c"}, {}},
    WordCase{"a\\\\\\\"b", {"a\\\"b"}, {}},
    WordCase{"\"a\"\"b\" c", {"a\"b", "c"}, {}},
    WordCase{"\"C:\\dir\\\" /S", {"C:\\dir\" /S"}, {}},
    WordCase{"\"open end", {"open end"}, {}},
    WordCase{"\"\xD0\\\" b", {"\xD0\\", "b"}, {}},
    WordCase{"\xD0\\\"x y\"", {"\xD0\\x y"}, {}},
    WordCase{"\x81\" a\"", {"\x81 a"}, {}}));

// A word that does not fit is marked, read to its end and never cut into a
// shorter one; the words behind it are read as usual.
TEST(WordTest, TooLongIsMarkedNotCut)
{
    std::string line = "/LOG=C:\\" + std::string(sizeof(CommandWord::text), 'x') + " /S";
    const char* p = line.c_str();
    CommandWord word;
    ASSERT_TRUE(NextWord(&p, &word));
    EXPECT_TRUE(word.tooLong);
    ASSERT_TRUE(NextWord(&p, &word));
    EXPECT_STREQ("/S", word.text);
    StartOptions options;
    ReadStartOptions(line.c_str(), &options);
    EXPECT_EQ(StartSilentInstall, options.mode);
    EXPECT_STREQ("", options.logPath);

    std::string fits = "/LOG=" + std::string(kWorkPathSize - 1, 'y');
    ReadStartOptions(fits.c_str(), &options);
    EXPECT_EQ(std::string(kWorkPathSize - 1, 'y'), options.logPath);
    std::string over = "/LOG=" + std::string(kWorkPathSize, 'y');
    ReadStartOptions(over.c_str(), &options);
    EXPECT_STREQ("", options.logPath);
}
