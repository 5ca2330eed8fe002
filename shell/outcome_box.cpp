// The end-of-work message box; its choice and text are in outcome_text.
#include "shell/outcome_box.h"

#include "common/setup_state.h"
#include "shell/main_window.h"
#include "shell/outcome_text.h"

// Room for ten full paths with their reasons and the lines around them.
enum { kOutcomeTextSize = 3072 };

void ShowOutcomeBox(HWND window, int uninstall)
{
    OutcomeMessage message = ChooseOutcomeMessage(&setupState, uninstall);
    if (setupState.unattended || message == MessageNone)
        return;
    char text[kOutcomeTextSize];
    ComposeOutcomeText(message, &setupState, text, sizeof text);
    UINT icon = message == MessageDamaged      ? MB_ICONHAND
                : message == MessageIncomplete ? MB_ICONEXCLAMATION
                                               : MB_ICONINFORMATION;
    MessageBoxA(window, text, kMainWindowTitle, MB_OK | icon);
}
