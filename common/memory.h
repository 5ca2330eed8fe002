// Memory from the process heap; the shipped image has no C runtime.
#pragma once

#include <stdint.h>

// Null when the heap cannot give size bytes.
void* AllocateBytes(uint32_t size);
// Null is let be.
void FreeBytes(void* block);
