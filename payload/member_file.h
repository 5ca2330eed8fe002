// The member writer: one member's bytes into its file, or, when another
// program holds that file, into a file beside it that replaces it at the next
// restart.
#pragma once

#include <stdint.h>

#include "common/failed_files.h"  // NoteFailedFile, for the other steps of the install

enum MemberWrite {
    MemberNotWritten = 0,  // nothing usable was written; the file is noted in setupState.failedFiles
    MemberWritten = 1,     // the file holds the member's bytes
    MemberDeferred = 2,    // the bytes wait beside the held file until the next restart
};

// Appends the NUL-terminated name at the start of memberBytes to folderPath,
// a kWorkPathSize buffer ending in "\", and writes memberBytes[nameLength,
// totalLength) to that file, after taking out whatever an earlier run left
// pending there for the next restart. A write that fails or falls short is
// deleted rather than left cut short. A deferred member counts as written for
// its follow-up steps, and raises setupState.restartNeeded.
MemberWrite WriteMemberFile(char* folderPath, uint32_t nameLength, const uint8_t* memberBytes, uint32_t totalLength);
