// The files that an install could not write or an uninstall could not
// remove, each with why, for the user's message box and the exit code.
#pragma once

#include <stdint.h>

#include "common/setup_state.h"

// The reason a failing file call's win32Error gives.
FileFailure FailureOfError(uint32_t win32Error);

// Notes path (in the system's code page) with its reason; the first
// kMaxFailedFiles files are kept.
void NoteFileFailure(const char* path, FileFailure failure);

// The same for a path in GBK, as the W calls' paths are noted.
void NoteGbkFileFailure(const char* path, FileFailure failure);

// Notes path with the reason that win32Error gives.
void NoteFailedFile(const char* path, uint32_t win32Error);
