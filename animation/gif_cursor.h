// A bounded cursor over a GIF's block stream: no read at or past its end.
#pragma once

#include <stdint.h>

struct GifCursor {
    const uint8_t* data;  // the block stream's first byte
    int position;         // of the next unread byte, from data on
    int end;              // bytes of data: no read at or past it
};

// Whether count bytes from the position lie before the end.
inline int HasBytes(const GifCursor* cursor, int count)
{
    return count <= cursor->end - cursor->position;
}

// The byte at the position, which the caller has checked lies before the end.
inline uint8_t PeekByte(const GifCursor* cursor)
{
    return cursor->data[cursor->position];
}

// The byte at the position, moving past it; 0, without moving, at the end.
inline uint8_t ReadByte(GifCursor* cursor)
{
    return HasBytes(cursor, 1) ? cursor->data[cursor->position++] : 0;
}

// Steps over count bytes without reading them; never past the end.
inline void Skip(GifCursor* cursor, int count)
{
    int room = cursor->end - cursor->position;
    cursor->position += count < room ? count : room;
}

// With the position on a size byte: steps over data sub-blocks and their
// terminator; 0 when the data ends first.
int SkipSubBlocks(GifCursor* cursor);
