// Memory from the process heap.
#include "common/memory.h"

#include <windows.h>

void* AllocateBytes(uint32_t size)
{
    return HeapAlloc(GetProcessHeap(), 0, size);
}

void FreeBytes(void* block)
{
    HeapFree(GetProcessHeap(), 0, block);
}
