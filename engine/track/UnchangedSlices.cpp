#include "UnchangedSlices.h"

#include <algorithm>

namespace {

struct Code {
    uint32_t bits;
    int length;
};

// macroblock_address_increment, values 1..33, as the code table prints them.
constexpr const char* kIncrementWords[33] = {
    "1",           "011",         "010",         "0011",        "0010",        "00011",       "00010",
    "0000111",     "0000110",     "00001011",    "00001010",    "00001001",    "00001000",    "00000111",
    "00000110",    "0000010111",  "0000010110",  "0000010101",  "0000010100",  "0000010011",  "0000010010",
    "00000100011", "00000100010", "00000100001", "00000100000", "00000011111", "00000011110", "00000011101",
    "00000011100", "00000011011", "00000011010", "00000011001", "00000011000",
};
constexpr int kLargestIncrementCode = 33;
constexpr Code kMacroblockEscape{0x08, 11};  // '0000 0001 000': 33 more

constexpr Code FromWord(const char* word)
{
    Code code{0, 0};
    for (; *word; ++word, ++code.length)
        code.bits = code.bits << 1 | static_cast<uint32_t>(*word - '0');
    return code;
}

constexpr Code kMcNotCoded = FromWord("001");  // macroblock_type in P pictures: forward MC, no coefficients
constexpr Code kZeroMotion = FromWord("1");    // motion code 0

// A macroblock that copies the reference at its own place: forward
// prediction, zero vector, nothing coded. Its vector differential is zero
// because the predictor is zero at a slice's start and after skipped
// macroblocks.
void PutStillMacroblock(BitWriter& out, int increment)
{
    PutMacroblockAddressIncrement(out, increment);
    out.Put(kMcNotCoded.bits, kMcNotCoded.length);  // macroblock_type: MC, not coded
    out.Put(kZeroMotion.bits, kZeroMotion.length);  // motion_horizontal_forward_code: 0
    out.Put(kZeroMotion.bits, kZeroMotion.length);  // motion_vertical_forward_code: 0
}

}  // namespace

void PutMacroblockAddressIncrement(BitWriter& out, int increment)
{
    for (; increment > kLargestIncrementCode; increment -= kLargestIncrementCode)
        out.Put(kMacroblockEscape.bits, kMacroblockEscape.length);  // macroblock_escape
    const Code code = FromWord(kIncrementWords[increment - 1]);
    out.Put(code.bits, code.length);  // macroblock_address_increment
}

void WriteUnchangedSlices(int mbWidth, int mbHeight, int quantiser, BitWriter& out, int rowsPerSlice)
{
    rowsPerSlice = std::max(rowsPerSlice, 1);
    for (int row = 0; row < mbHeight; row += rowsPerSlice) {
        const int macroblocks = mbWidth * std::min(rowsPerSlice, mbHeight - row);
        out.StartCode(static_cast<uint8_t>(row + 1));    // slice_start_code: slice_vertical_position
        out.Put(static_cast<uint32_t>(quantiser), 5);    // quantizer_scale
        out.Put(0, 1);                                   // extra_bit_slice
        PutStillMacroblock(out, 1);                      // the slice's first macroblock
        if (macroblocks > 1)
            PutStillMacroblock(out, macroblocks - 1);    // its last, the ones between skipped
    }
    out.AlignWithZeros();
}
