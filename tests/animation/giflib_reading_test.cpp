// Animations as drawing programs save them, written by giflib's encoder:
// the product's walker and decoder must find exactly giflib's frames, and
// the canvas must show what a viewer composes of them.
#include <gtest/gtest.h>

#include <stdio.h>
#include <stdlib.h>

#include <random>
#include <string>
#include <vector>

#include "animation/frame_bitmap_host.h"
#include "animation/gif_walker.h"
#include "tests/animation/gif_support.h"

typedef std::vector<uint8_t> Bytes;

static Bytes RandomIndices(std::mt19937& random, int count, int colours)
{
    Bytes out(count);
    for (int i = 0; i < count; ++i)
        out[i] = i > 0 && random() % 3 ? out[i - 1] : random() % colours;
    return out;
}

static GifFrameSpec Frame(std::mt19937& random, int left, int top, int width, int height, int colours,
                          int localColours = 0, bool interlace = false)
{
    return {left, top, width, height, localColours, interlace, 0, -1, 10, RandomIndices(random, width * height, colours)};
}

class GiflibReadingTest : public testing::Test {
protected:
    void SetUp() override { setupState.stopAnimation = 0; }
    void TearDown() override { ReleaseAnimation(); }

    // One loop of the walker against giflib's DGifSlurp: as many frames,
    // each with giflib's place, size, colours and indices.
    void ExpectGiflibsFrames(Bytes file)
    {
        GifFileType* gif = OpenGifInMemory(file.data(), file.size());
        ASSERT_NE(nullptr, gif);
        ASSERT_EQ(GIF_OK, DGifSlurp(gif));
        file.push_back(0);
        PrepareAnimation(file.data(), file.size(), 0, 0);
        int count = 0;
        for (; NextImageKept() && animationState.loopCount == 0; ++count) {
            ASSERT_LT(count, gif->ImageCount);
            SCOPED_TRACE(testing::Message() << "frame " << count + 1);
            const SavedImage& image = gif->SavedImages[count];
            const GifImageDesc& d = image.ImageDesc;
            EXPECT_EQ(Bytes({(uint8_t)d.Left, (uint8_t)d.Top, (uint8_t)d.Width, (uint8_t)d.Height}),
                      Bytes({(uint8_t)decoderState.frameLeft, (uint8_t)decoderState.frameTop,
                             (uint8_t)decoderState.pixel.frameWidth, (uint8_t)decoderState.pixel.frameHeight}));
            EXPECT_EQ(Bytes(image.RasterBits, image.RasterBits + d.Width * d.Height), FrameIndices());
            const ColorMapObject* map = d.ColorMap ? d.ColorMap : gif->SColorMap;
            for (int k = 0; k < map->ColorCount; ++k) {
                const FrameColour& c = lastImage.block.colours[k];
                const GifColorType& g = map->Colors[k];
                ASSERT_EQ(Bytes({g.Red, g.Green, g.Blue}), Bytes({c.red, c.green, c.blue})) << "colour " << k;
            }
        }
        EXPECT_EQ(gif->ImageCount, count);
        CloseGifInMemory(gif);
        ReleaseAnimation();
    }
};

TEST_F(GiflibReadingTest, EveryFrameAndTheCountAsGiflibReadsThem)
{
    std::mt19937 random(19);
    struct Case {
        const char* what;
        int width, height, globalColours;
        std::vector<GifFrameSpec> frames;
    } cases[] = {
        {"every frame with a table of its own", 20, 10, 4,
         {Frame(random, 0, 0, 20, 10, 16, 16), Frame(random, 0, 0, 20, 10, 4, 4), Frame(random, 0, 0, 20, 10, 256, 256)}},
        {"no global table", 12, 9, 0, {Frame(random, 0, 0, 12, 9, 8, 8), Frame(random, 2, 3, 5, 4, 2, 2)}},
        {"frames at offsets, smaller than the screen", 64, 48, 16,
         {Frame(random, 0, 0, 64, 48, 16), Frame(random, 10, 7, 13, 9, 16), Frame(random, 63, 47, 1, 1, 16),
          Frame(random, 30, 0, 34, 48, 4, 4, true)}},
        {"a single frame", 5, 5, 2, {Frame(random, 0, 0, 5, 5, 2)}},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.what);
        ExpectGiflibsFrames(EncodeFramesWithGiflib(c.width, c.height, c.globalColours, c.frames));
    }
    std::vector<GifFrameSpec> interlaced, codeSizes;
    for (int height = 1; height <= 17; ++height)
        interlaced.push_back(Frame(random, 0, 0, 7, height, 4, 0, true));
    {
        SCOPED_TRACE("interlaced heights 1 to 17");
        ExpectGiflibsFrames(EncodeFramesWithGiflib(7, 17, 4, interlaced));
    }
    for (int bits = 1; bits <= 8; ++bits)  // tables of 2 and 4 colours both use code size 2
        codeSizes.push_back(Frame(random, 0, 0, 30, 20, 1 << bits, 1 << bits, bits % 2));
    SCOPED_TRACE("minimum code sizes 2 to 8");
    ExpectGiflibsFrames(EncodeFramesWithGiflib(30, 20, 2, codeSizes));
}

