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
