// The kept uninstaller taking its own file away: a running program cannot
// delete the file it runs from.
#pragma once

// When the running program is the kept uninstaller at keptPath, its file
// goes out of the way: on the NT family it moves into the temporary folder,
// from where the next restart deletes it; on Windows 9x, which moves no
// running program, it waits in the program folder for the restart. Returns
// 1 in that second case, when the folder must wait for the restart with it.
// Neither asks for a restart: no part of the product acts from there.
int SetOwnFileAside(const char* keptPath);

// 1 when name (a bare file name) is the kept uninstaller's.
int IsKeptUninstallerName(const char* name);
