// The setup file's checksum: a CRC-32 (zlib's) over every byte from the start
// of the file to the end of the container, kept in a slot inside the image
// that the packer fills after appending the container.
//
// Signing a packed file rewrites the optional header's CheckSum and the
// certificate table's directory entry and appends the table behind the
// container; those two fields count as zero, and the table lies past the
// container's end, so a signature leaves the checksum valid. The slot's own
// bytes are left out.
//
// The slot, 16 bytes:
//   0    an 8-byte marker: "unfilled" as the linker wrote it, "crc32sum" once
//        the packer filled it (they differ in every byte, so no single
//        changed byte turns one into the other)
//   8    u32 the length checked: where the container ends
//   12   u32 the CRC-32
#pragma once

#include <stdint.h>

#include "payload/container.h"

enum SumSlotState {
    SumSlotEmpty,   // packed without a checksum: nothing to check
    SumSlotFilled,
    SumSlotBroken,  // neither marker: the file is damaged
};

struct FileSum {
    uint32_t checkedLength;
    uint32_t crc;
};

// The slot as the linker writes it into the image.
#define QMX_EMPTY_SUM_SLOT {'u', 'n', 'f', 'i', 'l', 'l', 'e', 'd', 0, 0, 0, 0, 0, 0, 0, 0}

// Reads a slot's kSumSlotSize bytes; sum is set when the slot is filled.
SumSlotState ReadSumSlot(const uint8_t* slot, FileSum* sum);

void FillSumSlot(uint8_t* slot, const FileSum* sum);

// zlib's crc32: chained calls over pieces give the CRC of the whole.
uint32_t Crc32(uint32_t crc, const uint8_t* bytes, uint32_t length);

// Adds the file's bytes [offset, offset + length) to the checksum, with the
// CheckSum field and the certificate table's entry taken as zero and the
// slot left out, as the layout read from the file's headers places them.
uint32_t AddToFileSum(uint32_t crc, const ImageLayout* layout, uint32_t offset, const uint8_t* bytes,
    uint32_t length);
