#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "FrameCoefficients.h"

// How an intra picture is quantised: the quantiser scale its slices start
// at (a macroblock with strong edges may use a coarser one, see
// FrameCoefficients) and how many zig-zag positions each block keeps.
struct IntraQuantisation {
    int quantiser = 1;
    int coefficients = FrameCoefficients::kAllCoefficients;
};

// The bytes the picture's slices take at a quantisation, counted without
// writing them.
size_t IntraSlicesBytes(const FrameCoefficients& picture, const IntraQuantisation& quantisation);

// The slices of the picture at a quantisation.
std::vector<uint8_t> WriteIntraSlices(const FrameCoefficients& picture, const IntraQuantisation& quantisation);

// An intra picture's slices at the quantisation they were fitted at.
struct FittedSlices {
    IntraQuantisation quantisation;
    std::vector<uint8_t> bytes;
};

// The slices at the finest quantisation at which they and `overhead` bytes
// of headers fit `target` bytes: the finest quantiser scale (1..31) that
// fits; if even scale 31 does not, scale 31 is kept while it fits `limit`
// (at least `target`), and beyond that the most zig-zag positions per block
// that fit `target` (the DC alone when nothing more does).
//
// Scale 1 is written first, as most photos fit there. Otherwise sizes are
// counted, not written: the size falls as the scale grows, roughly as
// 1/sqrt(scale), so the search counts at the scale that model predicts from
// the size at 1, then at that one's neighbour on the far side of the
// boundary, and only then bisects; the choice is written once.
FittedSlices FitIntraSlices(const FrameCoefficients& picture, size_t overhead, size_t target, size_t limit);
