// The machine's keyboard-layout entry whose layout text is the product's.
#include "keyboard/keyboard.h"

#include "common/setup_state.h"
#include "keyboard/registry_io.h"
#include "keyboard/registry_text.h"

static const char kLayoutsPath[] = "System\\CurrentControlSet\\Control\\Keyboard Layouts";

enum { kLayoutTextSize = 20 };  // the query's size: at most 19 characters

int FindLayoutEntry(int checkOnly)
{
    char path[kWorkPathSize];
    HKEY layouts;
    CopyText(path, sizeof path, kLayoutsPath);
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_ALL_ACCESS, &layouts) != ERROR_SUCCESS)
        return 0;
    // Each name is enumerated straight into layoutId, so a match stays there.
    char text[kLayoutTextSize + 1];
    int found = 0;
    for (DWORD i = 0; !found && RegEnumKeyA(layouts, i, setupState.layoutId, kLayoutIdSize) == ERROR_SUCCESS; ++i)
        found = ReadSubkeyText(layouts, setupState.layoutId, "layout text", text, kLayoutTextSize) &&
                StringsEqual(setupState.layoutText, text);
    RegCloseKey(layouts);
    if (!found) {
        setupState.layoutId[0] = 0;
        return 0;
    }
    if (!checkOnly && AppendText(path, sizeof path, "\\") && AppendText(path, sizeof path, setupState.layoutId))
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, path);
    return 1;
}
