#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// One AC coefficient as the run/level code sends it: `run` zero
// coefficients in zig-zag order, then one of value `level` (-255..255, not 0).
struct RunLevelPair {
    uint8_t run;
    int16_t level;
};

// An intra picture after quantisation, ready to be written as slices.
// Blocks are in the order the macroblocks send them: macroblocks row by
// row, each Y0 Y1 Y2 Y3 (top left, top right, bottom left, bottom right),
// Cb, Cr.
struct QuantisedPicture {
    static constexpr int kBlocksPerMacroblock = 6;

    int mbWidth = 0;
    int mbHeight = 0;
    std::vector<uint8_t> quantiser;  // per macroblock: its quantiser scale, 1..31
    std::vector<uint8_t> dc;      // per block: its mean sample value, 0..255 (DC coefficient / 8)
    std::vector<uint32_t> acEnd;  // per block: index in `ac` one past its last pair
    std::vector<RunLevelPair> ac; // every block's AC pairs, block after block

    size_t BlockCount() const { return dc.size(); }
    size_t AcBegin(size_t block) const { return block == 0 ? 0 : acEnd[block - 1]; }
};
