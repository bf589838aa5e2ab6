#pragma once
#include "StillFormat.h"
#include "engine/mpeg1/YCbCrFrame.h"
#include "engine/picture/Image.h"

struct FramingOptions {
    bool safeArea = false;  // fit inside the central 90 % instead of the whole frame
};

// Fits an upright photo, keeping its shape, into the square-pixel 4:3
// canvas of the format (768x576 for PAL, 640x480 for NTSC) with black
// around it, resamples that to the format's raster (area average, no
// ringing) and converts it to studio-range 4:2:0.
YCbCrFrame FrameStill(const Image& photo, const StillFormat& format, const FramingOptions& options = {});

// Both pictures of a still item from one resampling of the photo: the
// high-resolution frame, and the normal one made from it by averaging each
// 2x2 block in linear light (the normal raster is exactly half of it).
struct StillFrames {
    YCbCrFrame normal;
    YCbCrFrame high;
};
StillFrames FrameStillPair(const Image& photo, bool ntsc, const FramingOptions& options = {});

// The box, in square pixels, that an upright photo fitted into it (keeping
// its shape) must fill unenlarged so that every pixel of the format's raster
// has a source pixel of its own: a picture need not be decoded larger.
struct PictureBox {
    int width = 0;
    int height = 0;
};
PictureBox DecodeBoxFor(const StillFormat& format);
