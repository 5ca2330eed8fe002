// The machine's keyboard-layout entries of the product: the one whose layout
// text is the product's, the one that names its IME file, and all of them
// for the uninstall.
#include "keyboard/keyboard.h"

#include "common/setup_state.h"
#include "keyboard/layout_match.h"
#include "keyboard/registry_io.h"
#include "keyboard/registry_text.h"

static const char kLayoutsPath[] = "System\\CurrentControlSet\\Control\\Keyboard Layouts";

enum {
    kLayoutTextSize = 20,           // the query's size: at most 19 characters
    kImeFileSize = kWorkPathSize,  // a file name, or a full path as Wine keeps it
};

// An entry's layout text, in GBK like the product's: text holds
// kLayoutTextSize + 1 bytes.
static int ReadLayoutText(HKEY layouts, const char* id, char* text)
{
    return ReadSubkeyGbkText(layouts, id, "layout text", L"layout text", text, kLayoutTextSize);
}

int FindLayoutEntry(void)
{
    HKEY layouts;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kLayoutsPath, 0, KEY_ALL_ACCESS, &layouts) != ERROR_SUCCESS)
        return 0;
    // Each name is enumerated straight into layoutId, so a match stays there.
    char text[kLayoutTextSize + 1];
    int found = 0;
    for (DWORD i = 0; !found && RegEnumKeyA(layouts, i, setupState.layoutId, kLayoutIdSize) == ERROR_SUCCESS; ++i)
        found = ReadLayoutText(layouts, setupState.layoutId, text) &&
                StringsEqual(setupState.layoutText, text);
    RegCloseKey(layouts);
    if (!found)
        setupState.layoutId[0] = 0;
    return found;
}

// Gathers the product's entries in enumeration order, up to found->limit:
// those that name imeFileName, and those that carry layoutText unless it is
// empty. The walk ends at the first name that does not fit, as above.
static void GatherProductLayouts(ProductLayouts* found, const char* imeFileName, const char* layoutText)
{
    HKEY layouts;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kLayoutsPath, 0, KEY_ALL_ACCESS, &layouts) != ERROR_SUCCESS)
        return;
    char id[kLayoutIdSize];
    char imeFile[kImeFileSize + 1];
    char text[kLayoutTextSize + 1];
    int more = 1;
    for (DWORD i = 0; more && RegEnumKeyA(layouts, i, id, sizeof id) == ERROR_SUCCESS; ++i) {
        if (!ReadSubkeyText(layouts, id, "IME file", imeFile, kImeFileSize))
            imeFile[0] = 0;
        if (!ReadLayoutText(layouts, id, text))
            text[0] = 0;
        more = NoteLayoutEntry(found, id, imeFile, text, imeFileName, layoutText);
    }
    RegCloseKey(layouts);
}

int FindImeEntry(const char* imeFileName)
{
    ProductLayouts found;
    StartProductLayouts(&found, 1);
    GatherProductLayouts(&found, imeFileName, "");
    return found.count == 1 && CopyText(setupState.layoutId, kLayoutIdSize, found.ids[0]);
}

// The entries are deleted once the walk is over, since a deletion shifts the
// enumeration's indexes; each is addressed from the root by its full path.
int RemoveProductLayouts(void)
{
    ProductLayouts found;
    StartProductLayouts(&found, kMaxProductLayouts);
    GatherProductLayouts(&found, setupState.imeFileName, setupState.layoutText);
    int allRemoved = 1;
    for (int k = 0; k < found.count; ++k) {
        char path[kWorkPathSize];
        CopyText(path, sizeof path, kLayoutsPath);
        if (!AppendText(path, sizeof path, "\\") || !AppendText(path, sizeof path, found.ids[k]) ||
            RegDeleteKeyA(HKEY_LOCAL_MACHINE, path) != ERROR_SUCCESS)
            allRemoved = 0;
        CopyText(setupState.layoutId, kLayoutIdSize, found.ids[k]);
        allRemoved &= ReorderPreload(0);
    }
    return allRemoved;
}
