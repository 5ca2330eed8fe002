// Little-endian integers read from bytes: the payload container's fields and
// the GIF format's.
#pragma once

#include <stdint.h>

uint32_t ReadLe16(const uint8_t* bytes);
uint32_t ReadLe32(const uint8_t* bytes);
