// Memory from the process heap.
#include "common/memory.h"

#include <windows.h>

void* AllocateBytes(uint32_t size)
{
    return HeapAlloc(GetProcessHeap(), 0, size);
}

// A null block is let be, as free() does: HeapFree's result for one is undefined.
void FreeBytes(void* block)
{
    if (block)
        HeapFree(GetProcessHeap(), 0, block);
}
