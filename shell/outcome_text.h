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
};

OutcomeMessage ChooseOutcomeMessage(const SetupState* state, int uninstall);

// The message's text, GBK, into text (capacity bytes, always ended). The
// incomplete install names each file that could not be written and why, as
// many as fit.
void ComposeOutcomeText(OutcomeMessage message, const SetupState* state, char* text, uint32_t capacity);

// The same in UTF-16 (capacity characters), with each failed file's path as
// widePaths gives it: widePaths[k] for state->failedFiles[k].
void ComposeOutcomeText(OutcomeMessage message, const SetupState* state, const wchar_t* const* widePaths,
                        wchar_t* text, uint32_t capacity);

// The exit code of an unattended run: 0 done, 3010 done with something
// waiting for the next restart (the Windows Installer's code for it), 1 not done.
int UnattendedExitCode(const SetupState* state);
