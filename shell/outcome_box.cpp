// The end-of-work message box; its choice and text are in outcome_text.
#include "shell/outcome_box.h"

#include "common/setup_state.h"
#include "common/shown_text.h"
#include "shell/main_window.h"
#include "shell/outcome_text.h"
#include "shell/shown_window.h"

// Room for ten full paths with their reasons and the lines around them.
enum { kOutcomeTextSize = 3072 };

// Most paths came from the A calls, in the system's code page; the desktop
// links' from the W calls, kept in GBK.
static void WidenFailedPaths(WCHAR (*widePaths)[kWorkPathSize], const WCHAR** pointers)
{
    for (int k = 0; k < kMaxFailedFiles; ++k) {
        const FailedFile& failed = setupState.failedFiles[k];
        if (!MultiByteToWideChar(failed.gbkPath ? kGbkCodePage : CP_ACP, 0, failed.path, -1, widePaths[k],
                                 kWorkPathSize))
            widePaths[k][0] = 0;
        pointers[k] = widePaths[k];
    }
}

void ShowOutcomeBox(HWND window, int uninstall)
{
    OutcomeMessage message = ChooseOutcomeMessage(&setupState, uninstall);
    if (setupState.unattended || message == MessageNone)
        return;
    static char text[kOutcomeTextSize];
    static WCHAR wideText[kOutcomeTextSize];
    static WCHAR widePaths[kMaxFailedFiles][kWorkPathSize];
    const WCHAR* pointers[kMaxFailedFiles];
    WidenFailedPaths(widePaths, pointers);
    ComposeOutcomeText(message, &setupState, text, sizeof text);
    ComposeOutcomeText(message, &setupState, pointers, wideText, kOutcomeTextSize);
    UINT icon = message == MessageDamaged                                                   ? MB_ICONHAND
                : message == MessageIncomplete || message == MessageUninstallIncomplete ? MB_ICONEXCLAMATION
                                                                                        : MB_ICONINFORMATION;
    ShownText shown = {wideText, text};
    ShowMessageBox(window, shown, kMainWindowTitle, MB_OK | icon);
}
