#pragma once
#include <functional>
#include <cstdint>
#include <vector>

#include "engine/mpeg1/YCbCrFrame.h"

// The motion-video track every Video CD must have (track 2): a few seconds
// of the first photo with silence, as a Video CD sequence item.
//
// The photo, framed for the format (352x288 for PAL, 352x240 for NTSC, as
// FrameStill makes it for a normal-resolution still), becomes MPEG-1 video
// at a constant 1 150 000 bit/s (25 or 29.97 Hz, 4:3, VBV buffer 40 KB):
// an I picture every 0.6 s and P pictures between that repeat it (see
// MotionVideo.h). The sound is MPEG-1 Layer II silence, 44.1 kHz stereo
// at 224 kbit/s, a little longer than the pictures. Both are multiplexed
// into 2324-byte packs as TrackMultiplexer.h shows; the result is a whole
// number of packs, ready to be written one per Form 2 sector.
//
// `seconds` is rounded to whole pictures and must be within
// [kMinMotionSeconds, kMaxMotionSeconds]. The result is empty if it is
// not, or if the photo does not have the format's raster.
// shouldStop is asked between the steps; when it says stop, the result is
// empty.
std::vector<uint8_t> MakeMotionTrack(const YCbCrFrame& firstPhoto, bool ntsc, double seconds = 3.0,
                                     const std::function<bool()>& shouldStop = {});

// vcdimager warns about tracks shorter than 75 packs (one second).
constexpr double kMinMotionSeconds = 1.0;
constexpr double kMaxMotionSeconds = 60.0;
