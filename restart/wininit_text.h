// The text of WININIT.INI, edited byte for byte: Windows 9x carries out the
// lines of its [rename] section at the next restart (TARGET=SOURCE moves
// SOURCE over TARGET, NUL=PATH deletes PATH), and then renames the file.
#pragma once

#include <stdint.h>

// Writes into result the text with the line "key=value" added after the last
// line of its first [rename] section (the section name in any case), or in a
// new section at the end when there is none. Lines end as the file's first
// line does (CRLF when it has none). Every other byte stays as it was.
// Returns the new length, or 0 when it does not fit in capacity bytes.
uint32_t AddRenameLine(const char* text, uint32_t length, const char* key, const char* value,
                       char* result, uint32_t capacity);

// Writes into result, which holds at least length bytes, the text without
// the [rename] lines that act on path: a rename that targets it and a NUL=
// deletion of it. Paths compare as Windows compares them: ASCII letters in
// any case, the two bytes of a GBK character exactly. Returns the new length
// (length itself when nothing acted on path).
uint32_t RemoveRenameLinesFor(const char* text, uint32_t length, const char* path, char* result);

// 1 when the two paths name the same file as Windows compares names.
int SamePathText(const char* a, uint32_t aLength, const char* b, uint32_t bLength);
