// The payload container behind the executable image, read from its end. No
// signature or header; integers are little-endian. The file's checksum lies
// in the image (payload/file_checksum.h), so the container is the same with
// or without one.
//
//   offset 0            the executable image
//   firstMember         member 0, member 1, ... member N-1, back to back
//   end - 2 - 4N        the size table: N u32 sizes, member 0's first
//   end - 2             the member count N, a u16, at most 10
//   end                 the end of the file; in a file signed after packing,
//                       0 to 7 bytes of padding, then the certificate table
//                       that the image's data directory 4 names, to the end
//
// The end is the end of the file unless the certificate table closes the
// file; then it is the one in front of the padding whose count and size
// table put member 0 exactly where the image's last section ends. A signed
// file with no such end is read from the end of the file, as any other.
//
// A member is a file name with its extension, a NUL and the file's bytes,
// either stored as they stand (extension beginning "wa") or as one
// compressed stream that expands to them. The form is told by the leading
// bytes: the first '.' before the first NUL followed by "wa" means stored.
//
// These readers work on the bytes the caller has read (the count field, the
// size table, one member), so a reader of the file can seek and read pieces.
#pragma once

#include <stdint.h>

#include "common/little_endian.h"  // the readers of the container's integers

enum {
    kMaxMembers = 10,
    kCountFieldSize = 2,
    kSizeFieldSize = 4,
    kMaxExpansion = 4,  // a compressed member expands to at most 4 times its size
    kImageHeadersRead = 4096,  // the image's headers are looked for in the file's first bytes
    kMaxSignPadding = 7,       // a signing tool pads the file to a multiple of 8
    kSignedTrailerRead = kMaxSignPadding + kCountFieldSize + kSizeFieldSize * kMaxMembers,
    kSumSlotSize = 16,         // the checksum slot opens the image's section ".qmxsum"
};

// What the image's headers tell about the end of the container.
struct ImageLayout {
    uint32_t fileSize;
    uint32_t imageEnd;       // where the last section's bytes end; 0 when no PE image was read
    uint32_t tableOffset;    // the certificate table (data directory 4), a file offset
    uint32_t tableSize;      // 0 when the image names no certificate table
    uint32_t tableEntry;     // where data directory 4 lies in the headers; 0 when they have none
    uint32_t checkSumField;  // where the optional header's CheckSum lies; 0 when no PE image was read
    uint32_t sumSlot;        // the file offset of the checksum slot's section; 0 when the image has none
    int signedAtEnd;         // the table lies behind the image and ends where the file ends
    uint32_t trailerOffset;  // the bytes in front of the table that hold the
    uint32_t trailerLength;  // container's end: none when not signedAtEnd
};

// Fills the layout from the file's first headerLength bytes (at most
// kImageHeadersRead are looked at). Headers that are not a PE image's, or
// that do not fit, give an unsigned layout.
void ReadImageLayout(const uint8_t* headers, uint32_t headerLength, uint32_t fileSize, ImageLayout* layout);

// Empties data directory 4 in a copy of the image alone (its first length
// bytes), which keeps no certificate table behind it: the entry would name
// bytes past the copy's end.
void ForgetCertificateTable(uint8_t* image, uint32_t length);

// The container's end, given the layout's trailer bytes read from the file
// (none are read when trailerLength is 0).
uint32_t LocateContainerEnd(const ImageLayout* layout, const uint8_t* trailer);

// Sets the size table's offset from the start of the file and returns 1; 0
// when N is over the limit or the table does not fit in front of the count.
int LocateSizeTable(uint32_t containerEnd, uint32_t memberCount, uint32_t* tableOffset);

// Sets member 0's offset, given the table in front of the count, and returns
// 1; 0 when N is over the limit or the sizes do not fit in front of the table.
int LocateFirstMember(uint32_t containerEnd, uint32_t memberCount, const uint8_t* sizeTable,
    uint32_t* firstMember);

// The length of the member's file name plus its NUL, or 0 when the member
// holds no NUL.
uint32_t MemberNameLength(const uint8_t* member, uint32_t length);

// The index of the first character after the first '.' in text[0, length),
// or 0 when there is none.
uint32_t FindExtension(const uint8_t* text, uint32_t length);

// 1 when the member's leading bytes mark it as stored: its first '.' before
// the first NUL is followed by "wa". A member without a NUL is not stored.
int IsStoredMember(const uint8_t* member, uint32_t length);

