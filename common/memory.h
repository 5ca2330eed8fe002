// Memory from the process heap; the shipped image has no C runtime.
#pragma once

#include <stdint.h>

// Null when the heap cannot give size bytes.
void* AllocateBytes(uint32_t size);
// Null is let be.
void FreeBytes(void* block);

// 1 when the count bytes at one and other are the same.
inline int SameBytes(const uint8_t* one, const uint8_t* other, uint32_t count)
{
    for (uint32_t k = 0; k < count; k++) {
        if (one[k] != other[k])
            return 0;
    }
    return 1;
}
