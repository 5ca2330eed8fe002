// The end-of-work messages and their texts, in the program's own Chinese.
#include "shell/outcome_text.h"

#include "common/text.h"

enum { kExitRestartNeeded = 3010 };  // ERROR_SUCCESS_REBOOT_REQUIRED

static const char kInstalledRestart[] =
    "输入法已经安装好了。\r\n\r\n"
    "有些文件正被其他程序使用，要在 Windows 重新启动后才能换成新的。"
    "重新启动 Windows 后，安装才全部完成。";
static const char kUninstalledRestart[] =
    "输入法已经卸载了。\r\n\r\n"
    "有些文件正被其他程序使用，要在 Windows 重新启动后才能删除。"
    "重新启动 Windows 后，卸载才全部完成。";
static const char kIncompleteHead[] = "安装没有完成。\r\n";
static const char kFilesHead[] = "\r\n下列文件无法写入：\r\n";
static const char kImeNotPlaced[] = "\r\n输入法没能在系统中登记。\r\n";
static const char kIncompleteTail[] = "\r\n请关闭正在使用输入法的程序，然后再按“安 装”。";
static const char kDamaged[] =
    "安装文件已经损坏，可能是没有下载完整。\r\n\r\n请重新下载安装文件。";

// Indexed by FileFailure.
static const char* const kFailureTexts[] = {
    "（正被其他程序使用）",
    "（磁盘已满）",
    "（没有写入权限）",
    "（无法写入）",
};

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
static void AppendFailedFile(char* text, uint32_t capacity, const FailedFile* file)
{
    uint32_t length = TextLength(text);
    int failure = file->failure >= FailureHeld && file->failure <= FailureOther ? file->failure : FailureOther;
    if (!AppendText(text, capacity, file->path) || !AppendText(text, capacity, kFailureTexts[failure]) ||
        !AppendText(text, capacity, "\r\n"))
        text[length] = 0;
}

// The tail is kept room for, so that it is never the part left out.
static void ComposeIncomplete(const SetupState* state, char* text, uint32_t capacity)
{
    uint32_t room = capacity - (sizeof kIncompleteTail - 1);
    CopyText(text, room, kIncompleteHead);
    int count = state->failedFileCount < kMaxFailedFiles ? state->failedFileCount : kMaxFailedFiles;
    if (count > 0)
        AppendText(text, room, kFilesHead);
    for (int k = 0; k < count; ++k)
        AppendFailedFile(text, room, &state->failedFiles[k]);
    if (state->imeNotPlaced)
        AppendText(text, room, kImeNotPlaced);
    AppendText(text, capacity, kIncompleteTail);
}

void ComposeOutcomeText(OutcomeMessage message, const SetupState* state, char* text, uint32_t capacity)
{
    if (capacity == 0)
        return;
    text[0] = 0;
    switch (message) {
    case MessageInstalledRestart:
        CopyText(text, capacity, kInstalledRestart);
        break;
    case MessageUninstalledRestart:
        CopyText(text, capacity, kUninstalledRestart);
        break;
    case MessageIncomplete:
        if (capacity > sizeof kIncompleteTail + sizeof kIncompleteHead)
            ComposeIncomplete(state, text, capacity);
        break;
    case MessageDamaged:
        CopyText(text, capacity, kDamaged);
        break;
    case MessageNone:
        break;
    }
}

int UnattendedExitCode(const SetupState* state)
{
    if (state->workLeftUndone)
        return 1;
    return state->restartNeeded ? kExitRestartNeeded : 0;
}
