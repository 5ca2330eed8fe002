// The product's two desktop links: their names in both forms, and their
// full paths as the shell's link object and the W file calls take them.
#pragma once

#include <windows.h>

#include "common/shown_text.h"

extern const ShownText kHelpLinkName;
extern const ShownText kTypingLinkName;

// The link's path in path (kWorkPathSize wide characters). On the NT family
// it is the desktop folder read as Unicode and the name's UTF-16 form, so
// the name on disk is right under every code page; on Windows 9x the GBK
// folder and name widened through the system's code page, as its shell
// keeps them. Returns 0, path empty, when there is no desktop folder or the
// path does not fit MAX_PATH: a cut path names nothing of the product's.
int DesktopLinkPath(ShownText name, WCHAR* path);

// The link's path, as DesktopLinkPath made it, for the log and the user's
// box (kWorkPathSize bytes): on the NT family in GBK, a character that GBK
// lacks becoming "?", and where it does not fit, the link's bare name; on
// Windows 9x in its own code page, the path the A calls take.
void DesktopLinkShownPath(ShownText name, const WCHAR* path, char* gbk);
