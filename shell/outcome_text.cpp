// The end-of-work messages and their texts, in the program's own Chinese.
#include "shell/outcome_text.h"

#include "common/shown_text.h"
#include "common/text.h"

enum { kExitRestartNeeded = 3010 };  // ERROR_SUCCESS_REBOOT_REQUIRED

static const ShownText kInstalledRestart = SHOWN_TEXT(
    "输入法已经安装好了。\r\n\r\n"
    "有些文件正被其他程序使用，要在 Windows 重新启动后才能换成新的。"
    "重新启动 Windows 后，安装才全部完成。");
static const ShownText kUninstalledRestart = SHOWN_TEXT(
    "输入法已经卸载了。\r\n\r\n"
    "有些文件正被其他程序使用，要在 Windows 重新启动后才能删除。"
    "重新启动 Windows 后，卸载才全部完成。");
static const ShownText kIncompleteTail = SHOWN_TEXT("\r\n请关闭正在使用输入法的程序，然后再按“安 装”。");
static const ShownText kDamaged = SHOWN_TEXT("安装文件已经损坏，可能是没有下载完整。\r\n\r\n请重新下载安装文件。");
static const ShownText kLineEnd = SHOWN_TEXT("\r\n");

enum { kFailureKinds = FailureProtected + 1 };

// The texts of a list of files that stayed as they were: the install's or
// the uninstall's.
struct IncompleteTexts {
    ShownText head;
    ShownText filesHead;
    ShownText reasons[kFailureKinds];  // indexed by FileFailure
    ShownText systemStep;              // the IME not handed over, or its layout not taken out
};

static const IncompleteTexts kInstallTexts = {
    SHOWN_TEXT("安装没有完成。\r\n"),
    SHOWN_TEXT("\r\n下列文件无法写入：\r\n"),
    {
        SHOWN_TEXT("（正被其他程序使用）"),
        SHOWN_TEXT("（磁盘已满）"),
        SHOWN_TEXT("（没有写入权限）"),
        SHOWN_TEXT("（无法写入）"),
        SHOWN_TEXT("（只读、隐藏或系统文件）"),
    },
    SHOWN_TEXT("\r\n输入法没能在系统中登记。\r\n"),
};

static const IncompleteTexts kUninstallTexts = {
    SHOWN_TEXT("卸载没有完成。\r\n"),
    SHOWN_TEXT("\r\n下列各项没能删除：\r\n"),
    {
        SHOWN_TEXT("（正被其他程序使用）"),
        SHOWN_TEXT("（磁盘已满）"),
        SHOWN_TEXT("（没有删除权限）"),
        SHOWN_TEXT("（无法删除）"),
        SHOWN_TEXT("（受保护：只读、隐藏、系统文件或文件夹）"),
    },
    SHOWN_TEXT("\r\n输入法的键盘布局没能从系统中删除。\r\n"),
};

// Whether a restart finishes the uninstall, and what the user can do; the
// advice pieces follow the reasons that occur.
static const ShownText kUninstallRestartWaits =
    SHOWN_TEXT("\r\n正被使用的其余文件会在 Windows 重新启动后删除，但重新启动不能完成卸载。\r\n");
static const ShownText kUninstallRestartNoHelp = SHOWN_TEXT("\r\n重新启动 Windows 也不能完成卸载。\r\n");
static const ShownText kAdviceStart = SHOWN_TEXT("请");
static const ShownText kAdviceClosePrograms = SHOWN_TEXT("关闭正在使用输入法的程序，");
static const ShownText kAdviceAdministrator = SHOWN_TEXT("以管理员身份运行卸载，");
static const ShownText kAdviceProtected = SHOWN_TEXT("自己删除受保护的文件，");
static const ShownText kAdviceEnd = SHOWN_TEXT("然后再卸载一次（也可以在“添加或删除程序”中卸载）。");

enum { kAdviceSize = 256 };

// The form of a text that goes with the buffer's character type.
static const char* FormOf(ShownText text, const char*)
{
    return text.gbk;
}

static const wchar_t* FormOf(ShownText text, const wchar_t*)
{
    return text.wide;
}

OutcomeMessage ChooseOutcomeMessage(const SetupState* state, int uninstall)
{
    if (uninstall && state->workLeftUndone)
        return MessageUninstallIncomplete;
    if (uninstall)
        return state->restartNeeded ? MessageUninstalledRestart : MessageNone;
    if (state->containerDamaged)
        return MessageDamaged;
    if (state->workLeftUndone)
        return MessageIncomplete;
    return state->restartNeeded ? MessageInstalledRestart : MessageNone;
}

