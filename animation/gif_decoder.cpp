// The GIF LZW frame decoder: descriptor, data sub-blocks, variable-width
// codes and the string table, written into one frame bitmap.
#include "animation/gif_decoder.h"

#include "common/memory.h"
#include "common/setup_state.h"

DecoderState decoderState;

uint8_t ReadDataByte(void)
{
    DecoderState& d = decoderState;
    GifCursor& input = d.input;
    // A sub-block is begun only when it lies whole before the end.
    if (d.subBlockPos < d.subBlockLength) {
        d.subBlockPos += 1;
        return input.data[input.position++];
    }
    int size = HasBytes(&input, 1) ? PeekByte(&input) : 0;
    if (size == 0 || !HasBytes(&input, size + 1)) {
        d.dataExhausted = 1;
        return 0xFF;
    }
    d.subBlockLength = size;
    d.subBlockPos = 1;
    input.position += 2;
    return input.data[input.position - 1];
}

uint16_t ReadCode(void)
{
    DecoderState& d = decoderState;
    int w = d.codeWidth, b = d.bitCount;
    unsigned code;
    if (b >= w) {
        code = d.bitBuffer & ((1u << w) - 1);
        d.bitBuffer >>= w;
        d.bitCount = b - w;
    } else if (w - b <= 8) {
        int k = w - b;
        unsigned byte = ReadDataByte();
        code = d.bitBuffer | (byte & ((1u << k) - 1)) << b;
        d.bitBuffer = (uint8_t)(byte >> k);
        d.bitCount = b + 8 - w;
    } else {
        int k = w - b - 8;
        unsigned low = ReadDataByte();
        unsigned high = ReadDataByte();
        code = d.bitBuffer | low << b | (high & ((1u << k) - 1)) << (b + 8);
        d.bitBuffer = (uint8_t)(high >> k);
        d.bitCount = b + 16 - w;
    }
    return (uint16_t)code;
}

// The first row of each interlace pass and the distance between its rows.
static const int kPassFirstRow[kInterlacePasses] = {0, 4, 2, 1};
static const int kPassRowStep[kInterlacePasses] = {8, 8, 4, 2};

// Moves to the start of the next row to fill: the next of the pass, or the
// first of the next pass with rows in the frame. Past the last pass the row
// stays at or beyond frameHeight, so later values are dropped.
static void StartNextRow(PixelPosition& p)
{
    p.column = 0;
    p.row += p.rowStep;
    while (p.row >= p.frameHeight && p.pass < kInterlacePasses - 1) {
        p.pass += 1;
        p.row = kPassFirstRow[p.pass];
        p.rowStep = kPassRowStep[p.pass];
    }
    if (p.row < p.frameHeight)
        p.rowStart = p.pixelArea + (uint32_t)p.row * p.rowStride;
}

// Each row takes frameWidth values; the spare bytes at the end of a row are
// never written, nor anything once the last row is full.
static inline void PlacePixel(PixelPosition& p, uint32_t value)
{
    if (p.row >= p.frameHeight)
        return;  // more values than pixels
    p.rowStart[p.column] = (uint8_t)value;
    if (++p.column == p.frameWidth)
        StartNextRow(p);
}

void PutPixel(uint32_t value)
{
    PlacePixel(decoderState.pixel, value);
}

// Writes out the string of code, first index first, and returns that first
// index; -1 when a stop is asked or the chain does not strictly descend. The
// way back from the root is kept in the link fields of the chain itself.
static int WriteString(uint32_t code)
{
    DecoderState& d = decoderState;
    StringEntry* table = d.stringTable;
    uint32_t firstFree = d.firstFree;
    if (code < firstFree) {
        PutPixel(code);
        return code;
    }
    uint32_t link = 0, entry = code;
    while (entry >= firstFree) {
        table[entry].link = (uint16_t)link;
        uint32_t prefix = table[entry].prefix;
        if (setupState.stopAnimation || prefix >= entry)
            return -1;
        link = entry;
        entry = prefix;
    }
    // Pixel stores may alias any global, so the position lives in a local.
    PixelPosition pixel = d.pixel;
    PlacePixel(pixel, entry);
    for (; link != 0; link = table[link].link) {
        if (setupState.stopAnimation)
            break;
        PlacePixel(pixel, table[link].suffix);
    }
    d.pixel = pixel;
    return link == 0 ? (int)entry : -1;
}

static void AddEntry(uint32_t suffix, uint32_t code)
{
    DecoderState& d = decoderState;
    if (d.nextCode < kStringTableSize) {  // a full table waits for the next clear code
        d.stringTable[d.nextCode].suffix = (uint8_t)suffix;
        d.stringTable[d.nextCode].prefix = (uint16_t)d.prevCode;
        d.nextCode += 1;
        if (d.nextCode == 1u << d.codeWidth && d.codeWidth < kMaxCodeWidth)
            d.codeWidth += 1;
    }
    d.prevCode = code;
}

// The first code of a run, after a clear code or at the start of the
// stream: one pixel and no entry. 0 abandons the frame.
static int StartRun(uint32_t code)
{
    DecoderState& d = decoderState;
    d.nextCode = d.firstFree;
    if (setupState.stopAnimation || code > d.firstFree)
        return 0;
    PutPixel(code);
    d.prevCode = code;
    return 1;
}

