// The preload list decision: tie-breaks while walking, then the rewrite.
#include "keyboard/preload_plan.h"

#include "keyboard/registry_text.h"

void StartPreloadWalk(PreloadWalk* walk, int install)
{
    walk->install = install;
    walk->productAtTwo = 0;
    walk->productFound = 0;
    walk->entryTwoFound = 0;
    walk->highestNumber = 0;
}

int NotePreloadEntry(PreloadWalk* walk, const char* layoutId, const char* name, const char* value)
{
    PreloadEntry entry;
    if (!IsPlainName(name) || !CopyText(entry.name, kEntryNameSize, name) ||
        !CopyText(entry.value, kEntryValueSize, value))
        return 1;
    entry.number = EntryNumber(name);
    if (entry.number == 2) {
        walk->entryTwo = entry;
        walk->entryTwoFound = 1;
    }
    if (entry.number > walk->highestNumber) {
        walk->highestNumber = entry.number;
        walk->highestEntry = entry;
    }
    if (StringsEqual(layoutId, entry.value)) {
        if (walk->install && entry.number == 2) {
            walk->productAtTwo = 1;
            return 0;
        }
        walk->productEntry = entry;
        walk->productFound = 1;
    }
    return 1;
}

static void AddWrite(PreloadRewrite* rewrite, const char* name, const char* value)
{
    rewrite->writeName[rewrite->writeCount] = name;
    rewrite->writeValue[rewrite->writeCount] = value;
    ++rewrite->writeCount;
}

void PlanPreloadRewrite(const PreloadWalk* walk, PreloadRewrite* rewrite)
{
    rewrite->writeCount = 0;
    rewrite->deleteName = 0;
    if (!walk->productFound || walk->productAtTwo)
        return;
    const PreloadEntry* product = &walk->productEntry;
    if (walk->install) {
        if (!walk->entryTwoFound)
            return;
        AddWrite(rewrite, walk->entryTwo.name, product->value);
        AddWrite(rewrite, product->name, walk->entryTwo.value);
        return;
    }
    if (walk->highestNumber <= 0)
        return;
    // Two names can carry one number ("3" and "03"): only the same name is
    // the same subkey, so only then is nothing to be moved.
    if (!StringsEqual(product->name, walk->highestEntry.name))
        AddWrite(rewrite, product->name, walk->highestEntry.value);
    rewrite->deleteName = walk->highestEntry.name;
}
