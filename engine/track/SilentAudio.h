#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "ElementaryStream.h"

// Silence as Video CD audio: MPEG-1 Layer II, 44.1 kHz, stereo, 224 kbit/s.
constexpr int kAudioSampleRate = 44100;
constexpr int kAudioBitRate = 224000;
constexpr int kSamplesPerAudioFrame = 1152;

// Frame j's length in bytes: 1152 samples at 224 kbit/s are 731 3/7 bytes,
// so three frames in every seven carry the padding byte, each as soon as
// the running total falls a whole byte behind the bit rate.
size_t AudioFrameBytes(int64_t frame);
bool AudioFramePadded(int64_t frame);

// One silent frame: the header, then zeros. Zeros read as a bit allocation
// of 0 in every subband of both channels, so the frame carries no scale
// factors and no samples; what follows is ancillary data, zero too.
std::vector<uint8_t> SilentAudioFrame(bool padded);

// The first `frames` frames of silence; frame j is heard at j * 1152 /
// 44100 s (PTS = DTS), rounded down to the 90 kHz clock.
ElementaryStream MakeSilentAudio(int frames);

// How many frames cover `seconds` of sound.
int AudioFramesFor(double seconds);
