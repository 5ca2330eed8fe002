// Little-endian integers in bytes: the payload container's fields,
// the setup file's checksum slot and the GIF format's.
#pragma once

#include <stdint.h>

uint32_t ReadLe16(const uint8_t* bytes);
uint32_t ReadLe32(const uint8_t* bytes);

void WriteLe32(uint8_t* bytes, uint32_t value);
