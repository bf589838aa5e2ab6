#include "SliceWriter.h"

#include <cstddef>

#include "Mpeg1Vlc.h"

namespace {

// The DC predictors restart at the middle value at the start of every
// slice: one shared by the four luminance blocks, one for each chrominance.
constexpr int kDcPredictorReset = 128;

void WriteBlock(const QuantisedPicture& picture, size_t block, int& predictor, bool chrominance, BitWriter& out)
{
    const int dc = picture.dc[block];
    Mpeg1Vlc::PutDcDifferential(out, dc - predictor, chrominance);
    predictor = dc;
    for (size_t i = picture.AcBegin(block); i < picture.acEnd[block]; ++i)
        Mpeg1Vlc::PutAc(out, picture.ac[i].run, picture.ac[i].level);
    out.Put(Mpeg1Vlc::kEndOfBlock.bits, Mpeg1Vlc::kEndOfBlock.length);  // end_of_block
}

// The scale a macroblock sets stays in force for the rest of the slice, so
// a macroblock after a coarser one sets the slice's scale back.
void WriteMacroblockHeader(int quantiser, int& current, BitWriter& out)
{
    out.Put(1, 1);  // macroblock_address_increment: 1, the next macroblock
    if (quantiser == current) {
        out.Put(1, 1);  // macroblock_type: intra
        return;
    }
    out.Put(1, 2);                                  // macroblock_type: intra with quantiser_scale
    out.Put(static_cast<uint32_t>(quantiser), 5);  // quantizer_scale
    current = quantiser;
}

void WriteMacroblock(const QuantisedPicture& picture, size_t firstBlock, int predictors[3], BitWriter& out)
{
    for (int b = 0; b < QuantisedPicture::kBlocksPerMacroblock; ++b) {
        const int component = b < 4 ? 0 : b - 3;
        WriteBlock(picture, firstBlock + b, predictors[component], component != 0, out);
    }
}

}  // namespace

void WriteIntraSlices(const QuantisedPicture& picture, int quantiser, BitWriter& out)
{
    size_t block = 0;
    for (int row = 0; row < picture.mbHeight; ++row) {
        out.StartCode(static_cast<uint8_t>(row + 1));      // slice_start_code: slice_vertical_position
        out.Put(static_cast<uint32_t>(quantiser), 5);      // quantizer_scale
        out.Put(0, 1);                                     // extra_bit_slice
        int predictors[3] = {kDcPredictorReset, kDcPredictorReset, kDcPredictorReset};
        int current = quantiser;
        for (int col = 0; col < picture.mbWidth; ++col) {
            WriteMacroblockHeader(picture.quantiser[block / QuantisedPicture::kBlocksPerMacroblock], current, out);
            WriteMacroblock(picture, block, predictors, out);
            block += QuantisedPicture::kBlocksPerMacroblock;
        }
    }
    out.AlignWithZeros();
}