static int ListedFileCount(const SetupState* state)
{
    return state->failedFileCount < kMaxFailedFiles ? state->failedFileCount : kMaxFailedFiles;
}

static int ReasonOf(const FailedFile& file)
{
    return file.failure >= FailureHeld && file.failure < kFailureKinds ? file.failure : FailureOther;
}

static int AnyFileFor(const SetupState* state, int failure)
{
    for (int k = 0; k < ListedFileCount(state); ++k) {
        if (ReasonOf(state->failedFiles[k]) == failure)
            return 1;
    }
    return 0;
}

// One line per file: its path, the reason and a line end, whole or not at all.
template <typename Char>
static void AppendFailedFile(Char* text, uint32_t capacity, const Char* path, ShownText reason)
{
    uint32_t length = TextLength(text);
    if (!AppendText(text, capacity, path) || !AppendText(text, capacity, FormOf(reason, text)) ||
        !AppendText(text, capacity, FormOf(kLineEnd, text)))
        text[length] = 0;
}

// The incomplete uninstall's end: whether a restart helps, then the advice
// for the reasons that occur.
template <typename Char>
static void ComposeUninstallTail(const SetupState* state, Char* tail, uint32_t capacity)
{
    CopyText(tail, capacity, FormOf(state->restartNeeded ? kUninstallRestartWaits : kUninstallRestartNoHelp, tail));
    AppendText(tail, capacity, FormOf(kAdviceStart, tail));
    if (AnyFileFor(state, FailureHeld))
        AppendText(tail, capacity, FormOf(kAdviceClosePrograms, tail));
    if (state->layoutStays || AnyFileFor(state, FailureNoAccess) || AnyFileFor(state, FailureOther))
        AppendText(tail, capacity, FormOf(kAdviceAdministrator, tail));
    if (AnyFileFor(state, FailureProtected))
        AppendText(tail, capacity, FormOf(kAdviceProtected, tail));
    AppendText(tail, capacity, FormOf(kAdviceEnd, tail));
}

// The tail is kept room for, so that it is never the part left out.
template <typename Char>
static void ComposeIncomplete(const IncompleteTexts& texts, int systemStepFailed, const Char* tail,
                              const SetupState* state, const Char* const* paths, Char* text, uint32_t capacity)
{
    if (capacity <= TextLength(tail) + TextLength(FormOf(texts.head, text)) + 2)
        return;
    uint32_t room = capacity - TextLength(tail);
    CopyText(text, room, FormOf(texts.head, text));
    int count = ListedFileCount(state);
    if (count > 0)
        AppendText(text, room, FormOf(texts.filesHead, text));
    for (int k = 0; k < count; ++k)
        AppendFailedFile(text, room, paths[k], texts.reasons[ReasonOf(state->failedFiles[k])]);
    if (systemStepFailed)
        AppendText(text, room, FormOf(texts.systemStep, text));
    AppendText(text, capacity, tail);
}

template <typename Char>
static void Compose(OutcomeMessage message, const SetupState* state, const Char* const* paths, Char* text,
                    uint32_t capacity)
{
    if (capacity == 0)
        return;
    text[0] = 0;
    Char tail[kAdviceSize];
    switch (message) {
    case MessageInstalledRestart:
        CopyText(text, capacity, FormOf(kInstalledRestart, text));
        break;
    case MessageUninstalledRestart:
        CopyText(text, capacity, FormOf(kUninstalledRestart, text));
        break;
    case MessageIncomplete:
        ComposeIncomplete(kInstallTexts, state->imeNotPlaced, FormOf(kIncompleteTail, text), state, paths, text,
                          capacity);
        break;
    case MessageUninstallIncomplete:
        ComposeUninstallTail(state, tail, kAdviceSize);
        ComposeIncomplete(kUninstallTexts, state->layoutStays, tail, state, paths, text, capacity);
        break;
    case MessageDamaged:
        CopyText(text, capacity, FormOf(kDamaged, text));
        break;
    case MessageNone:
        break;
    }
}

void ComposeOutcomeText(OutcomeMessage message, const SetupState* state, char* text, uint32_t capacity)
{
    const char* paths[kMaxFailedFiles];
    for (int k = 0; k < kMaxFailedFiles; ++k)
        paths[k] = state->failedFiles[k].path;
    Compose(message, state, paths, text, capacity);
}

void ComposeOutcomeText(OutcomeMessage message, const SetupState* state, const wchar_t* const* widePaths,
                        wchar_t* text, uint32_t capacity)
{
    Compose(message, state, widePaths, text, capacity);
}

int RunExitCode(const SetupState* state)
{
    if (state->workLeftUndone)
        return 1;
    return state->restartNeeded ? kExitRestartNeeded : 0;
}
