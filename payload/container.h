// The payload container behind the executable image, read from the file's
// end. No signature, header or checksum; integers are little-endian.
//
//   offset 0            the executable image (not examined)
//   firstMember         member 0, member 1, ... member N-1, back to back
//   fileSize - 2 - 4N   the size table: N u32 sizes, member 0's first
//   fileSize - 2        the member count N, a u16, at most 10
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

enum {
    kMaxMembers = 10,
    kCountFieldSize = 2,
    kSizeFieldSize = 4,
    kMaxExpansion = 4,  // a compressed member expands to at most 4 times its size
};

uint32_t ReadLe16(const uint8_t* bytes);
uint32_t ReadLe32(const uint8_t* bytes);

// Sets the size table's offset from the start of the file and returns 1; 0
// when N is over the limit or the table does not fit in front of the count.
int LocateSizeTable(uint32_t fileSize, uint32_t memberCount, uint32_t* tableOffset);

// Sets member 0's offset, given the table in front of the count, and returns
// 1; 0 when N is over the limit or the sizes do not fit in front of the table.
int LocateFirstMember(uint32_t fileSize, uint32_t memberCount, const uint8_t* sizeTable,
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

// Where the executable image ends in its file: behind its headers and the
// last byte of its sections' raw data. 0 when the first length bytes of the
// file hold no whole PE header and section table. A file longer than that
// carries a container; the kept uninstaller is the image alone.
uint32_t ImageFileEnd(const uint8_t* file, uint32_t length);
