#include "Mpeg1Vlc.h"

#include <cstdlib>

namespace Mpeg1Vlc {

constexpr RunLevelCode kRunLevelTable[kRunLevelCount] = {
    {0, 1, "11"},  // "1" instead when it is a non-intra block's first coefficient (never here)
    {1, 1, "011"},
    {0, 2, "0100"},
    {2, 1, "0101"},
    {0, 3, "00101"},
    {3, 1, "00111"},
    {4, 1, "00110"},
    {1, 2, "000110"},
    {5, 1, "000111"},
    {6, 1, "000101"},
    {7, 1, "000100"},
    {0, 4, "0000110"},
    {2, 2, "0000100"},
    {8, 1, "0000111"},
    {9, 1, "0000101"},
    {0, 5, "00100110"},
    {0, 6, "00100001"},
    {1, 3, "00100101"},
    {3, 2, "00100100"},
    {10, 1, "00100111"},
    {11, 1, "00100011"},
    {12, 1, "00100010"},
    {13, 1, "00100000"},
    {0, 7, "0000001010"},
    {1, 4, "0000001100"},
    {2, 3, "0000001011"},
    {4, 2, "0000001111"},
    {5, 2, "0000001001"},
    {14, 1, "0000001110"},
    {15, 1, "0000001101"},
    {16, 1, "0000001000"},
    {0, 8, "000000011101"},
    {0, 9, "000000011000"},
    {0, 10, "000000010011"},
    {0, 11, "000000010000"},
    {1, 5, "000000011011"},
    {2, 4, "000000010100"},
    {3, 3, "000000011100"},
    {4, 3, "000000010010"},
    {6, 2, "000000011110"},
    {7, 2, "000000010101"},
    {8, 2, "000000010001"},
    {17, 1, "000000011111"},
    {18, 1, "000000011010"},
    {19, 1, "000000011001"},
    {20, 1, "000000010111"},
    {21, 1, "000000010110"},
    {0, 12, "0000000011010"},
    {0, 13, "0000000011001"},
    {0, 14, "0000000011000"},
    {0, 15, "0000000010111"},
    {1, 6, "0000000010110"},
    {1, 7, "0000000010101"},
    {2, 5, "0000000010100"},
    {3, 4, "0000000010011"},
    {5, 3, "0000000010010"},
    {9, 2, "0000000010001"},
    {10, 2, "0000000010000"},
    {22, 1, "0000000011111"},
    {23, 1, "0000000011110"},
    {24, 1, "0000000011101"},
    {25, 1, "0000000011100"},
    {26, 1, "0000000011011"},
    {0, 16, "00000000011111"},
    {0, 17, "00000000011110"},
    {0, 18, "00000000011101"},
    {0, 19, "00000000011100"},
    {0, 20, "00000000011011"},
    {0, 21, "00000000011010"},
    {0, 22, "00000000011001"},
    {0, 23, "00000000011000"},
    {0, 24, "00000000010111"},
    {0, 25, "00000000010110"},
    {0, 26, "00000000010101"},
    {0, 27, "00000000010100"},
    {0, 28, "00000000010011"},
    {0, 29, "00000000010010"},
    {0, 30, "00000000010001"},
    {0, 31, "00000000010000"},
    {0, 32, "000000000011000"},
    {0, 33, "000000000010111"},
    {0, 34, "000000000010110"},
    {0, 35, "000000000010101"},
    {0, 36, "000000000010100"},
    {0, 37, "000000000010011"},
    {0, 38, "000000000010010"},
    {0, 39, "000000000010001"},
    {0, 40, "000000000010000"},
    {1, 8, "000000000011111"},
    {1, 9, "000000000011110"},
    {1, 10, "000000000011101"},
    {1, 11, "000000000011100"},
    {1, 12, "000000000011011"},
    {1, 13, "000000000011010"},
    {1, 14, "000000000011001"},
    {1, 15, "0000000000010011"},
    {1, 16, "0000000000010010"},
    {1, 17, "0000000000010001"},
    {1, 18, "0000000000010000"},
    {6, 3, "0000000000010100"},
    {11, 2, "0000000000011010"},
    {12, 2, "0000000000011001"},
    {13, 2, "0000000000011000"},
    {14, 2, "0000000000010111"},
    {15, 2, "0000000000010110"},
    {16, 2, "0000000000010101"},
    {27, 1, "0000000000011111"},
    {28, 1, "0000000000011110"},
    {29, 1, "0000000000011101"},
    {30, 1, "0000000000011100"},
    {31, 1, "0000000000011011"},
};

namespace {

constexpr Code FromWord(const char* word)
{
    Code code;
    for (; *word; ++word) {
        code.bits = static_cast<uint16_t>((code.bits << 1) | (*word == '1' ? 1 : 0));
        ++code.length;
    }
    return code;
}

constexpr RunLevelCodes BuildRunLevelCodes()
{
    RunLevelCodes codes{};
    for (const RunLevelCode& entry : kRunLevelTable)
        codes.code[entry.run][entry.level] = FromWord(entry.word);
    return codes;
}

// Indexed by dct_dc_size 0..8.
constexpr Code kDcSizeLuminance[9] = {
    {0x4, 3}, {0x0, 2}, {0x1, 2}, {0x5, 3}, {0x6, 3}, {0xE, 4}, {0x1E, 5}, {0x3E, 6}, {0x7E, 7},
};
constexpr Code kDcSizeChrominance[9] = {
    {0x0, 2}, {0x1, 2}, {0x2, 2}, {0x6, 3}, {0xE, 4}, {0x1E, 5}, {0x3E, 6}, {0x7E, 7}, {0xFE, 8},
};

int BitSize(int magnitude)
{
    int size = 0;
    for (; magnitude != 0; magnitude >>= 1)
        ++size;
    return size;
}

}  // namespace

// Built while compiling, so it is ready before any static constructor runs.
constexpr RunLevelCodes kRunLevelCodes = BuildRunLevelCodes();

Code DcSizeLuminance(int size) { return kDcSizeLuminance[size]; }
Code DcSizeChrominance(int size) { return kDcSizeChrominance[size]; }

void PutDcDifferential(BitWriter& out, int diff, bool chrominance)
{
    const int size = BitSize(std::abs(diff));
    const Code sizeCode = chrominance ? kDcSizeChrominance[size] : kDcSizeLuminance[size];
    out.Put(sizeCode.bits, sizeCode.length);  // dct_dc_size_luminance / _chrominance
    if (size == 0)
        return;
    // Negative differences are sent as diff + 2^size - 1, so that their
    // leading bit is 0 and positive ones start with 1.
    const int field = diff > 0 ? diff : diff + (1 << size) - 1;
    out.Put(static_cast<uint32_t>(field), size);  // dct_dc_differential
}

void PutEscape(BitWriter& out, int run, int level)
{
    out.Put(kEscape.bits, kEscape.length);   // dct_coeff_next: escape
    out.Put(static_cast<uint32_t>(run), 6);  // run
    if (level >= -127 && level <= 127) {
        out.Put(static_cast<uint32_t>(level) & 0xFF, 8);  // level, 8-bit two's complement
    } else if (level > 0) {
        out.Put(0x00, 8);                                // level: 16-bit form, positive
        out.Put(static_cast<uint32_t>(level), 8);        // level
    } else {
        out.Put(0x80, 8);                                // level: 16-bit form, negative
        out.Put(static_cast<uint32_t>(level + 256), 8);  // level + 256
    }
}

}  // namespace Mpeg1Vlc
