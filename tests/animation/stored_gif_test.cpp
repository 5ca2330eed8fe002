// The stored animation against giflib: the file giflib reads is the one the
// player relies on, and every frame the product's decoder makes equals
// giflib's decoding index for index, for the stored file and for images
// giflib's own encoder wrote.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "animation/frame_bitmap_host.h"
#include "animation/gif_walker.h"
#include "resources/animation_data.h"
#include "tests/animation/gif_support.h"

typedef std::vector<uint8_t> Bytes;

static const int kStoredFrames = 9;
static const uint8_t kPalette[16][3] = {
    {0, 0, 0},     {128, 0, 0},   {0, 128, 0},   {128, 128, 0}, {0, 0, 128},   {128, 0, 128},
    {0, 128, 128}, {192, 192, 192}, {128, 128, 128}, {255, 0, 0}, {0, 255, 0},   {255, 255, 0},
    {0, 0, 255},   {255, 0, 255}, {0, 255, 255}, {255, 255, 255},
};

static Bytes GiflibIndices(const SavedImage& image)
{
    return Bytes(image.RasterBits, image.RasterBits + image.ImageDesc.Width * image.ImageDesc.Height);
}

class StoredGifTest : public testing::Test {
protected:
    void SetUp() override { setupState.stopAnimation = 0; }
    void TearDown() override { ReleaseAnimation(); }
};

TEST_F(StoredGifTest, GiflibReadsNineFramesOfDelay50WithThePalette)
{
    GifFileType* gif = OpenGifInMemory(animationData, animationDataLength - 1);
    ASSERT_NE(nullptr, gif);
    ASSERT_EQ(GIF_OK, DGifSlurp(gif));
    EXPECT_EQ(100, gif->SWidth);
    EXPECT_EQ(76, gif->SHeight);
    ASSERT_EQ(kStoredFrames, gif->ImageCount);
    ASSERT_NE(nullptr, gif->SColorMap);
    ASSERT_EQ(16, gif->SColorMap->ColorCount);
    for (int i = 0; i < 16; ++i) {
        const GifColorType& c = gif->SColorMap->Colors[i];
        EXPECT_EQ(Bytes(kPalette[i], kPalette[i] + 3), Bytes({c.Red, c.Green, c.Blue})) << "colour " << i;
    }
    for (int i = 0; i < gif->ImageCount; ++i) {
        GraphicsControlBlock control;
        ASSERT_EQ(GIF_OK, DGifSavedExtensionToGCB(gif, i, &control));
        EXPECT_EQ(50, control.DelayTime);
        EXPECT_EQ(NO_TRANSPARENT_COLOR, control.TransparentColor);
        const GifImageDesc& d = gif->SavedImages[i].ImageDesc;
        EXPECT_EQ(0, d.Left + d.Top);
        EXPECT_EQ(100, d.Width);
        EXPECT_EQ(76, d.Height);
        EXPECT_EQ(nullptr, d.ColorMap);
        EXPECT_FALSE(d.Interlace);
        Bytes pixels = GiflibIndices(gif->SavedImages[i]);
        EXPECT_EQ(7, pixels[0]) << "silver is the background of frame " << i + 1;
        for (uint8_t v : pixels)
            ASSERT_LT(v, 16);
    }
    CloseGifInMemory(gif);
}

// The layout byte by byte, as the player's fixed sizes expect it.
TEST_F(StoredGifTest, TheBlockStreamHasTheShapeThePlayerReliesOn)
{
    const uint8_t* d = animationData;
    int length = animationDataLength;
    ASSERT_EQ(0, d[length - 1]) << "one zero byte behind the file";
    EXPECT_EQ(0x3B, d[length - 2]) << "the trailer ends the file";
    EXPECT_EQ(Bytes({'G', 'I', 'F', '8', '9', 'a', 100, 0, 76, 0, 0xB3, 0, 0}), Bytes(d, d + 13));
    int p = 13 + 48;
    EXPECT_EQ(Bytes({0x21, 0xFF, 11, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 3, 1, 0, 0, 0}),
              Bytes(d + p, d + p + 19));
    p += 19;
    ASSERT_EQ(Bytes({0x21, 0xFE}), Bytes(d + p, d + p + 2));
    p += 2;
    ASSERT_GT(d[p], 0);
    p += 1 + d[p];
    ASSERT_EQ(0, d[p++]) << "the comment has one sub-block";
    for (int frame = 0; frame < kStoredFrames; ++frame) {
        SCOPED_TRACE(frame + 1);
        EXPECT_EQ(Bytes({0x21, 0xF9, 4, 0, 50, 0, 0, 0}), Bytes(d + p, d + p + 8));
        p += 8;
        EXPECT_EQ(Bytes({0x2C, 0, 0, 0, 0, 100, 0, 76, 0, 0, 4}), Bytes(d + p, d + p + 11));
        p += 11;
        EXPECT_EQ(16, d[p + 1] & 31) << "a clear code first";
        while (d[p] != 0) {
            ASSERT_LE(d[p], 254);
            p += 1 + d[p];
        }
        p += 1;
    }
    EXPECT_EQ(length - 2, p) << "the trailer follows the ninth frame";
}

