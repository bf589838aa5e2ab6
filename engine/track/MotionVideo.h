#pragma once
#include <cstddef>
#include <cstdint>

#include "ElementaryStream.h"
#include "engine/mpeg1/YCbCrFrame.h"

// Video CD motion video of one unchanging picture: MPEG-1 at a constant
// 1 150 000 bit/s, 352x288 at 25 Hz (PAL) or 352x240 at 29.97 Hz (NTSC),
// 4:3 (pel aspect 8 or 12), within the constrained parameters.
//
// Every group of pictures is a sequence header, a group header, an I
// picture of the photo and P pictures that repeat it with every macroblock
// skipped (see UnchangedSlices.h). A new group starts every 15 pictures
// (PAL) or 18 (NTSC), 0.6 s, so that a player can start or seek anywhere.
// Zero bytes after each picture make the rate constant: every group takes
// exactly what the bit rate delivers in its time, and the decoder's buffer
// holds the same amount before every I picture.
constexpr int64_t kMotionBitRate = 1150000;
constexpr size_t kMotionVbvBytes = 20 * 2048;  // vbv_buffer_size 20 (units of 16 384 bits): 40 KB
// The largest I picture with its headers. A Video CD player's video buffer
// is 46 KB; what it holds beyond the VBV's share lets the multiplexer run
// a few packs ahead of the bit rate.
constexpr size_t kMotionIntraBudget = 36 * 1024;

struct MotionVideo {
    // Times count from the moment the first byte enters the VBV buffer at
    // the bit rate; the first picture is decoded startupTicks later. Empty
    // if the photo does not have the raster or pictures < 1.
    ElementaryStream stream;
    int64_t startupTicks = 0;
    int quantiser = 0;      // the I picture's quantiser scale
    int coefficients = 64;  // zig-zag positions kept per block (64 unless quantiser 31 was still too big)
    size_t intraBytes = 0;  // the I picture with its sequence and group headers
};

int MotionWidth();
int MotionHeight(bool ntsc);
int64_t MotionFrameTicks(bool ntsc);  // one picture period on the 90 kHz clock
int MotionGopLength(bool ntsc);

// Whole pictures nearest to `seconds`.
int MotionPicturesFor(bool ntsc, double seconds);

// `pictures` pictures of the photo, which must have the format's raster
// (MotionWidth() x MotionHeight(ntsc)).
MotionVideo EncodeMotionVideo(const YCbCrFrame& photo, bool ntsc, int pictures);
