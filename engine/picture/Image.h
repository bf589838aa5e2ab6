#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// A decoded picture: 8-bit RGB, rows from top to bottom, no row padding.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;  // width * height * 3 bytes

    uint8_t* Row(int y) { return rgb.data() + static_cast<size_t>(y) * width * 3; }
    const uint8_t* Row(int y) const { return rgb.data() + static_cast<size_t>(y) * width * 3; }
};

// Pictures larger than this are refused before any pixel memory is taken.
constexpr int64_t kMaxPicturePixels = 100000000;  // 100 megapixels
constexpr int kMaxPictureSide = 32768;
