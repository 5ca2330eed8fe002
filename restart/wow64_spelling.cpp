// The SysWOW64 spelling of a System-folder path.
#include "restart/wow64_spelling.h"

#include "common/text.h"
#include "restart/wininit_text.h"

// The folder's own name, or a name inside it; never a longer name that
// merely begins like it ("system32x").
static int LiesIn(const char* path, const char* folder, uint32_t folderLength)
{
    return folderLength > 0 && TextLength(path) >= folderLength &&
           SamePathText(path, folderLength, folder, folderLength) &&
           (path[folderLength] == '\\' || path[folderLength] == 0);
}

int SpellForWow64(const char* path, const char* systemDir, const char* wow64Dir, char* spelled, uint32_t capacity)
{
    uint32_t systemLength = TextLength(systemDir);
    int fits;
    if (LiesIn(path, systemDir, systemLength) && wow64Dir[0])
        fits = CopyText(spelled, capacity, wow64Dir) && AppendText(spelled, capacity, path + systemLength);
    else
        fits = CopyText(spelled, capacity, path);
    if (!fits && capacity > 0)
        spelled[0] = 0;
    return fits;
}