// One loop of the walker over the stored data, frame by frame against
// giflib; then the trailer restarts the loop with no frame lost.
TEST_F(StoredGifTest, EveryDecodedFrameEqualsGiflibsAndTheLoopRestarts)
{
    GifFileType* gif = OpenGifInMemory(animationData, animationDataLength - 1);
    ASSERT_NE(nullptr, gif);
    ASSERT_EQ(GIF_OK, DGifSlurp(gif));
    PrepareAnimation(animationData, animationDataLength, 20, 5);
    EXPECT_EQ(16, animationState.paletteCount);
    EXPECT_EQ(13 + 48, animationState.streamOffset);
    EXPECT_EQ(animationDataLength - 61, animationState.stream.end);
    Bytes first;
    for (int i = 0; i <= kStoredFrames; ++i) {
        SCOPED_TRACE(i + 1);
        ASSERT_TRUE(NextImageKept());
        EXPECT_EQ(50, animationState.frameDelay);
        const FrameHeader& h = lastImage.block.header;
        EXPECT_EQ(40u, h.biSize);
        EXPECT_EQ(100, h.biWidth);
        EXPECT_EQ(-76, h.biHeight);
        EXPECT_EQ(Bytes({1, 8, 0, 0}), Bytes({(uint8_t)h.biPlanes, (uint8_t)h.biBitCount,
                                              (uint8_t)h.biCompression, (uint8_t)h.biSizeImage}));
        EXPECT_EQ(256u, h.biClrUsed);
        EXPECT_EQ(256u, h.biClrImportant);
        EXPECT_EQ(7600u, lastImage.area.size()) << "rows of 100 need no padding";
        const FrameColour& silver = lastImage.block.colours[7];
        EXPECT_EQ(Bytes({192, 192, 192, 0}), Bytes({silver.blue, silver.green, silver.red, silver.reserved}));
        // The end code finishes in the last byte of the frame's last
        // sub-block: the cursor stands on the next block's introducer.
        uint8_t next = animationState.stream.data[animationState.stream.position];
        EXPECT_TRUE(next == 0x21 || next == 0x3B) << "introducer " << (int)next;
        Bytes pixels = FrameIndices();
        if (i < kStoredFrames)
            EXPECT_EQ(GiflibIndices(gif->SavedImages[i]), pixels);
        else
            EXPECT_EQ(first, pixels) << "the tenth frame is the first again";
        if (i == 0)
            first = pixels;
    }
    CloseGifInMemory(gif);
}

// Every frame covers the screen with no transparency, so the window shows
// each frame's own colours and nothing of the one before.
TEST_F(StoredGifTest, TheCanvasShowsEachFrameThroughThePalette)
{
    GifFileType* gif = OpenGifInMemory(animationData, animationDataLength - 1);
    ASSERT_NE(nullptr, gif);
    ASSERT_EQ(GIF_OK, DGifSlurp(gif));
    PrepareAnimation(animationData, animationDataLength, 20, 5);
    for (int i = 0; i <= kStoredFrames; ++i) {
        SCOPED_TRACE(i + 1);
        ASSERT_NE(nullptr, NextFrame());
        EXPECT_EQ(100, lastFrame.header.biWidth);
        EXPECT_EQ(-76, lastFrame.header.biHeight);
        EXPECT_EQ(32, lastFrame.header.biBitCount);
        Bytes shown, expected;
        for (const FrameColour& c : lastFrame.pixels)
            shown.insert(shown.end(), {c.red, c.green, c.blue, c.reserved});
        for (uint8_t index : GiflibIndices(gif->SavedImages[i % kStoredFrames]))
            expected.insert(expected.end(), {kPalette[index][0], kPalette[index][1], kPalette[index][2], 0});
        EXPECT_EQ(expected, shown);
    }
    CloseGifInMemory(gif);
}

// giflib's encoder over sizes, colour depths and contents that reach the
// table's 4096 entries; the product's decoder must agree index for index.
TEST_F(StoredGifTest, ImagesFromGiflibsEncoderDecodeToTheSameIndices)
{
    struct Case {
        int width, height, colours;
        double noise;  // 0: long runs and repeats, 1: every pixel random
    } cases[] = {
        {1, 1, 2, 1}, {101, 3, 2, 1}, {7, 5, 4, 1}, {100, 76, 16, 0.05}, {64, 64, 256, 1},
        {300, 200, 256, 0.3}, {255, 17, 8, 0}, {640, 480, 2, 0.5}, {33, 1000, 128, 0.9},
    };
    std::mt19937 random(7);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " in " << c.colours << " colours");
        Bytes indices(c.width * c.height);
        for (size_t i = 0; i < indices.size(); ++i) {
            bool fresh = i == 0 || std::uniform_real_distribution<>(0, 1)(random) < c.noise;
            indices[i] = fresh ? random() % c.colours : indices[i - 1 - (i > 9 && random() % 2 ? 9 : 0)];
        }
        Bytes file = EncodeWithGiflib(c.width, c.height, c.colours, indices);
        GifFileType* gif = OpenGifInMemory(file.data(), file.size());
        ASSERT_NE(nullptr, gif);
        ASSERT_EQ(GIF_OK, DGifSlurp(gif));
        ASSERT_EQ(indices, GiflibIndices(gif->SavedImages[0])) << "giflib's round trip";
        CloseGifInMemory(gif);

        file.push_back(0);
        PrepareAnimation(file.data(), file.size(), 0, 0);
        ASSERT_TRUE(NextImageKept());
        EXPECT_EQ(indices, FrameIndices());
        EXPECT_EQ((size_t)(c.height * ((c.width + 3) / 4 * 4)), lastImage.area.size());
        ReleaseAnimation();
    }
}
