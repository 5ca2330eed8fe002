// The walker and the decoder on small hand-made GIFs that probe one rule
// each: code streams at the edges of the LZW rules, block streams with odd
// blocks, and stop requests. Run under ASan, so no stray read or write and
// no frame block left unreleased goes unnoticed.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "animation/frame_bitmap_host.h"
#include "animation/gif_walker.h"
#include "tests/animation/gif_support.h"

typedef std::vector<uint8_t> Bytes;

struct Code {
    unsigned value;
    int width;
};

static Bytes operator+(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Codes packed least significant bit first, as GIF sends them.
static Bytes Pack(const std::vector<Code>& codes)
{
    Bytes out;
    uint32_t buffer = 0;
    int count = 0;
    for (const Code& c : codes) {
        buffer |= c.value << count;
        for (count += c.width; count >= 8; count -= 8, buffer >>= 8)
            out.push_back(buffer & 255);
    }
    if (count)
        out.push_back(buffer);
    return out;
}

static Bytes SubBlocks(const Bytes& data)
{
    Bytes out;
    for (size_t i = 0; i < data.size(); i += 254) {
        size_t n = std::min<size_t>(254, data.size() - i);
        out.push_back(n);
        out.insert(out.end(), data.begin() + i, data.begin() + i + n);
    }
    out.push_back(0);
    return out;
}

static Bytes U16(int v)
{
    return Bytes({(uint8_t)v, (uint8_t)(v >> 8)});
}

// A header with a 4-colour global table (colour k is k, 2k, 3k), or none.
static Bytes Header(bool withTable = true)
{
    Bytes out = Bytes({'G', 'I', 'F', '8', '9', 'a'}) + U16(8) + U16(2) + Bytes({(uint8_t)(withTable ? 0x81 : 0), 0, 0});
    for (int k = 0; withTable && k < 4; ++k)
        out = out + Bytes({(uint8_t)k, (uint8_t)(2 * k), (uint8_t)(3 * k)});
    return out;
}

static Bytes ImageData(int width, int height, int minCodeSize, const Bytes& data)
{
    return Bytes({0x2C, 0, 0, 0, 0}) + U16(width) + U16(height) + Bytes({0, (uint8_t)minCodeSize}) + data;
}

static Bytes Image(int width, int height, int minCodeSize, const std::vector<Code>& codes)
{
    return ImageData(width, height, minCodeSize, SubBlocks(Pack(codes)));
}

// Two pixels, 1 and 2, in the shortest stream: clear, 1, 2, end.
static const Bytes kSmallImage = Image(2, 1, 2, {{4, 3}, {1, 3}, {2, 3}, {5, 3}});

static Bytes Control(int delay)
{
    return Bytes({0x21, 0xF9, 4, 0}) + U16(delay) + Bytes({0, 0});
}

static const Bytes kTrailer = {0x3B};

class GifEdgeTest : public testing::Test {
protected:
    void SetUp() override { setupState.stopAnimation = 0; }
    void TearDown() override { ReleaseAnimation(); }

    // The data as the program stores it: the file and one zero byte.
    void Load(const Bytes& file)
    {
        data = file + Bytes({0});
        PrepareAnimation(data.data(), data.size(), 20, 5);
    }

    // One letter a call of the walker: F for a frame, - for none.
    std::string Calls(int count)
    {
        std::string out;
        for (int i = 0; i < count; ++i)
            out += NextFrame() ? 'F' : '-';
        return out;
    }

    Bytes data;
};

TEST_F(GifEdgeTest, CodeStreamsAtTheEdgesOfTheRules)
{
    struct Case {
        const char* what;
        int width, height, minCodeSize;
        std::vector<Code> codes;
        Bytes pixels;  // the whole pixel area, spare bytes included; empty: no frame
    } cases[] = {
        {"a code equal to nextCode right after root 7 writes 7 7; entry 18 is then 7 7", 5, 1, 4,
         {{16, 5}, {7, 5}, {18, 5}, {18, 5}, {17, 5}}, {7, 7, 7, 7, 7, 0, 0, 0}},
        {"a code above nextCode is read as nextCode", 5, 1, 4, {{16, 5}, {3, 5}, {25, 5}, {18, 5}, {17, 5}},
         {3, 3, 3, 3, 3, 0, 0, 0}},
        {"... and becomes prevCode: the next entry's chain does not descend", 8, 1, 4,
         {{16, 5}, {3, 5}, {25, 5}, {18, 5}, {19, 5}, {17, 5}}, {}},
        {"a clear code in mid-stream resets the width and the table; the code after it adds nothing", 7, 1, 2,
         {{4, 3}, {1, 3}, {2, 3}, {3, 3}, {4, 4}, {1, 3}, {6, 3}, {2, 3}, {5, 4}}, {1, 2, 3, 1, 1, 1, 2, 0}},
        {"more values than pixels: the surplus is dropped, the spare bytes stay", 2, 1, 2,
         {{4, 3}, {1, 3}, {1, 3}, {6, 3}, {5, 4}}, {1, 1, 0, 0}},
        {"a stream without a clear code starts as if after one", 4, 1, 2, {{1, 3}, {2, 3}, {6, 3}, {5, 3}},
         {1, 2, 1, 2}},
        {"a stream that runs out before its end code ends the frame", 4, 1, 2, {{4, 3}, {1, 3}, {2, 3}},
         {1, 2, 0, 0}},
        {"a code after a clear code above firstFree abandons the frame", 4, 1, 2, {{4, 3}, {7, 3}, {5, 3}}, {}},
        {"the code after a clear may be the clear or end code itself: one pixel", 4, 1, 2,
         {{4, 3}, {5, 3}, {4, 3}, {4, 3}, {5, 3}}, {5, 4, 0, 0}},
        {"minimum code size 11 is decoded", 4, 1, 11, {{2048, 12}, {3, 12}, {2049, 12}}, {3, 0, 0, 0}},
        {"minimum code size 12 abandons the frame", 4, 1, 12, {{4096 - 1, 12}}, {}},
        {"an empty frame size draws nothing", 0, 1, 2, {{4, 3}, {5, 3}}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Load(Header() + Image(c.width, c.height, c.minCodeSize, c.codes) + kTrailer);
        bool frame = NextImageKept();
        EXPECT_EQ(!c.pixels.empty(), frame);
        if (frame) {
            EXPECT_EQ(c.pixels, lastImage.area);
        }
        ReleaseAnimation();
    }
}

// giflib's reading of a file's only image; empty when giflib rejects it.
static Bytes GiflibImage(const Bytes& file)
{
    GifFileType* gif = OpenGifInMemory(file.data(), file.size());
    Bytes out;
    if (gif && DGifSlurp(gif) == GIF_OK && gif->ImageCount == 1) {
        const SavedImage& image = gif->SavedImages[0];
        out.assign(image.RasterBits, image.RasterBits + image.ImageDesc.Width * image.ImageDesc.Height);
    }
    if (gif)
        CloseGifInMemory(gif);
    return out;
}

// A table that reaches 4096 entries without a clear code takes no more
// entries: the codes after it still write their strings, to the frame's end,
// as giflib reads them.
TEST_F(GifEdgeTest, AFullStringTableAddsNoEntriesUntilTheNextClearCode)
{
    std::vector<Code> codes = {{4, 3}, {1, 3}};
    int nextCode = 6, width = 3;
    for (; nextCode < 4096; ++nextCode) {  // each root 1 adds an entry "1 1"
        codes.push_back({1, width});
        if (nextCode + 1 == 1 << width && width < 12)
            width += 1;
    }
    codes.insert(codes.end(), {{1, 12}, {4095, 12}, {4095, 12}, {5, 12}});
    Load(Header() + Image(4100, 1, 2, codes) + kTrailer);
    ASSERT_TRUE(NextImageKept());
    Bytes expected(4100, 0);
    std::fill(expected.begin(), expected.begin() + 1 + 4090 + 1 + 2 + 2, 1);
    EXPECT_EQ(expected, lastImage.area);

    Bytes exact = Header() + Image(4096, 1, 2, codes) + kTrailer;  // giflib wants every pixel
    ASSERT_EQ(Bytes(4096, 1), GiflibImage(exact));
    Load(exact);
    ASSERT_TRUE(NextImageKept());
    EXPECT_EQ(Bytes(4096, 1), FrameIndices());
}

// A clear code before every code keeps the width at its least, for every
// minimum code size: each code is one pixel, as giflib reads it.
TEST_F(GifEdgeTest, AClearCodeBeforeEveryCode)
{
    for (int size = 2; size <= 8; ++size) {
        SCOPED_TRACE(size);
        unsigned clear = 1u << size;
        std::vector<Code> codes;
        Bytes pixels;
        for (unsigned i = 0; i < 40; ++i) {
            unsigned root = (i * 7 + 3) % (size == 2 ? 4 : clear);
            codes.insert(codes.end(), {{clear, size + 1}, {root, size + 1}});
            pixels.push_back(root);
        }
        codes.push_back({clear + 1, size + 1});
        Bytes file = Header() + Image(8, 5, size, codes) + kTrailer;
        ASSERT_EQ(pixels, GiflibImage(file));
        Load(file);
        ASSERT_TRUE(NextImageKept());
        EXPECT_EQ(pixels, FrameIndices());
        ReleaseAnimation();
    }
}

TEST_F(GifEdgeTest, Width101GivesStride104WithTheSpareBytesUntouched)
{
    Load(EncodeWithGiflib(101, 3, 4, Bytes(101 * 3, 3)));
    ASSERT_TRUE(NextImageKept());
    ASSERT_EQ(104u, decoderState.pixel.rowStride);
    ASSERT_EQ(3u * 104, lastImage.area.size());
    for (int i = 0; i < 3 * 104; ++i)
        EXPECT_EQ(i % 104 < 101 ? 3 : 0, lastImage.area[i]) << "byte " << i;
}

TEST_F(GifEdgeTest, A12BitCodeWithNoBitsLeftTakesOneByteAndHalfTheNext)
{
    Load(Header() + Bytes({3, 0xAB, 0xCD, 0xEF, 0}));
    decoderState = DecoderState();
    decoderState.input = animationState.stream;
    decoderState.codeWidth = 12;
    decoderState.subBlockPos = 1;
    EXPECT_EQ(0xDAB, ReadCode());
    EXPECT_EQ(4, decoderState.bitCount);
    EXPECT_EQ(0xC, decoderState.bitBuffer);
    EXPECT_EQ(0xEFC, ReadCode());
    EXPECT_EQ(0, decoderState.bitCount);
    EXPECT_EQ(0xFF, ReadDataByte()) << "the terminator ends the data";
    EXPECT_EQ(1, decoderState.dataExhausted);
    EXPECT_EQ(4, decoderState.input.position) << "and the cursor stays on it";
}

TEST_F(GifEdgeTest, TheWalkerOverOddBlockStreams)
{
    Bytes fiveBytes = {0x21, 0xFE, 5, 'a', 'b'};
    struct Case {
        const char* what;
        Bytes stream;
        const char* calls;
    } cases[] = {
        {"the stored order: frames, then the trailer restarts with no lost step",
         Bytes({0x21, 0xFE, 1, 'x', 0}) + Control(50) + kSmallImage + Control(50) + kSmallImage + kTrailer,
         "FFFFF"},
        {"an unknown label: its sub-blocks are stepped over",
         Bytes({0x21, 0x42, 0x00, 0x21, 0x00, 2, 'a', 'b', 1, 'c', 0}) + kSmallImage + kTrailer, "FF"},
        {"stray bytes cost one step each", Bytes({0x99, 0x98}) + kSmallImage + kTrailer, "--F--F"},
        {"no trailer: none for good once the data ends", kSmallImage, "F---"},
        {"no image: at most one restart a call", Control(7) + kTrailer, "---"},
        {"an empty stream", Bytes(), "--"},
        {"an application extension is stepped over by its size bytes",
         Bytes({0x21, 0xFF, 5, 'N', 'E', 'T', 'S', 'C', 3, 'A', 'P', 'E', 3, 1, 0, 0, 0}) + kSmallImage + kTrailer,
         "FF"},
        {"a graphic control extension is stepped over by its size bytes",
         Bytes({0x21, 0xF9, 9, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0}) + kSmallImage + kTrailer, "FF"},
        {"a plain text extension", Bytes({0x21, 0x01, 12}) + Bytes(12, 'p') + Bytes({2, 'h', 'i', 0}) + kSmallImage,
         "F-"},
        // Wherever the end code falls, the image's data ends with its terminator.
        {"bytes behind the end code in the last sub-block are stepped over",
         ImageData(2, 1, 2, SubBlocks(Pack({{4, 3}, {1, 3}, {2, 3}, {5, 3}}) + Bytes({0x00, 0x99}))) + kTrailer,
         "FF"},
        {"sub-blocks behind the end code are stepped over",
         ImageData(2, 1, 2, Bytes({2}) + Pack({{4, 3}, {1, 3}, {2, 3}, {5, 3}}) + Bytes({2, 0x3B, 0x3B, 0})) +
             kTrailer,
         "FF"},
        {"the data ends inside an extension", fiveBytes, "--"},
        {"the data ends inside a graphic control extension", Bytes({0x21, 0xF9, 4, 0}), "--"},
        {"the data ends inside an image descriptor", Bytes({0x2C, 0, 0, 0, 0, 2}), "--"},
        {"the data ends inside an image's sub-blocks: the frame ends there",
         Bytes({0x2C, 0, 0, 0, 0, 2, 0, 1, 0, 0, 2, 200, 0x0C}), "F-"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Load(Header() + c.stream);
        EXPECT_EQ(c.calls, Calls(strlen(c.calls)));
        ReleaseAnimation();
    }
}

TEST_F(GifEdgeTest, TheLatestGraphicControlExtensionGivesTheDelay)
{
    Load(Header() + kSmallImage + Control(30) + kSmallImage + Control(0) + kSmallImage + kTrailer);
    EXPECT_EQ(0, animationState.frameDelay);
    std::vector<int> delays;
    for (int i = 0; i < 4; ++i) {
        NextFrame();
        delays.push_back(animationState.frameDelay);
    }
    EXPECT_EQ(std::vector<int>({0, 30, 0, 0}), delays) << "the restart keeps the delay";
}

TEST_F(GifEdgeTest, AGifWithoutAGlobalTable)
{
    Load(Header(false) + kSmallImage + kTrailer);
    EXPECT_EQ(0, animationState.paletteCount);
    EXPECT_EQ(nullptr, animationState.paletteCopy);
    EXPECT_EQ(13, animationState.streamOffset);
    EXPECT_EQ((int)data.size() - 13, animationState.stream.end);
    ASSERT_TRUE(NextImageKept());
    EXPECT_EQ(Bytes({1, 2}), FrameIndices());
    for (const FrameColour& c : lastImage.block.colours)
        EXPECT_EQ(0, c.red | c.green | c.blue);
}

TEST_F(GifEdgeTest, HeadersThatDoNotFitLeaveNothingToWalk)
{
    Bytes header = Header();
    Bytes cutTable(header.begin(), header.begin() + 14);
    for (const Bytes& file : {Bytes({'G', 'I', 'F'}), cutTable, Header(false)}) {
        Load(Bytes());  // reset
        data = file;    // no zero byte behind: the data's own length is the bound
        PrepareAnimation(data.data(), data.size(), 0, 0);
        EXPECT_EQ(0, animationState.stream.end);
        EXPECT_EQ("--", Calls(2));
        ReleaseAnimation();
    }
}

TEST_F(GifEdgeTest, AStopRequestEndsTheWalkAndTheDecodeWithNoFrame)
{
    Load(Header() + kSmallImage + kTrailer);
    setupState.stopAnimation = 1;
    int before = frameBitmapCount;
    EXPECT_EQ(nullptr, NextFrame());
    EXPECT_EQ(0, animationState.stream.position) << "the walker stops before the next block";
    animationState.stream.position += 1;  // stand behind the separator, as the walker would
    FramePalette global = {animationState.paletteCopy, animationState.paletteCount};
    EXPECT_EQ(nullptr, DecodeFrame(&animationState.stream, global, animationState.control));
    EXPECT_EQ(before, frameBitmapCount);
}

// Another thread asks for the stop while a large frame is being decoded.
TEST_F(GifEdgeTest, AStopRequestInTheMiddleOfADecodeAbandonsTheFrame)
{
    const int size = 1000;
    Bytes indices(size * size);
    for (size_t i = 0; i < indices.size(); ++i)
        indices[i] = (i * 7 + i / 13 * 3) % 251;
    Load(EncodeWithGiflib(size, size, 256, indices));
    int before = frameBitmapCount;
    std::thread stopper([] {
        while (*(volatile int*)&decoderState.pixel.row < 10)
            std::this_thread::yield();
        setupState.stopAnimation = 1;
    });
    HBITMAP frame = NextFrame();
    stopper.join();
    EXPECT_EQ(nullptr, frame);
    EXPECT_EQ(before, frameBitmapCount);
    EXPECT_LT(*(volatile int*)&decoderState.pixel.row, size) << "the decode ended before its last row";
}
