// Desktop shortcuts: a shell link file written through the shell's own COM object.
#pragma once

// Writes linkPath as a shortcut to targetPath, described by its own path.
// A link path that does not fit MAX_PATH wide characters is not saved at all.
// Failures leave the shortcut missing and are not reported.
void CreateShortcut(const char* targetPath, const char* linkPath);
