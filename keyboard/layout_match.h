// Which keyboard-layout entries are the product's, over plain names and
// values: an entry that names the product's IME file, by its name alone or at
// the end of a path, or one that carries the product's layout text.
#pragma once

#include "common/setup_state.h"

// 1 when the file-name part of value (what follows its last '\', '/' or ':')
// is fileName in any letter case. Double-byte GBK characters compare as
// stored: their second byte is never a separator and never changes case.
int NamesImeFile(const char* value, const char* fileName);

enum { kMaxProductLayouts = 16 };  // more than a machine gathers; any beyond stay for the next run

struct ProductLayouts {
    int limit;  // at most kMaxProductLayouts
    int count;
    char ids[kMaxProductLayouts][kLayoutIdSize];
};

void StartProductLayouts(ProductLayouts* layouts, int limit);

// Takes one entry: its name and its "IME file" and "layout text" values
// (empty when missing or too long). It is the product's when imeFile names
// productImeFile, or when productLayoutText is not empty and equals
// layoutText byte for byte. Only a plain subkey name is kept. Returns 0 once
// limit entries are kept, so that the walk stops.
int NoteLayoutEntry(ProductLayouts* layouts, const char* id, const char* imeFile, const char* layoutText,
                    const char* productImeFile, const char* productLayoutText);
