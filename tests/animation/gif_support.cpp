// giflib reading from and writing to memory; the decoded frame's indices.
#include "tests/animation/gif_support.h"

#include "animation/gif_walker.h"
#include "common/memory.h"

#include <string.h>

#include <algorithm>

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

// Colour k of table number salt: distinct within a table and between tables.
static ColorMapObject* MakeTable(int count, int salt)
{
    std::vector<GifColorType> colours(count);
    for (int i = 0; i < count; ++i)
        colours[i] = GifColorType{(GifByteType)(i * 37 + salt * 101), (GifByteType)(i * 11 + salt * 53),
                                  (GifByteType)(255 - i - salt * 29)};
    return GifMakeMapObject(count, colours.data());
}

// The rows in the order the file stores them: an interlaced frame's four passes.
static std::vector<int> StoredRowOrder(int height, bool interlace)
{
    static const int first[] = {0, 4, 2, 1}, step[] = {8, 8, 4, 2};
    std::vector<int> rows;
    for (int pass = interlace ? 0 : 3; pass < 4; ++pass)
        for (int row = interlace ? first[pass] : 0; row < height; row += interlace ? step[pass] : 1)
            rows.push_back(row);
    return rows;
}

static void PutFrame(GifFileType* gif, const GifFrameSpec& f, int salt)
{
    GraphicsControlBlock control = {f.disposal, false, f.delay, f.transparent};
    GifByteType extension[4];
    EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, EGifGCBToExtension(&control, extension), extension);
    ColorMapObject* local = f.localColours ? MakeTable(f.localColours, salt) : NULL;
    if (!local) {  // giflib drops the previous frame's table here without freeing it
        GifFreeMapObject(gif->Image.ColorMap);
        gif->Image.ColorMap = NULL;
    }
    EGifPutImageDesc(gif, f.left, f.top, f.width, f.height, f.interlace, local);
    std::vector<GifPixelType> row(f.width);
    for (int y : StoredRowOrder(f.height, f.interlace)) {
        row.assign(f.indices.begin() + y * f.width, f.indices.begin() + (y + 1) * f.width);
        EGifPutLine(gif, row.data(), f.width);
    }
    GifFreeMapObject(local);
}

std::vector<uint8_t> EncodeFramesWithGiflib(int screenWidth, int screenHeight, int globalColours,
                                            const std::vector<GifFrameSpec>& frames)
{
    std::vector<uint8_t> out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, WriteMemory, &error);
    EGifSetGifVersion(gif, true);
    ColorMapObject* global = globalColours ? MakeTable(globalColours, 0) : NULL;
    EGifPutScreenDesc(gif, screenWidth, screenHeight, 8, 0, global);
    for (size_t i = 0; i < frames.size(); ++i)
        PutFrame(gif, frames[i], (int)i + 1);
    EGifCloseFile(gif, &error);
    GifFreeMapObject(global);
    return out;
}

std::vector<uint8_t> EncodeWithGiflib(int width, int height, int colourCount, const std::vector<uint8_t>& indices)
{
    return EncodeFramesWithGiflib(width, height, colourCount, {{0, 0, width, height, 0, false, 0, -1, 0, indices}});
}

std::vector<std::vector<uint8_t>> ComposeWithGiflib(const uint8_t* data, size_t size)
{
    std::vector<std::vector<uint8_t>> out;
    GifFileType* gif = OpenGifInMemory(data, size);
    if (!gif || DGifSlurp(gif) != GIF_OK) {
        if (gif)
            CloseGifInMemory(gif);
        return out;
    }
    const int width = gif->SWidth, height = gif->SHeight;
    std::vector<uint8_t> screen(3 * width * height, 192);
    int restore[4] = {0, 0, 0, 0};  // left, top, right, bottom
    for (int i = 0; i < gif->ImageCount; ++i) {
        for (int y = restore[1]; y < restore[3]; ++y)
            std::fill(&screen[3 * (y * width + restore[0])], &screen[3 * (y * width + restore[2])], 192);
        const SavedImage& image = gif->SavedImages[i];
        const GifImageDesc& d = image.ImageDesc;
        GraphicsControlBlock control;
        DGifSavedExtensionToGCB(gif, i, &control);
        const ColorMapObject* map = d.ColorMap ? d.ColorMap : gif->SColorMap;
        int right = std::min(d.Left + d.Width, width), bottom = std::min(d.Top + d.Height, height);
        for (int y = d.Top; y < bottom; ++y)
            for (int x = d.Left; x < right; ++x) {
                int index = image.RasterBits[(y - d.Top) * d.Width + x - d.Left];
                if (index == control.TransparentColor)
                    continue;
                GifColorType c = map && index < map->ColorCount ? map->Colors[index] : GifColorType{0, 0, 0};
                uint8_t* target = &screen[3 * (y * width + x)];
                target[0] = c.Red, target[1] = c.Green, target[2] = c.Blue;
            }
        bool dispose = control.DisposalMode == DISPOSE_BACKGROUND && d.Left < right && d.Top < bottom;
        restore[0] = d.Left, restore[1] = d.Top;
        restore[2] = dispose ? right : d.Left, restore[3] = dispose ? bottom : d.Top;
        out.push_back(screen);
    }
    CloseGifInMemory(gif);
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