// The canvas after each frame equals giflib's frames composed as a viewer
// shows them; the second loop starts again from the grey.
TEST_F(GiflibReadingTest, TheCanvasComposesOffsetsTransparencyAndDisposal)
{
    std::mt19937 random(5);
    std::vector<GifFrameSpec> frames = {
        Frame(random, 0, 0, 40, 30, 8),
        Frame(random, 4, 3, 10, 8, 4, 4, true),
        Frame(random, 20, 10, 15, 15, 8),
        Frame(random, 30, 20, 20, 20, 8),  // beyond the screen's right and bottom edges
        Frame(random, 1, 1, 38, 28, 2, 2),
        Frame(random, 0, 25, 40, 5, 8),
    };
    frames[0].disposal = 2;  // the whole screen back to grey: the next frame lies on grey
    frames[1] = {4, 3, 10, 8, 4, true, 1, 0, 10, frames[1].indices};
    frames[2].transparent = 3, frames[2].disposal = 2;
    frames[3].transparent = 1, frames[3].disposal = 3;
    frames[4].transparent = 0, frames[4].disposal = 0;
    Bytes file = EncodeFramesWithGiflib(40, 30, 8, frames);
    std::vector<Bytes> expected = ComposeWithGiflib(file.data(), file.size());
    ASSERT_EQ(frames.size(), expected.size());
    file.push_back(0);
    PrepareAnimation(file.data(), file.size(), 0, 0);
    for (size_t i = 0; i < 2 * frames.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "frame step " << i + 1);
        ASSERT_NE(nullptr, NextFrame());
        Bytes shown;
        for (const FrameColour& c : lastFrame.pixels)
            shown.insert(shown.end(), {c.red, c.green, c.blue});
        EXPECT_EQ(expected[i % frames.size()], shown);
    }
}

static Bytes ReadPgmPixels(const std::string& path, int* width, int* height)
{
    FILE* f = fopen(path.c_str(), "rb");
    if (!f)
        return Bytes();
    Bytes pixels;
    if (fscanf(f, "P5 %d %d 255", width, height) == 2 && fgetc(f) == '\n') {
        pixels.resize(*width * *height);
        pixels.resize(fread(pixels.data(), 1, pixels.size(), f));
    }
    fclose(f);
    return pixels;
}

// gifdump writes one loop: giflib's frames, as many as giflib finds, and
// for a single frame exactly one.
TEST_F(GiflibReadingTest, GifdumpWritesOneLoopOfGiflibsFrames)
{
    std::mt19937 random(3);
    std::string dir = testing::TempDir() + "gifdump-test";
    std::vector<std::vector<GifFrameSpec>> animations = {
        {Frame(random, 0, 0, 9, 4, 4)},
        {Frame(random, 0, 0, 9, 4, 4), Frame(random, 2, 1, 3, 3, 2, 2, true), Frame(random, 0, 0, 9, 4, 4)},
    };
    for (const auto& frames : animations) {
        SCOPED_TRACE(testing::Message() << frames.size() << " frames");
        Bytes file = EncodeFramesWithGiflib(9, 4, 4, frames);
        ASSERT_EQ(0, system(("rm -rf '" + dir + "' && mkdir -p '" + dir + "'").c_str()));
        FILE* f = fopen((dir + "/in.gif").c_str(), "wb");
        ASSERT_NE(nullptr, f);
        fwrite(file.data(), 1, file.size(), f);
        fclose(f);
        ASSERT_EQ(0, system(("'" GIFDUMP_PATH "' '" + dir + "/in.gif' '" + dir + "' >/dev/null").c_str()));
        GifFileType* gif = OpenGifInMemory(file.data(), file.size());
        ASSERT_EQ(GIF_OK, DGifSlurp(gif));
        for (int i = 0; i < gif->ImageCount; ++i) {
            const SavedImage& image = gif->SavedImages[i];
            int width = 0, height = 0;
            Bytes pixels = ReadPgmPixels(dir + "/frame-" + std::to_string(i + 1) + ".pgm", &width, &height);
            EXPECT_EQ(Bytes(image.RasterBits, image.RasterBits + image.ImageDesc.Width * image.ImageDesc.Height),
                      pixels) << "frame " << i + 1;
            EXPECT_EQ(image.ImageDesc.Width, width);
        }
        FILE* extra = fopen((dir + "/frame-" + std::to_string(gif->ImageCount + 1) + ".pgm").c_str(), "rb");
        EXPECT_EQ(nullptr, extra) << "no frame beyond giflib's";
        if (extra)
            fclose(extra);
        CloseGifInMemory(gif);
    }
}
