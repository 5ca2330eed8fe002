// What the user is told at the end: which message for which outcome, the
// exit codes of every run, and the incomplete install's and uninstall's list
// of files, which names each file with its reason, says what the user can do
// and never runs past its buffer.
#include <gtest/gtest.h>
#include <iconv.h>

#include <string>
#include <vector>

#include "shell/outcome_text.h"

namespace {

struct OutcomeCase {
    int uninstall;
    int workLeftUndone;
    int restartNeeded;
    int containerDamaged;
    OutcomeMessage message;
    int exitCode;
};

class OutcomeTest : public testing::TestWithParam<OutcomeCase> {};

TEST_P(OutcomeTest, ChoosesTheMessageAndTheExitCode)
{
    const OutcomeCase& c = GetParam();
    SetupState state = SetupState();
    state.workLeftUndone = c.workLeftUndone;
    state.restartNeeded = c.restartNeeded;
    state.containerDamaged = c.containerDamaged;
    EXPECT_EQ(c.message, ChooseOutcomeMessage(&state, c.uninstall));
    EXPECT_EQ(c.exitCode, RunExitCode(&state));
}

INSTANTIATE_TEST_SUITE_P(Install, OutcomeTest, testing::Values(
    OutcomeCase{0, 0, 0, 0, MessageNone, 0},
    OutcomeCase{0, 0, 1, 0, MessageInstalledRestart, 3010},
    OutcomeCase{0, 1, 0, 0, MessageIncomplete, 1},
    OutcomeCase{0, 1, 1, 0, MessageIncomplete, 1},
    OutcomeCase{0, 1, 0, 1, MessageDamaged, 1},
    OutcomeCase{0, 1, 1, 1, MessageDamaged, 1}));

// An uninstall that leaves something for good says so, whether or not
// other files wait for the restart.
INSTANTIATE_TEST_SUITE_P(Uninstall, OutcomeTest, testing::Values(
    OutcomeCase{1, 0, 0, 0, MessageNone, 0},
    OutcomeCase{1, 0, 1, 0, MessageUninstalledRestart, 3010},
    OutcomeCase{1, 1, 0, 0, MessageUninstallIncomplete, 1},
    OutcomeCase{1, 1, 1, 0, MessageUninstallIncomplete, 1}));

SetupState WithFailures(int count, size_t pathLength)
{
    SetupState state = SetupState();
    state.workLeftUndone = 1;
    state.failedFileCount = count;
    for (int k = 0; k < count && k < kMaxFailedFiles; ++k) {
        std::string path = "C:\\" + std::string(pathLength - 5, 'a' + k) + "." + std::to_string(k);
        path.resize(pathLength, 'x');
        snprintf(state.failedFiles[k].path, kWorkPathSize, "%s", path.c_str());
        state.failedFiles[k].failure = k % 6;  // 5 is no reason of its own
    }
    return state;
}

std::string Compose(const SetupState& state, size_t capacity, OutcomeMessage message = MessageIncomplete)
{
    std::vector<char> text(capacity + 1, '#');  // the last one is a canary
    ComposeOutcomeText(message, &state, text.data(), (uint32_t)capacity);
    EXPECT_EQ('#', text[capacity]) << "written past the buffer";
    return capacity ? std::string(text.data()) : std::string();
}

size_t Count(const std::string& text, const std::string& piece)
{
    size_t count = 0;
    for (size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1))
        ++count;
    return count;
}

TEST(ComposeOutcomeText, NamesEveryFileWithItsReasonAndAsksToTryAgain)
{
    SetupState state = WithFailures(kMaxFailedFiles, kWorkPathSize - 1);
    state.imeNotPlaced = 1;
    std::string text = Compose(state, 3072);
    for (int k = 0; k < kMaxFailedFiles; ++k)
        EXPECT_EQ(1u, Count(text, std::string(state.failedFiles[k].path) + "\xEF\xBC\x88")) << k;
    EXPECT_EQ(2u, Count(text, "正被其他程序使用"));
    EXPECT_EQ(2u, Count(text, "磁盘已满"));
    EXPECT_EQ(2u, Count(text, "没有写入权限"));
    EXPECT_EQ(3u, Count(text, "无法写入）"));  // the last reason, and any beyond the table
    EXPECT_EQ(1u, Count(text, "（只读、隐藏或系统文件）"));
    EXPECT_EQ(1u, Count(text, "输入法没能在系统中登记"));
    EXPECT_EQ(0u, text.rfind("安装没有完成"));
    EXPECT_EQ(text.size() - std::string("按“安 装”。").size(), text.rfind("按“安 装”。"));
}

