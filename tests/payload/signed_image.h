// Test files for the container's end: the least PE headers that give an
// image end and a certificate table entry, a container behind them, and a
// signature appended the way a signing tool appends it.
#pragma once

#include <stdint.h>

#include <vector>

typedef std::vector<uint8_t> Bytes;

enum {
    kTestImageEnd = 0x600,     // two sections of 0x200 bytes, at 0x200 and 0x400
    kTestOptionalHeader = 0x58,
    kTestSectionTable = kTestOptionalHeader + 224,  // in the PE32 form
    kTestSumSlot = 0x200,      // where AddSumSlot puts the checksum slot
};

static inline void PutLe(Bytes& bytes, uint32_t at, uint32_t value, int width)
{
    for (int k = 0; k < width; k++)
        bytes[at + k] = (uint8_t)(value >> 8 * k);
}

// Data directory 4 of TestImage.
static inline uint32_t CertificateEntry(bool pe32Plus)
{
    return kTestOptionalHeader + (pe32Plus ? 112 : 96) + 4 * 8;
}

// A PE32 (or PE32+) image whose two sections are listed out of file order;
// it names no certificate table.
static inline Bytes TestImage(bool pe32Plus = false)
{
    Bytes image(kTestImageEnd, 0x90);
    for (uint32_t k = 0; k < 0x200; k++)
        image[k] = 0;
    image[0] = 'M';
    image[1] = 'Z';
    PutLe(image, 0x3C, 0x40, 4);
    image[0x40] = 'P';
    image[0x41] = 'E';
    PutLe(image, 0x40 + 6, 2, 2);
    uint32_t optionalSize = pe32Plus ? 240 : 224;
    PutLe(image, 0x40 + 20, optionalSize, 2);
    PutLe(image, kTestOptionalHeader, pe32Plus ? 0x20B : 0x10B, 2);
    PutLe(image, kTestOptionalHeader + (pe32Plus ? 108 : 92), 16, 4);
    uint32_t sections = kTestOptionalHeader + optionalSize;
    PutLe(image, sections + 16, 0x200, 4);
    PutLe(image, sections + 20, 0x400, 4);
    PutLe(image, sections + 40 + 16, 0x200, 4);
    PutLe(image, sections + 40 + 20, 0x200, 4);
    return image;
}

// Names TestImage's section at 0x200 ".qmxsum" and opens it with an empty
// checksum slot, as the linker leaves the setup program's.
static inline void AddSumSlot(Bytes& image, bool pe32Plus = false)
{
    uint32_t section = kTestOptionalHeader + (pe32Plus ? 240 : 224) + 40;
    const char name[] = ".qmxsum";
    const char marker[] = "unfilled";
    for (uint32_t k = 0; k < 8; k++) {
        image[section + k] = (uint8_t)name[k];
        image[kTestSumSlot + k] = (uint8_t)marker[k];
        image[kTestSumSlot + 8 + k] = 0;
    }
}

// Members of the given sizes (bytes that never read as a count), their size
// table and their count.
static inline void AppendTestContainer(Bytes& file, const std::vector<uint32_t>& sizes)
{
    for (uint32_t size : sizes)
        file.insert(file.end(), size, 0xA5);
    for (uint32_t size : sizes) {
        file.resize(file.size() + 4);
        PutLe(file, (uint32_t)file.size() - 4, size, 4);
    }
    file.resize(file.size() + 2);
    PutLe(file, (uint32_t)file.size() - 2, (uint32_t)sizes.size(), 2);
}

// Zero padding and a certificate table of tableSize bytes behind it, named
// in data directory 4.
static inline void AppendSignature(Bytes& file, uint32_t padding, uint32_t tableSize = 1200,
    bool pe32Plus = false)
{
    file.insert(file.end(), padding, 0);
    uint32_t offset = (uint32_t)file.size();
    for (uint32_t k = 0; k < tableSize; k++)
        file.push_back((uint8_t)(0x30 + 7 * k));
    PutLe(file, CertificateEntry(pe32Plus), offset, 4);
    PutLe(file, CertificateEntry(pe32Plus) + 4, tableSize, 4);
}
