// The GIF LZW frame decoder: one image of the animation, from its descriptor
// to 8-bit top-down rows with the frame's colour table, with no platform call.
#pragma once

#include <stdint.h>

#include "animation/gif_cursor.h"

enum {
    kStringTableSize = 4096,  // codes are at most 12 bits wide
    kMaxCodeWidth = 12,
    kMaxMinCodeSize = 11,     // above it the first free code lies beyond the table
    kFrameColourCount = 256,  // every frame bitmap carries a full 8-bit colour table
    kDescriptorSize = 9,      // left, top, width, height, packed byte
    kInterlacePasses = 4,
    kMaxPixelAreaSize = 1 << 20,  // a splash has no use for larger frames; nor can their size overflow
};

// The layout of the platform's BITMAPINFOHEADER.
struct FrameHeader {
    uint32_t biSize;
    int32_t biWidth;
    int32_t biHeight;  // negative: rows are stored top-down
    uint16_t biPlanes;
    uint16_t biBitCount;
    uint32_t biCompression;
    uint32_t biSizeImage;
    int32_t biXPelsPerMeter;
    int32_t biYPelsPerMeter;
    uint32_t biClrUsed;
    uint32_t biClrImportant;
};
static_assert(sizeof(FrameHeader) == 40, "FrameHeader mirrors BITMAPINFOHEADER");

// The platform's RGBQUAD.
struct FrameColour {
    uint8_t blue, green, red, reserved;
};

// One heap allocation per frame: this record (the platform's BITMAPINFO with
// 256 colours), then the pixel area, then the string table.
struct FrameBlock {
    FrameHeader header;
    FrameColour colours[kFrameColourCount];
};
static_assert(sizeof(FrameBlock) == 40 + 4 * kFrameColourCount, "no padding before the pixel area");

struct StringEntry {
    uint8_t suffix;   // the last colour index of the entry's string
    uint16_t prefix;  // the code of the string without its last index
    uint16_t link;    // scratch while writing out: the next code from the root on; 0 ends
};

// Where the next pixel goes, with what placing it needs, so that the string
// writer can work on a copy in registers. An interlaced frame stores its rows
// in four passes; the rows of the others run top to bottom as the last pass.
struct PixelPosition {
    int column, row;
    uint8_t* rowStart;  // pixelArea + row x rowStride
    int frameWidth, frameHeight;
    uint32_t rowStride;  // frameWidth rounded up to a multiple of 4
    int pass, rowStep;
    uint8_t* pixelArea;
};

// The animation's global colour table: red, green, blue per entry.
struct FramePalette {
    const uint8_t* colours;
    int count;  // 0 without one
};

// What a graphic control extension says of the image that follows it.
struct GraphicControl {
    int transparentIndex;  // -1 for none
    int disposal;          // what becomes of the frame's rectangle after it
};

struct DecoderState {
    PixelPosition pixel;
    GifCursor input;  // the image's bytes, from its descriptor on
    uint32_t pixelAreaSize;  // frameHeight x rowStride
    uint8_t* pixelArea;
    StringEntry* stringTable;
    uint32_t subBlockLength, subBlockPos;
    uint8_t bitBuffer;  // the unused high bits of the last data byte, shifted down
    int bitCount;       // 0 to 7 between codes
    int codeWidth;
    int dataExhausted;  // set once ReadDataByte had no byte to give
    uint32_t clearCode, endCode, firstFree, nextCode, prevCode;
    int frameLeft, frameTop;       // the frame's place on the logical screen
    const uint8_t* colourTable;    // the frame's own table, or the global copy
    int colourCount;
    GraphicControl control;        // of the frame's graphic control extension
};

extern DecoderState decoderState;

// With the cursor on the first byte of an image descriptor, decodes the
// image and returns its block (header, colours, then rows; the caller frees
// it with FreeBytes), leaving the cursor behind the image's terminator; none
// when the frame was abandoned. A frame without a colour table of its own
// takes the global one.
FrameBlock* DecodeFrame(GifCursor* cursor, FramePalette global, GraphicControl control);

// The next byte of the image's data sub-blocks from decoderState.input; 0xFF, without moving, once
// they are exhausted (at their terminator or at the end of the data).
uint8_t ReadDataByte(void);

// The next codeWidth-bit code, least significant bit first.
uint16_t ReadCode(void);

// Stores the low 8 bits of value as the next pixel; values beyond the last
// row are dropped.
void PutPixel(uint32_t value);
