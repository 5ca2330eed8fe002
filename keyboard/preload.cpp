// The user's preload list in its numbered-subkey form: the registry walk and
// the writes; the decision is in preload_plan.
#include "keyboard/keyboard.h"

#include "common/setup_state.h"
#include "keyboard/preload_plan.h"
#include "keyboard/registry_io.h"
#include "keyboard/registry_text.h"

static const char kPreloadPath[] = "keyboard layout\\preload";

// Deletes one entry, addressed from the root by its full path.
static void DeleteEntry(char* path, const char* name)
{
    if (AppendText(path, kWorkPathSize, "\\") && AppendText(path, kWorkPathSize, name))
        RegDeleteKeyA(HKEY_CURRENT_USER, path);
}

void ReorderPreload(int install)
{
    char path[kWorkPathSize];
    HKEY list;
    CopyText(path, sizeof path, kPreloadPath);
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_ALL_ACCESS, &list) != ERROR_SUCCESS)
        return;
    PreloadWalk walk;
    StartPreloadWalk(&walk, install);
    char name[kEntryNameSize];
    char value[kEntryValueSize + 1];
    for (DWORD i = 0; RegEnumKeyA(list, i, name, kEntryNameSize) == ERROR_SUCCESS; ++i) {
        if (ReadSubkeyText(list, name, NULL, value, kEntryValueSize) &&
            !NotePreloadEntry(&walk, setupState.layoutId, name, value))
            break;
    }
    PreloadRewrite rewrite;
    PlanPreloadRewrite(&walk, &rewrite);
    for (int w = 0; w < rewrite.writeCount; ++w)
        WriteSubkeyText(list, rewrite.writeName[w], rewrite.writeValue[w]);
    if (rewrite.deleteName)
        DeleteEntry(path, rewrite.deleteName);
    RegCloseKey(list);
}
