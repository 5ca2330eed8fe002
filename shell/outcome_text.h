// What the user is told when an install or an uninstall ends, as plain logic
// over the outcome fields of the setup record: which message, and its text.
#pragma once

#include <stdint.h>

#include "common/setup_state.h"

enum OutcomeMessage {
    MessageNone,                // a complete install or uninstall ends silently
    MessageInstalledRestart,    // installed; held files are replaced when Windows restarts
    MessageUninstalledRestart,  // removed; held files are deleted when Windows restarts
    MessageIncomplete,          // the install could not complete: the files and why
    MessageDamaged,             // the setup file's own container could not be read
    MessageUninstallIncomplete,  // something stays for good: what, why, and what the user can do
};

OutcomeMessage ChooseOutcomeMessage(const SetupState* state, int uninstall);

// The message's text, GBK, into text (capacity bytes, always ended). The
// incomplete install or uninstall names each file that could not be written
// or removed and why, as many as fit, and what the user can do.
void ComposeOutcomeText(OutcomeMessage message, const SetupState* state, char* text, uint32_t capacity);

// The same in UTF-16 (capacity characters), with each failed file's path as
// widePaths gives it: widePaths[k] for state->failedFiles[k].
void ComposeOutcomeText(OutcomeMessage message, const SetupState* state, const wchar_t* const* widePaths,
                        wchar_t* text, uint32_t capacity);

// The exit code of a run, with a window or without: 0 done (or nothing
// done, as when the window is closed first), 3010 done with something
// waiting for the next restart (the Windows Installer's code for it), 1 not done.
int RunExitCode(const SetupState* state);
