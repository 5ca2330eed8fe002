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
    if (entry.number > 0 && layoutId[0] && StringsEqual(layoutId, entry.value)) {
        if (walk->install && entry.number == 2) {
            walk->productAtTwo = 1;
            return 0;
        }
        walk->productEntry = entry;
        walk->productFound = 1;
    }
    return 1;
}

static void AddWrite(PreloadRewrite* rewrite, const PreloadEntry* entry, const char* value)
{
    rewrite->writeName[rewrite->writeCount] = entry->name;
    rewrite->writeValue[rewrite->writeCount] = value;
    rewrite->previousValue[rewrite->writeCount] = entry->value;
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
        // Entry 2's value is copied before it is overwritten, so that a
        // failure between the two writes leaves it held twice, never lost.
        AddWrite(rewrite, product, walk->entryTwo.value);
        AddWrite(rewrite, &walk->entryTwo, product->value);
        return;
    }
    if (walk->highestNumber <= 0)
        return;
    // Two names can carry one number ("3" and "03"): only the same name is
    // the same subkey, so only then is nothing to be moved.
    if (!StringsEqual(product->name, walk->highestEntry.name))
        AddWrite(rewrite, product, walk->highestEntry.value);
    rewrite->deleteName = walk->highestEntry.name;
}

static void PutBackWrites(PreloadList* list, const PreloadRewrite* rewrite, int count)
{
    while (count-- > 0)
        WritePreloadValue(list, rewrite->writeName[count], rewrite->previousValue[count]);
}

int CarryOutPreloadRewrite(PreloadList* list, const PreloadRewrite* rewrite)
{
    for (int w = 0; w < rewrite->writeCount; ++w) {
        if (!WritePreloadValue(list, rewrite->writeName[w], rewrite->writeValue[w])) {
            PutBackWrites(list, rewrite, w);
            return 0;
        }
    }
    if (rewrite->deleteName && !DeletePreloadEntry(list, rewrite->deleteName)) {
        PutBackWrites(list, rewrite, rewrite->writeCount);
        return 0;
    }
    return 1;
}
