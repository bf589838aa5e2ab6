#pragma once
#include "StillFormat.h"
#include "YCbCrFrame.h"
#include "engine/picture/Image.h"

struct FramingOptions {
    bool safeArea = false;  // fit inside the central 90 % instead of the whole frame
};

// Fits an upright photo, keeping its shape, into the square-pixel 4:3
// canvas of the format (768x576 for PAL, 640x480 for NTSC) with black
// around it, resamples that to the format's raster (area average, no
// ringing) and converts it to studio-range 4:2:0.
YCbCrFrame FrameStill(const Image& photo, const StillFormat& format, const FramingOptions& options = {});
