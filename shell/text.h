// Text in fixed buffers, without the C runtime.
#pragma once

#include <stdint.h>

uint32_t TextLength(const char* text);

// Copies or appends text only when it fits with its NUL in capacity bytes;
// returns 0 and leaves the destination as it was otherwise.
int CopyText(char* destination, uint32_t capacity, const char* text);
int AppendText(char* destination, uint32_t capacity, const char* text);