// Decodes the code stream into the pixel area; 0 abandons the frame. Like
// giflib, decoding ends with the last pixel even before the end code; a
// stream that runs out before either ends the frame there.
static int DecodeCodes(uint32_t minCodeSize)
{
    DecoderState& d = decoderState;
    d.clearCode = 1u << minCodeSize;
    d.endCode = d.clearCode + 1;
    d.firstFree = d.clearCode + 2;
    d.codeWidth = minCodeSize + 1;
    uint32_t code = ReadCode();
    if (code != d.clearCode && code != d.endCode && !d.dataExhausted) {
        if (!StartRun(code))  // as if a clear code had come first
            return 0;
        code = ReadCode();
    }
    while (code != d.endCode && !d.dataExhausted && d.pixel.row < d.pixel.frameHeight) {
        if (code == d.clearCode) {
            d.codeWidth = minCodeSize + 1;
            uint32_t first = ReadCode();
            if (d.dataExhausted)
                break;
            if (!StartRun(first))
                return 0;
        } else if (code < d.nextCode) {
            int first = WriteString(code);
            if (first < 0)
                return 0;
            AddEntry(first, code);
        } else {
            int first = WriteString(d.prevCode);
            if (first < 0)
                return 0;
            PutPixel(first);
            AddEntry(first, code);
        }
        code = ReadCode();
    }
    return 1;
}

// Clears the block and the string table, fills the header and the colour
// table; spare colour entries stay black and pixels the stream does not
// supply keep index 0. 0 when a stop is asked.
static int FillFrameBlock(FrameBlock* block)
{
    DecoderState& d = decoderState;
    uint32_t* words = (uint32_t*)block;  // rows are whole words, so the block is too
    uint32_t wordCount = (sizeof(FrameBlock) + d.pixelAreaSize) / 4;
    for (uint32_t i = 0; i < wordCount; ++i)
        words[i] = 0;
    for (int i = 0; i < kStringTableSize; ++i) {
        if (setupState.stopAnimation)
            return 0;
        d.stringTable[i].prefix = 0;
        d.stringTable[i].link = 0;
    }
    FrameHeader& h = block->header;
    h.biSize = sizeof(FrameHeader);
    h.biWidth = d.pixel.frameWidth;
    h.biHeight = -d.pixel.frameHeight;
    h.biPlanes = 1;
    h.biBitCount = 8;
    h.biClrUsed = kFrameColourCount;
    h.biClrImportant = kFrameColourCount;
    const uint8_t* palette = d.colourTable;
    for (int k = 0; k < d.colourCount; ++k) {
        if (setupState.stopAnimation)
            return 0;
        block->colours[k].red = palette[3 * k];
        block->colours[k].green = palette[3 * k + 1];
        block->colours[k].blue = palette[3 * k + 2];
    }
    return 1;
}

// Reads the descriptor, the frame's own colour table and the code size. 0
// when they lie past the end of the data or describe a frame that cannot be drawn.
static int ReadDescriptor(FramePalette global, uint32_t* minCodeSize)
{
    DecoderState& d = decoderState;
    GifCursor& input = d.input;
    if (!HasBytes(&input, kDescriptorSize + 1))
        return 0;
    const uint8_t* p = input.data + input.position;
    PixelPosition& pixel = d.pixel;
    d.frameLeft = p[0] | p[1] << 8;
    d.frameTop = p[2] | p[3] << 8;
    pixel.frameWidth = p[4] | p[5] << 8;
    pixel.frameHeight = p[6] | p[7] << 8;
    int flags = p[8];
    int tableSize = flags & 0x80 ? 3 * (2 << (flags & 7)) : 0;
    if (!HasBytes(&input, kDescriptorSize + tableSize + 1))
        return 0;
    d.colourTable = tableSize ? p + kDescriptorSize : global.colours;
    d.colourCount = tableSize ? tableSize / 3 : global.count;
    *minCodeSize = p[kDescriptorSize + tableSize];
    input.position += kDescriptorSize + tableSize + 1;
    pixel.rowStride = ((pixel.frameWidth - 1) | 3) + 1;
    int interlaced = flags & 0x40;
    pixel.pass = interlaced ? 0 : kInterlacePasses - 1;
    pixel.rowStep = interlaced ? kPassRowStep[0] : 1;
    d.pixelAreaSize = (uint32_t)pixel.frameHeight * pixel.rowStride;
    return pixel.frameWidth > 0 && pixel.frameHeight > 0 && d.pixelAreaSize <= kMaxPixelAreaSize &&
           *minCodeSize <= kMaxMinCodeSize;
}

// Behind the last code read: the rest of the current sub-block, then the
// sub-blocks that follow, up to and over the terminator.
static void SkipRestOfImageData(void)
{
    DecoderState& d = decoderState;
    Skip(&d.input, d.subBlockLength - d.subBlockPos);
    d.subBlockPos = d.subBlockLength;
    SkipSubBlocks(&d.input);
}

// The cursor takes the input's position however the decode ended.
static FrameBlock* DecodeFromInput(FramePalette global)
{
    DecoderState& d = decoderState;
    uint32_t minCodeSize;
    if (!ReadDescriptor(global, &minCodeSize))
        return 0;
    FrameBlock* block =
        (FrameBlock*)AllocateBytes(sizeof(FrameBlock) + d.pixelAreaSize + kStringTableSize * sizeof(StringEntry));
    if (!block)
        return 0;
    d.pixelArea = (uint8_t*)(block + 1);
    d.pixel.pixelArea = d.pixelArea;
    d.pixel.rowStart = d.pixelArea;
    d.stringTable = (StringEntry*)(d.pixelArea + d.pixelAreaSize);
    if (!FillFrameBlock(block) || !DecodeCodes(minCodeSize)) {
        FreeBytes(block);
        return 0;
    }
    SkipRestOfImageData();
    return block;
}

FrameBlock* DecodeFrame(GifCursor* cursor, FramePalette global, GraphicControl control)
{
    DecoderState& d = decoderState;
    d = DecoderState();
    d.input = *cursor;
    d.control = control;
    FrameBlock* block = DecodeFromInput(global);
    cursor->position = d.input.position;
    return block;
}
