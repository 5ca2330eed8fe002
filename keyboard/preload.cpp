// The user's preload list in its numbered-subkey form: the walk that feeds
// the plan, which rewrites the list through preload_list, and the log of it.
#include "keyboard/keyboard.h"

#include "common/setup_log.h"
#include "common/setup_state.h"
#include "keyboard/preload_list.h"
#include "keyboard/preload_plan.h"
#include "keyboard/registry_io.h"
#include "keyboard/registry_text.h"

int ReorderPreload(int install)
{
    PreloadList list;
    if (!OpenPreloadList(&list))
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
    ClosePreloadList(&list);
    return rewritten;
}

void LogPreloadList(const char* label)
{
    Log(label);
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kPreloadListPath, 0, KEY_READ, &key) == ERROR_SUCCESS) {
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
