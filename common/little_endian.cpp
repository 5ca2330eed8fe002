// Little-endian integers read from and written to bytes.
#include "common/little_endian.h"

uint32_t ReadLe16(const uint8_t* bytes)
{
    return (uint32_t)bytes[0] | (uint32_t)bytes[1] << 8;
}

uint32_t ReadLe32(const uint8_t* bytes)
{
    return ReadLe16(bytes) | ReadLe16(bytes + 2) << 16;
}

void WriteLe32(uint8_t* bytes, uint32_t value)
{
    for (int k = 0; k < 4; k++)
        bytes[k] = (uint8_t)(value >> 8 * k);
}
