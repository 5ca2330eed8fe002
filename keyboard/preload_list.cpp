// The registry side of the preload plan: the list key and its entries.
#include "keyboard/preload_list.h"

#include "common/text.h"
#include "keyboard/preload_plan.h"
#include "keyboard/registry_io.h"

const char kPreloadListPath[] = "keyboard layout\\preload";

int OpenPreloadList(PreloadList* list)
{
    CopyText(list->path, sizeof list->path, kPreloadListPath);
    return RegOpenKeyExA(HKEY_CURRENT_USER, list->path, 0, KEY_ALL_ACCESS, &list->key) == ERROR_SUCCESS;
}

void ClosePreloadList(PreloadList* list)
{
    RegCloseKey(list->key);
}

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
