// The user's preload list in its numbered-subkey form: the registry walk and
// the writes; the decision is in preload_plan.
#include "keyboard/keyboard.h"

#include "common/setup_log.h"
#include "common/setup_state.h"
#include "keyboard/preload_plan.h"
#include "keyboard/registry_io.h"
#include "keyboard/registry_text.h"

static const char kPreloadPath[] = "keyboard layout\\preload";

struct PreloadList {
    HKEY key;
    char path[kWorkPathSize];  // the list key's path from the root
};

int WritePreloadValue(PreloadList* list, const char* name, const char* value)
{
    return WriteSubkeyText(list->key, name, value);
}

// Deletes one entry, addressed from the root by its full path.
int DeletePreloadEntry(PreloadList* list, const char* name)
{
    return AppendText(list->path, kWorkPathSize, "\\") && AppendText(list->path, kWorkPathSize, name) &&
           RegDeleteKeyA(HKEY_CURRENT_USER, list->path) == ERROR_SUCCESS;
}

int ReorderPreload(int install)
{
    PreloadList list;
    CopyText(list.path, sizeof list.path, kPreloadPath);
    if (RegOpenKeyExA(HKEY_CURRENT_USER, list.path, 0, KEY_ALL_ACCESS, &list.key) != ERROR_SUCCESS)
        return 1;
    PreloadWalk walk;
    StartPreloadWalk(&walk, install);
    char name[kEntryNameSize];
    char value[kEntryValueSize + 1];
    for (DWORD i = 0; RegEnumKeyA(list.key, i, name, kEntryNameSize) == ERROR_SUCCESS; ++i) {
        if (ReadSubkeyText(list.key, name, NULL, value, kEntryValueSize) &&
            !NotePreloadEntry(&walk, setupState.layoutId, name, value))
            break;
    }
    PreloadRewrite rewrite;
    PlanPreloadRewrite(&walk, &rewrite);
    int rewritten = CarryOutPreloadRewrite(&list, &rewrite);
    RegCloseKey(list.key);
    return rewritten;
}

void LogPreloadList(const char* label)
{
    Log(label);
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kPreloadPath, 0, KEY_READ, &key) == ERROR_SUCCESS) {
        char name[kEntryNameSize];
        char value[kEntryValueSize + 1];
        for (DWORD i = 0; RegEnumKeyA(key, i, name, kEntryNameSize) == ERROR_SUCCESS; ++i) {
            if (!ReadSubkeyText(key, name, NULL, value, kEntryValueSize))
                value[0] = 0;
            Log(name);
            Log("=");
            Log(value);
            Log(" ");
        }
        Log("{");
        DWORD nameSize = kEntryNameSize, valueSize = kEntryValueSize, type;
        for (DWORD i = 0; RegEnumValueA(key, i, name, &nameSize, NULL, &type, (BYTE*)value, &valueSize) == ERROR_SUCCESS;
             ++i, nameSize = kEntryNameSize, valueSize = kEntryValueSize) {
            value[type == REG_SZ ? valueSize : 0] = 0;
            Log(" ");
            Log(name);
            Log("=");
            Log(value);
        }
        Log(" }");
        RegCloseKey(key);
    }
    EndLogLine();
}
