#pragma once
#include <cstddef>
#include <cstdint>

#include "DecodeResult.h"

// Decodes a JPEG file held in memory to RGB. The decoder's DCT scaling is
// used so that the result is the smallest scale at which the picture, fitted
// into boxWidth x boxHeight keeping its shape, is not enlarged (pass 0, 0
// for full size); the EXIF orientation is not applied here (see
// ExifOrientation).
//
// Damaged files show what they hold, with a warning: a file cut short is
// decoded as far as its data goes, the rest grey ("the picture is
// incomplete"); a missing end marker or corrupt picture data is reported but
// the picture is kept. A file that ends before any picture data, pictures
// above kMaxPicturePixels / kMaxPictureSide (checked before decoding) and
// kinds of JPEG the decoder cannot show are refused with a short reason.
DecodeResult DecodeJpeg(const uint8_t* data, size_t size, int boxWidth, int boxHeight);
