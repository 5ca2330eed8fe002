// The decision behind the preload list rewrite, over plain names and values:
// which entries exchange values on install, which entry is refilled and which
// one deleted on uninstall. The registry walk feeds it one entry at a time.
#pragma once

#include <stdint.h>

enum {
    kEntryNameSize = 10,   // the enumeration's capacity: at most 9 characters
    kEntryValueSize = 40,  // the value query's size: at most 39 characters
};

struct PreloadEntry {
    int32_t number;  // the name's numeric reading, which alone gives the position
    char name[kEntryNameSize];
    char value[kEntryValueSize];
};

struct PreloadWalk {
    int install;
    int productAtTwo;  // install only: the product already stands at entry 2
    int productFound;
    int entryTwoFound;
    int32_t highestNumber;      // running maximum, 0 at the start
    PreloadEntry entryTwo;      // the last entry seen numbered 2
    PreloadEntry productEntry;  // the last entry seen holding the product's identifier
    PreloadEntry highestEntry;  // the first entry seen with the largest number above 0
};

// Up to two value writes, in order, each with the value its entry held
// before, and at most one entry to delete; all point into the walk.
struct PreloadRewrite {
    int writeCount;
    const char* writeName[2];
    const char* writeValue[2];
    const char* previousValue[2];
    const char* deleteName;  // 0 when nothing is deleted
};

// The list as each build holds it: the registry's list key on Windows, a
// plain table in the native tests. Each build defines these two.
struct PreloadList;
int WritePreloadValue(PreloadList* list, const char* name, const char* value);  // 1 when written
int DeletePreloadEntry(PreloadList* list, const char* name);                   // 1 when deleted

void StartPreloadWalk(PreloadWalk* walk, int install);

// Takes one entry in enumeration order. An entry whose name is not a plain
// subkey name or whose name or value does not fit is passed over. Only a
// numbered entry (a number above 0) can be the product's, and none can be
// with an empty layoutId: moving a value into or out of an entry that is not
// in the numbered list would take a user's layout off that list. Returns 0
// when the walk is to stop: on install, the product already stands at entry 2.
int NotePreloadEntry(PreloadWalk* walk, const char* layoutId, const char* name, const char* value);

// Install: the product's entry and entry 2 exchange values. Uninstall: the
// product's entry takes the highest entry's value, and the highest entry is
// deleted. Nothing when a partner is missing.
void PlanPreloadRewrite(const PreloadWalk* walk, PreloadRewrite* rewrite);

// Each step is taken only once the one before it has succeeded, and a step
// that fails puts back what the earlier ones wrote, so that no value a
// user's entry held is lost or doubled by a write or delete that fails.
// Returns 1 when every step was taken (or there was none), 0 when one failed.
int CarryOutPreloadRewrite(PreloadList* list, const PreloadRewrite* rewrite);
