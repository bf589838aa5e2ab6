#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "StillFormat.h"
#include "engine/mpeg1/YCbCrFrame.h"

// One still picture as an MPEG-1 video elementary stream: sequence header,
// closed GOP, one I picture, sequence end code.
struct EncodedStill {
    std::vector<uint8_t> stream;
    int quantiser = 0;      // the slices' quantiser scale, 1..31 (a macroblock with strong edges may use a coarser one)
    int coefficients = 64;  // zig-zag positions coded per block: 64 unless quantiser 31 was still too big
};

// Encodes the frame at one quantiser scale. The frame must have the
// format's raster and the quantiser be 1..31; otherwise the stream is empty.
// The VBV buffer size field is 23 (46 KB) for normal resolution, whatever
// the picture's size; for high resolution it is the stream's size with at
// least 1 KB to spare, in 2 KB units, at least 23 (24 above
// kLargestNormalStill bytes).
EncodedStill EncodeStill(const YCbCrFrame& frame, const StillFormat& format, int quantiser);

// Encodes the frame with the finest quantiser whose stream fits the budget
// of its resolution (StillBudgetFor: normal resolution 40 KB, never above
// the 46 KB buffer; high resolution 160 KB, never above 220 KB).
EncodedStill EncodeStillWithinBudget(const YCbCrFrame& frame, const StillFormat& format);

// What EncodeStillWithinBudget aims at, in bytes of the whole stream: the
// finest quantiser whose stream is at most `target`; if even quantiser 31
// is larger, that stream is kept while it is at most `limit`, and beyond
// that high-frequency coefficients are dropped until it fits `target`.
struct StillBudget {
    size_t target = 0;
    size_t limit = 0;
};
StillBudget StillBudgetFor(const StillFormat& format);
