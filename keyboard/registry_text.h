// Byte-level text helpers for the keyboard-layout registry code: exact
// comparison, bounded copies and appends, value termination and the numeric
// reading of preload entry names. No C runtime, no platform calls.
#pragma once

#include <stdint.h>

#include "common/text.h"

// 1 when the two NUL-terminated byte strings are identical, 0 otherwise.
// Bytes compare as stored: no case folding, trimming or code-page conversion.
int StringsEqual(const char* reference, const char* other);

// Ends the length bytes that a registry query delivered into a buffer of
// capacity + 1 bytes. Returns 0 for data that fills the capacity without a
// NUL of its own, which is too long to be the whole value.
int EndValueText(char* text, uint32_t length, uint32_t capacity);

// The name read as a decimal number the way atol reads it: leading blanks,
// an optional sign, digits up to the first other byte; 0 without digits.
// Values beyond 32 bits are held at the nearest bound.
int32_t EntryNumber(const char* name);

// A name that addresses exactly one subkey below a list key: not empty and
// without a path separator.
int IsPlainName(const char* name);
