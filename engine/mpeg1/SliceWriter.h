#pragma once
#include <cstddef>

#include "BitWriter.h"
#include "Mpeg1Vlc.h"
#include "QuantisedPicture.h"

// Writes the slices of an intra picture: one slice per macroblock row, each
// starting at `quantiser` (1..31), every macroblock intra-coded with its six
// blocks; a macroblock whose own scale differs carries it. Ends byte
// aligned, ready for the next start code.
//
// `blocks` is a QuantisedPicture, or levels quantised as they are read
// (FrameCoefficients::LevelsAt): it gives MacroblockWidth(),
// MacroblockHeight(), Scale(macroblock) and Levels(block, BlockLevels&),
// blocks in the order the macroblocks send them. `out` is a BitWriter, or a
// BitCounter to size the slices without writing them.
template <class Blocks, class Out>
void WriteIntraSlices(const Blocks& blocks, int quantiser, Out& out)
{
    // The DC predictors restart at the middle value at the start of every
    // slice: one shared by the four luminance blocks, one for each chrominance.
    constexpr int kDcPredictorReset = 128;
    constexpr int kBlocks = QuantisedPicture::kBlocksPerMacroblock;
    BlockLevels levels;
    size_t macroblock = 0;
    for (int row = 0; row < blocks.MacroblockHeight(); ++row) {
        out.StartCode(static_cast<uint8_t>(row + 1));      // slice_start_code: slice_vertical_position
        out.Put(static_cast<uint32_t>(quantiser), 5);      // quantizer_scale
        out.Put(0, 1);                                     // extra_bit_slice
        int predictors[3] = {kDcPredictorReset, kDcPredictorReset, kDcPredictorReset};
        int current = quantiser;
        for (int col = 0; col < blocks.MacroblockWidth(); ++col, ++macroblock) {
            // The scale a macroblock sets stays in force for the rest of the
            // slice, so a macroblock after a coarser one sets the slice's back.
            const int scale = blocks.Scale(macroblock);
            out.Put(1, 1);                                 // macroblock_address_increment: the next one
            if (scale == current) {
                out.Put(1, 1);                             // macroblock_type: intra
            } else {
                out.Put(1, 2);                             // macroblock_type: intra with quantiser_scale
                out.Put(static_cast<uint32_t>(scale), 5);  // quantizer_scale
                current = scale;
            }
            for (int b = 0; b < kBlocks; ++b) {
                const int component = b < 4 ? 0 : b - 3;
                blocks.Levels(macroblock * kBlocks + static_cast<size_t>(b), levels);
                Mpeg1Vlc::PutDcDifferential(out, levels.dc - predictors[component], component != 0);
                predictors[component] = levels.dc;
                for (int i = 0; i < levels.count; ++i)
                    Mpeg1Vlc::PutAc(out, levels.ac[i].run, levels.ac[i].level);
                out.Put(Mpeg1Vlc::kEndOfBlock.bits, Mpeg1Vlc::kEndOfBlock.length);  // end_of_block
            }
        }
    }
    out.AlignWithZeros();
}
