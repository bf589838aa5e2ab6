#pragma once
#include <cstddef>
#include <cstdint>

#include "Image.h"

// The EXIF orientation (1..8) of a JPEG file held in memory; 1 when the file
// has none or it cannot be read.
int ReadExifOrientation(const uint8_t* data, size_t size);

// Turns a picture stored with the given orientation upright.
Image ApplyOrientation(const Image& stored, int orientation);
