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
static const ShownText kIncompleteHead = SHOWN_TEXT("安装没有完成。\r\n");
static const ShownText kFilesHead = SHOWN_TEXT("\r\n下列文件无法写入：\r\n");
static const ShownText kImeNotPlaced = SHOWN_TEXT("\r\n输入法没能在系统中登记。\r\n");
static const ShownText kIncompleteTail = SHOWN_TEXT("\r\n请关闭正在使用输入法的程序，然后再按“安 装”。");
static const ShownText kDamaged = SHOWN_TEXT("安装文件已经损坏，可能是没有下载完整。\r\n\r\n请重新下载安装文件。");
static const ShownText kLineEnd = SHOWN_TEXT("\r\n");

// Indexed by FileFailure.
static const ShownText kFailureTexts[] = {
    SHOWN_TEXT("（正被其他程序使用）"),
    SHOWN_TEXT("（磁盘已满）"),
    SHOWN_TEXT("（没有写入权限）"),
    SHOWN_TEXT("（无法写入）"),
};

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
    if (uninstall)
        return state->restartNeeded ? MessageUninstalledRestart : MessageNone;
    if (state->containerDamaged)
        return MessageDamaged;
    if (state->workLeftUndone)
        return MessageIncomplete;
    return state->restartNeeded ? MessageInstalledRestart : MessageNone;
}

// One line per file: its path, the reason and a line end, whole or not at all.
template <typename Char>
static void AppendFailedFile(Char* text, uint32_t capacity, const Char* path, int failure)
{
    uint32_t length = TextLength(text);
    if (failure < FailureHeld || failure > FailureOther)
        failure = FailureOther;
    if (!AppendText(text, capacity, path) || !AppendText(text, capacity, FormOf(kFailureTexts[failure], text)) ||
        !AppendText(text, capacity, FormOf(kLineEnd, text)))
        text[length] = 0;
}

// The tail is kept room for, so that it is never the part left out.
template <typename Char>
static void ComposeIncomplete(const SetupState* state, const Char* const* paths, Char* text, uint32_t capacity)
{
    const Char* tail = FormOf(kIncompleteTail, text);
    uint32_t room = capacity - TextLength(tail);
    CopyText(text, room, FormOf(kIncompleteHead, text));
    int count = state->failedFileCount < kMaxFailedFiles ? state->failedFileCount : kMaxFailedFiles;
    if (count > 0)
        AppendText(text, room, FormOf(kFilesHead, text));
    for (int k = 0; k < count; ++k)
        AppendFailedFile(text, room, paths[k], state->failedFiles[k].failure);
    if (state->imeNotPlaced)
        AppendText(text, room, FormOf(kImeNotPlaced, text));
    AppendText(text, capacity, tail);
}

template <typename Char>
static void Compose(OutcomeMessage message, const SetupState* state, const Char* const* paths, Char* text,
                    uint32_t capacity)
{
    if (capacity == 0)
        return;
    text[0] = 0;
    switch (message) {
    case MessageInstalledRestart:
        CopyText(text, capacity, FormOf(kInstalledRestart, text));
        break;
    case MessageUninstalledRestart:
        CopyText(text, capacity, FormOf(kUninstalledRestart, text));
        break;
    case MessageIncomplete:
        if (capacity > TextLength(FormOf(kIncompleteTail, text)) + TextLength(FormOf(kIncompleteHead, text)) + 2)
            ComposeIncomplete(state, paths, text, capacity);
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

int UnattendedExitCode(const SetupState* state)
{
    if (state->workLeftUndone)
        return 1;
    return state->restartNeeded ? kExitRestartNeeded : 0;
}