const char kUninstallEnd[] = "然后再卸载一次（也可以在“添加或删除程序”中卸载）。";

struct UninstallCase {
    const char* what;
    std::vector<int> failures;
    int layoutStays;
    int restartNeeded;
    std::vector<const char*> said;
    std::vector<const char*> unsaid;
};

// The incomplete uninstall names each item with its reason, says that a
// restart does not finish it, and gives only the advice its reasons call for.
TEST(ComposeOutcomeText, TheIncompleteUninstallSaysWhyAndWhatToDo)
{
    const char* protectedFile = "（受保护：只读、隐藏、系统文件或文件夹）";
    const UninstallCase cases[] = {
        {"a read-only file", {FailureProtected}, 0, 0,
         {protectedFile, "重新启动 Windows 也不能完成卸载", "请自己删除受保护的文件，然后"},
         {"关闭正在使用", "管理员", "键盘布局"}},
        {"a held file that could not be scheduled, another that waits", {FailureHeld}, 0, 1,
         {"（正被其他程序使用）", "会在 Windows 重新启动后删除，但重新启动不能完成卸载", "请关闭正在使用输入法的程序，然后"},
         {"管理员", "受保护", "也不能完成"}},
        {"no rights, a layout entry", {FailureNoAccess, FailureOther}, 1, 0,
         {"（没有删除权限）", "（无法删除）", "输入法的键盘布局没能从系统中删除", "请以管理员身份运行卸载，然后"},
         {"关闭正在使用", "受保护"}},
        {"only a layout entry", {}, 1, 0, {"键盘布局没能从系统中删除", "以管理员身份"}, {"下列各项"}},
        {"every reason", {FailureProtected, FailureHeld, FailureNoAccess}, 0, 0,
         {"请关闭正在使用输入法的程序，以管理员身份运行卸载，自己删除受保护的文件，然后再卸载一次"}, {}},
    };
    for (const UninstallCase& c : cases) {
        SCOPED_TRACE(c.what);
        SetupState state = SetupState();
        state.workLeftUndone = 1;
        state.layoutStays = c.layoutStays;
        state.restartNeeded = c.restartNeeded;
        for (int failure : c.failures) {
            FailedFile& file = state.failedFiles[state.failedFileCount++];
            snprintf(file.path, kWorkPathSize, "C:\\Program Files\\qmx\\file%d.wav", failure);
            file.failure = failure;
        }
        std::string text = Compose(state, 3072, MessageUninstallIncomplete);
        EXPECT_EQ(0u, text.find("卸载没有完成。"));
        for (int k = 0; k < state.failedFileCount; ++k)
            EXPECT_EQ(1u, Count(text, std::string(state.failedFiles[k].path) + "\xEF\xBC\x88")) << k;
        for (const char* piece : c.said)
            EXPECT_EQ(1u, Count(text, piece)) << piece;
        for (const char* piece : c.unsaid)
            EXPECT_EQ(0u, Count(text, piece)) << piece;
        EXPECT_EQ(text.size() - strlen(kUninstallEnd), text.rfind(kUninstallEnd));
    }
}

// A buffer too small for every line keeps whole lines only, and always the
// request to try again; a count beyond the table reads no further.
TEST(ComposeOutcomeText, KeepsWholeLinesAndTheTailInASmallBuffer)
{
    SetupState state = WithFailures(kMaxFailedFiles, 100);
    state.failedFileCount = kMaxFailedFiles + 3;
    for (size_t capacity : {0u, 1u, 40u, 200u, 400u, 700u}) {
        std::string text = Compose(state, capacity);
        std::string uninstallText = Compose(state, capacity + 200, MessageUninstallIncomplete);
        SCOPED_TRACE(capacity);
        if (capacity < 200) {
            EXPECT_TRUE(text.empty() || text.find("安装没有完成") == 0);
            continue;
        }
        EXPECT_EQ(uninstallText.size() - strlen(kUninstallEnd), uninstallText.rfind(kUninstallEnd));
        EXPECT_EQ(Count(uninstallText, "\xEF\xBC\x88") - 1, Count(uninstallText, "）\r\n")) << "a line was cut";
        EXPECT_NE(std::string::npos, text.find("按“安 装”。"));
        size_t lines = Count(text, "\xEF\xBC\x88");  // one opening bracket a line
        EXPECT_EQ(lines, Count(text, "）\r\n")) << "a line was cut";
        EXPECT_LT(lines, (size_t)kMaxFailedFiles);
    }
}

