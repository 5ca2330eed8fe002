// What the animation's tests and benchmark share: giflib over bytes in
// memory (the reference decoder and encoder) and the last decoded image.
#pragma once

#include <gif_lib.h>
#include <stdint.h>

#include <vector>

#include "animation/gif_decoder.h"

// An open giflib reader over size bytes at data, which must outlive it;
// null when giflib rejects the header.
GifFileType* OpenGifInMemory(const uint8_t* data, size_t size);
void CloseGifInMemory(GifFileType* gif);

// A single-image GIF89a written by giflib's encoder: width x height indices
// with a global table of colourCount entries (a power of two, 2 to 256).
std::vector<uint8_t> EncodeWithGiflib(int width, int height, int colourCount, const std::vector<uint8_t>& indices);

// One image of an animation for giflib's encoder, with its graphic control
// extension.
struct GifFrameSpec {
    int left, top, width, height;
    int localColours;  // entries of the frame's own table; 0 for the global one
    bool interlace;
    int disposal, transparent, delay;  // transparent -1: none
    std::vector<uint8_t> indices;      // as shown, top row first
};

// An animation written by giflib's encoder; globalColours 0 writes no global
// table. The tables' colours differ from frame to frame.
std::vector<uint8_t> EncodeFramesWithGiflib(int screenWidth, int screenHeight, int globalColours,
                                            const std::vector<GifFrameSpec>& frames);

// The GIF as viewers show it, from giflib's frames and graphic control
// blocks: the screen (red, green, blue per pixel, top row first) after each
// frame of one loop, starting from the window's grey. Pixels of the
// transparent index leave what is beneath; disposal 2 gives the rectangle
// back to the grey before the next frame; 3 is kept like 1, as the player
// does. Empty when giflib cannot read the file.
std::vector<std::vector<uint8_t>> ComposeWithGiflib(const uint8_t* data, size_t size);

// The walker's latest image: header, colours and the pixel area with the
// spare bytes at the end of each row.
struct DecodedImage {
    FrameBlock block;
    std::vector<uint8_t> area;
};
extern DecodedImage lastImage;

// The walker's next image (NextImage), kept in lastImage; false for none.
bool NextImageKept(void);

// The colour indices of the image the product decoded last, row by row,
// without the spare bytes at the end of each row.
std::vector<uint8_t> FrameIndices(void);
