#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// The compression codes of a bitmap header that this reader knows.
enum BmpCompression : uint32_t {
    kBmpRgb = 0,             // uncompressed
    kBmpRle8 = 1,            // run-length coded, 8 bits per pixel
    kBmpRle4 = 2,            // run-length coded, 4 bits per pixel
    kBmpBitFields = 3,       // 16 or 32 bits, channels given by masks
    kBmpJpeg = 4,            // a JPEG stream inside (printers only)
    kBmpPng = 5,             // a PNG stream inside (printers only)
    kBmpAlphaBitFields = 6,  // as kBmpBitFields, with an alpha mask too
};

// Where one colour channel sits in a 16- or 32-bit pixel.
struct BmpChannel {
    uint32_t mask = 0;
    int shift = 0;  // position of the mask's lowest bit
    int bits = 0;   // width of the mask
};

// What the headers of a bitmap file say, checked against the file's size:
// everything the pixel decoding needs, and nothing it has to check again.
struct BmpHeader {
    int width = 0;
    int height = 0;        // always positive
    bool topDown = false;  // rows stored from the top (negative height in the file)
    int bitsPerPixel = 0;
    uint32_t compression = kBmpRgb;
    BmpChannel red, green, blue;  // 16 and 32 bits per pixel
    // RGB colours by index. Entries the file does not give stay black, so
    // any 8-bit index can be looked up.
    uint8_t palette[256][3] = {};
    size_t pixelOffset = 0;  // where the pixel data starts in the file
    size_t pixelBytes = 0;   // how many bytes of pixel data may be read there
    size_t rowBytes = 0;     // one stored row with its padding (uncompressed only)
};

// Reads the file header, the bitmap header (OS/2 core, info, V4 or V5), the
// colour masks and the palette of a bitmap file held in memory. Fails with
// a reason for the user when the file is not a bitmap this program shows,
// when it is too large, or when its parts do not fit in the file.
bool ReadBmpHeader(const uint8_t* data, size_t size, BmpHeader& header, std::string& error);