TEST(ComposeOutcomeText, TheRestartAndDamagedMessagesAreWhole)
{
    SetupState state = SetupState();
    char text[512];
    ComposeOutcomeText(MessageInstalledRestart, &state, text, sizeof text);
    EXPECT_NE(nullptr, strstr(text, "已经安装"));
    EXPECT_NE(nullptr, strstr(text, "重新启动"));
    ComposeOutcomeText(MessageUninstalledRestart, &state, text, sizeof text);
    EXPECT_NE(nullptr, strstr(text, "已经卸载"));
    ComposeOutcomeText(MessageDamaged, &state, text, sizeof text);
    EXPECT_NE(nullptr, strstr(text, "重新下载"));
    ComposeOutcomeText(MessageNone, &state, text, sizeof text);
    EXPECT_STREQ("", text);
}

// The same text as the W calls take it (wchar_t here, UTF-16 on Windows),
// from this build's narrow text.
std::wstring Widen(const std::string& narrow)
{
    iconv_t convert = iconv_open("WCHAR_T", "UTF-8");
    std::wstring wide(narrow.size() + 1, L'\0');
    char* in = const_cast<char*>(narrow.data());
    char* out = reinterpret_cast<char*>(&wide[0]);
    size_t inLeft = narrow.size(), outLeft = wide.size() * sizeof(wchar_t);
    EXPECT_NE((size_t)-1, iconv(convert, &in, &inLeft, &out, &outLeft));
    iconv_close(convert);
    wide.resize(wide.size() - outLeft / sizeof(wchar_t));
    return wide;
}

std::wstring ComposeWide(OutcomeMessage message, const SetupState& state, size_t capacity)
{
    std::wstring paths[kMaxFailedFiles];
    const wchar_t* pointers[kMaxFailedFiles];
    for (int k = 0; k < kMaxFailedFiles; ++k) {
        paths[k] = Widen(state.failedFiles[k].path);
        pointers[k] = paths[k].c_str();
    }
    std::vector<wchar_t> text(capacity + 1, L'#');  // the last one is a canary
    ComposeOutcomeText(message, &state, pointers, text.data(), (uint32_t)capacity);
    EXPECT_EQ(L'#', text[capacity]) << "written past the buffer";
    return capacity ? std::wstring(text.data()) : std::wstring();
}

// Both forms come from the same texts: with room for all, the UTF-16 text
// says exactly what the narrow one says, every message, file and reason;
// in a small buffer it too keeps whole lines and its tail.
TEST(ComposeOutcomeText, TheWideFormSaysWhatTheNarrowFormSays)
{
    SetupState state = WithFailures(kMaxFailedFiles, 120);
    state.imeNotPlaced = 1;
    for (OutcomeMessage message : {MessageNone, MessageInstalledRestart, MessageUninstalledRestart, MessageIncomplete,
                                   MessageDamaged, MessageUninstallIncomplete}) {
        SCOPED_TRACE(message);
        std::vector<char> narrow(3072);
        ComposeOutcomeText(message, &state, narrow.data(), (uint32_t)narrow.size());
        EXPECT_EQ(Widen(narrow.data()), ComposeWide(message, state, 3072));
    }
    for (size_t capacity : {0u, 1u, 40u, 300u, 700u}) {
        SCOPED_TRACE(capacity);
        std::wstring text = ComposeWide(MessageIncomplete, state, capacity);
        if (capacity < 300)
            continue;
        EXPECT_EQ(text.size() - Widen("按“安 装”。").size(), text.rfind(Widen("按“安 装”。")));
        size_t opened = 0, closed = 0;
        for (size_t at = 0; at < text.size(); ++at) {
            opened += text[at] == L'\xFF08';
            closed += text.compare(at, 3, Widen("）\r\n")) == 0;
        }
        EXPECT_EQ(opened, closed) << "a line was cut";
        EXPECT_LT(0u, opened);
    }
}

}  // namespace
