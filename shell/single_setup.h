// One setup at a time: a second copy, started while one installs or
// uninstalls, touches nothing.
#pragma once

// Takes the machine-wide guard, held until the process ends; 1 when no
// other copy holds it.
int TakeSingleSetupGuard(void);

// Brings the running copy's window to the front, when it has one this user
// can see.
void ShowRunningSetup(void);
