#pragma once
#include <cstdint>

#include "BitWriter.h"

// The variable-length codes of MPEG-1 intra pictures: the DC size codes
// of luminance and chrominance blocks and the run/level codes of the AC
// coefficients, with the escape form for pairs the table lacks.
namespace Mpeg1Vlc {

struct Code {
    uint16_t bits = 0;   // the code word, right aligned
    uint8_t length = 0;  // 0: no code (use the escape form)
};

// One entry of the run/level table (dct_coeff_next), its code word written
// out in binary as the tables print it; the sign bit that follows the word
// (0 positive, 1 negative) is not part of it.
struct RunLevelCode {
    uint8_t run;
    uint8_t level;
    const char* word;
};

constexpr int kRunLevelCount = 111;
extern const RunLevelCode kRunLevelTable[kRunLevelCount];

constexpr Code kEndOfBlock{0x2, 2};  // '10'
constexpr Code kEscape{0x1, 6};      // '0000 01'

// The table as a direct lookup by run and level magnitude. Runs above 31
// and levels above 40 have no code word.
constexpr int kMaxTableRun = 31;
constexpr int kMaxTableLevel = 40;
struct RunLevelCodes {
    Code code[kMaxTableRun + 1][kMaxTableLevel + 1];
};
extern const RunLevelCodes kRunLevelCodes;

// The code of (run, |level|) without its sign bit, or length 0 if the pair
// has none.
inline Code RunLevel(int run, int level)
{
    if (run < 0 || run > kMaxTableRun || level < 1 || level > kMaxTableLevel)
        return Code{};
    return kRunLevelCodes.code[run][level];
}

// dct_dc_size_luminance and dct_dc_size_chrominance, indexed by size 0..8.
inline constexpr Code kDcSizeLuminance[9] = {
    {0x4, 3}, {0x0, 2}, {0x1, 2}, {0x5, 3}, {0x6, 3}, {0xE, 4}, {0x1E, 5}, {0x3E, 6}, {0x7E, 7},
};
inline constexpr Code kDcSizeChrominance[9] = {
    {0x0, 2}, {0x1, 2}, {0x2, 2}, {0x6, 3}, {0xE, 4}, {0x1E, 5}, {0x3E, 6}, {0x7E, 7}, {0xFE, 8},
};

// The writers below take a BitWriter, or a BitCounter to size a stream
// without writing it. Inline: they run once for every coefficient sent.

// Writes the DC of a block as dct_dc_size and dct_dc_differential.
// diff is the DC level minus its predictor, -255..255.
template <class Out>
inline void PutDcDifferential(Out& out, int diff, bool chrominance)
{
    int size = 0;
    for (int magnitude = diff < 0 ? -diff : diff; magnitude != 0; magnitude >>= 1)
        ++size;
    const Code sizeCode = chrominance ? kDcSizeChrominance[size] : kDcSizeLuminance[size];
    out.Put(sizeCode.bits, sizeCode.length);  // dct_dc_size_luminance / _chrominance
    if (size == 0)
        return;
    // Negative differences are sent as diff + 2^size - 1, so that their
    // leading bit is 0 and positive ones start with 1.
    const int field = diff > 0 ? diff : diff + (1 << size) - 1;
    out.Put(static_cast<uint32_t>(field), size);  // dct_dc_differential
}

// Writes an AC coefficient the table has no code for: escape, run, level.
template <class Out>
void PutEscape(Out& out, int run, int level)
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

// Writes one AC coefficient (run zeros, then a level of -255..255 other
// than 0), from the table where it can, otherwise as an escape.
template <class Out>
inline void PutAc(Out& out, int run, int level)
{
    const Code code = RunLevel(run, level < 0 ? -level : level);
    if (code.length == 0) {
        PutEscape(out, run, level);
        return;
    }
    out.Put(code.bits, code.length);  // dct_coeff_next
    out.Put(level < 0 ? 1 : 0, 1);    // its sign bit
}

}  // namespace Mpeg1Vlc
