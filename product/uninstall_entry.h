// The product's entry in the machine's list of installed programs, which
// Add/Remove Programs and deployment tools read.
#pragma once

#include <stdint.h>

// Below HKEY_LOCAL_MACHINE; the last part is the product's own fixed key.
extern const char kUninstallKeyPath[];

// Writes the entry, or rewrites an earlier one, for the kept uninstaller at
// uninstallerPath; installedBytes gives the size it shows. Returns 1 when
// every value was written.
int WriteUninstallEntry(const char* uninstallerPath, uint32_t installedBytes);

// Deletes the entry. Returns 1 when it is gone, also when it was never there.
int RemoveUninstallEntry(void);
