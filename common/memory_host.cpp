// Memory in the native builds: the C heap.
#include <stdlib.h>

#include "common/memory.h"

void* AllocateBytes(uint32_t size)
{
    return malloc(size);
}

void FreeBytes(void* block)
{
    free(block);
}
