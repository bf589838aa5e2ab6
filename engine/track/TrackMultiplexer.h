#pragma once
#include <cstdint>
#include <vector>

#include "ElementaryStream.h"

// One elementary stream for the multiplexer, with the SCR time its own
// time origin falls on.
struct TrackInput {
    const ElementaryStream* stream = nullptr;
    int64_t origin = 0;
};

// Multiplexes the video (stream 0xE0) and audio (0xC0) of a Video CD motion
// track into 2324-byte packs, one per Form 2 sector, read at 75 packs a
// second (mux rate 3528, SCR 1200 apart):
//
//   pack 0     pack header | system header: video, 46 KB buffer | padding
//   pack 1     pack header | system header: audio, 4 KB buffer | padding | 20 zeros
//   then       video packs: pack header | video packet (PTS+DTS when a picture starts in it)
//              audio packs: pack header | audio packet (PTS) | 20 zeros
//              (the first packet of each stream carries its STD buffer size)
//              padding packs when neither buffer has room
//   last       pack header | padding | ISO 11172 end code
//
// Each pack goes to the stream whose next byte is due first among those
// whose buffer has room for the packet, so neither buffer overflows. The
// result is empty if some access unit would arrive after its decoding time.
std::vector<uint8_t> MultiplexMotionTrack(const TrackInput& video, const TrackInput& audio);

constexpr int64_t kTrackScrPerPack = 1200;  // 90 kHz / 75 packs a second
constexpr int kTrackVideoBufferBytes = 46 * 1024;
constexpr int kTrackAudioBufferBytes = 4 * 1024;
