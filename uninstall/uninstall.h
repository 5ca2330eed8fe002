// The uninstall sequence, run on the window thread.
#pragma once

#include <windows.h>

// Removes the installed files, the layout entry and the preload entry, then
// ends the program by sending WM_DESTROY to the given window.
void RunUninstall(HWND window);

// Works the fixed removal list; a path that cannot be built is skipped.
// Returns 1 when nothing on the list is left, 0 when something stayed.
int RemoveInstalledFiles(void);

// Deletes the archive-only files directly in the folder named by path (a
// kWorkPathSize buffer, no trailing "\"), then the folder itself. Changes path.
void ClearFolder(char* path);
