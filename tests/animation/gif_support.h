// What the animation's tests and benchmark share: giflib over bytes in
// memory (the reference decoder and encoder) and the last decoded frame's indices.
#pragma once

#include <gif_lib.h>
#include <stdint.h>

#include <vector>

// An open giflib reader over size bytes at data, which must outlive it;
// null when giflib rejects the header.
GifFileType* OpenGifInMemory(const uint8_t* data, size_t size);
void CloseGifInMemory(GifFileType* gif);

// A single-image GIF89a written by giflib's encoder: width x height indices
// with a global table of colourCount entries (a power of two, 2 to 256).
std::vector<uint8_t> EncodeWithGiflib(int width, int height, int colourCount, const std::vector<uint8_t>& indices);

// The colour indices of the frame the product decoded last, row by row,
// without the spare bytes at the end of each row.
std::vector<uint8_t> FrameIndices(void);
