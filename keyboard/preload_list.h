// The user's numbered preload list in the registry, as the preload plan
// reads and rewrites it: one subkey per entry, named by its number.
#pragma once

#include <windows.h>

#include "common/setup_state.h"

// The list key below HKEY_CURRENT_USER.
extern const char kPreloadListPath[];

struct PreloadList {
    HKEY key;
    char path[kWorkPathSize];  // the list key's path from the root
};

// Opens the list key below HKEY_CURRENT_USER for reading and writing; 0 when
// the user has no list in that form.
int OpenPreloadList(PreloadList* list);
void ClosePreloadList(PreloadList* list);
