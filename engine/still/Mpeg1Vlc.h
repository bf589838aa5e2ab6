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

// dct_dc_size_luminance and dct_dc_size_chrominance for sizes 0..8.
Code DcSizeLuminance(int size);
Code DcSizeChrominance(int size);

// Writes the DC of a block as dct_dc_size and dct_dc_differential.
// diff is the DC level minus its predictor, -255..255.
void PutDcDifferential(BitWriter& out, int diff, bool chrominance);

// Writes an AC coefficient the table has no code for: escape, run, level.
void PutEscape(BitWriter& out, int run, int level);

// Writes one AC coefficient (run zeros, then a level of -255..255 other
// than 0), from the table where it can, otherwise as an escape. Inline:
// it runs once for every coefficient sent.
inline void PutAc(BitWriter& out, int run, int level)
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
