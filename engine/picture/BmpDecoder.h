#pragma once
#include <cstddef>
#include <cstdint>

#include "DecodeResult.h"

// Decodes a Windows or OS/2 bitmap file held in memory: 1, 4, 8 bits with
// palettes, RLE4 and RLE8, 16 bits (5-5-5 and bit fields), 24 and 32 bits,
// bottom-up and top-down, core, info, V4 and V5 headers. Strict about sizes
// and offsets; never reads outside the buffer.
// Shown as Windows shows them: indices beyond the palette are black, RLE
// runs past the picture's edge are clipped, pixels an RLE picture skips are
// black, alpha is ignored. Missing pixel data is refused, not made up.
DecodeResult DecodeBmp(const uint8_t* data, size_t size);
