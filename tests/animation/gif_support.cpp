// giflib reading from and writing to memory; the decoded frame's indices.
#include "tests/animation/gif_support.h"

#include "animation/gif_walker.h"
#include "common/memory.h"

#include <string.h>

struct MemoryReader {
    const uint8_t* data;
    size_t size, position;
};

static int ReadMemory(GifFileType* gif, GifByteType* out, int count)
{
    MemoryReader* reader = (MemoryReader*)gif->UserData;
    size_t n = reader->size - reader->position < (size_t)count ? reader->size - reader->position : count;
    memcpy(out, reader->data + reader->position, n);
    reader->position += n;
    return (int)n;
}

GifFileType* OpenGifInMemory(const uint8_t* data, size_t size)
{
    int error = 0;
    MemoryReader* reader = new MemoryReader{data, size, 0};
    GifFileType* gif = DGifOpen(reader, ReadMemory, &error);
    if (!gif)
        delete reader;
    return gif;
}

void CloseGifInMemory(GifFileType* gif)
{
    MemoryReader* reader = (MemoryReader*)gif->UserData;
    int error = 0;
    DGifCloseFile(gif, &error);
    delete reader;
}

static int WriteMemory(GifFileType* gif, const GifByteType* bytes, int count)
{
    std::vector<uint8_t>* out = (std::vector<uint8_t>*)gif->UserData;
    out->insert(out->end(), bytes, bytes + count);
    return count;
}

std::vector<uint8_t> EncodeWithGiflib(int width, int height, int colourCount, const std::vector<uint8_t>& indices)
{
    std::vector<uint8_t> out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, WriteMemory, &error);
    EGifSetGifVersion(gif, true);
    std::vector<GifColorType> colours(colourCount);
    for (int i = 0; i < colourCount; ++i)
        colours[i] = GifColorType{(GifByteType)(i * 37), (GifByteType)(i * 11), (GifByteType)(255 - i)};
    ColorMapObject* map = GifMakeMapObject(colourCount, colours.data());
    EGifPutScreenDesc(gif, width, height, 8, 0, map);
    EGifPutImageDesc(gif, 0, 0, width, height, false, NULL);
    std::vector<GifPixelType> row(width);
    for (int y = 0; y < height; ++y) {
        row.assign(indices.begin() + y * width, indices.begin() + (y + 1) * width);
        EGifPutLine(gif, row.data(), width);
    }
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
    return out;
}

DecodedImage lastImage;

bool NextImageKept(void)
{
    FrameBlock* block = NextImage();
    if (!block)
        return false;
    const uint8_t* area = (const uint8_t*)(block + 1);
    lastImage.block = *block;
    lastImage.area.assign(area, area + decoderState.pixelAreaSize);
    FreeBytes(block);
    return true;
}

std::vector<uint8_t> FrameIndices(void)
{
    const FrameHeader& h = lastImage.block.header;
    std::vector<uint8_t> out;
    for (int row = 0; row < -h.biHeight; ++row) {
        const uint8_t* start = &lastImage.area[row * decoderState.pixel.rowStride];
        out.insert(out.end(), start, start + h.biWidth);
    }
    return out;
}
