#pragma once
#include <cstdint>
#include <vector>

// A picture in the form MPEG-1 codes it: BT.601 studio range (Y 16..235,
// Cb and Cr 16..240), 4:2:0 with chroma sited between the luma samples.
// Width and height are multiples of 16.
struct YCbCrFrame {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> y;   // width * height
    std::vector<uint8_t> cb;  // (width / 2) * (height / 2)
    std::vector<uint8_t> cr;  // (width / 2) * (height / 2)
};
