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

// The levels of one block as the slices send them: the DC level (the
// block's mean sample value, 0..255) and the AC run/level pairs in order.
struct BlockLevels {
    int dc = 0;
    int count = 0;
    RunLevelPair ac[63];
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

    // What the slice writer reads (see SliceWriter.h).
    int MacroblockWidth() const { return mbWidth; }
    int MacroblockHeight() const { return mbHeight; }
    int Scale(size_t macroblock) const { return quantiser[macroblock]; }
    void Levels(size_t block, BlockLevels& levels) const
    {
        levels.dc = dc[block];
        levels.count = 0;
        for (size_t i = AcBegin(block); i < acEnd[block]; ++i)
            levels.ac[levels.count++] = ac[i];
    }
};
