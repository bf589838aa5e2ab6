#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/mpeg1/SystemStream.h"

// Multiplexes the still pictures of one Video CD item into 2324-byte packs
// (one pack per Form 2 sector): the system-header pack, the video packs of
// stream 0xE1 (normal) and then 0xE2 (high), and the end-code pack. Either
// stream may be empty, not both. Each must be a still as EncodeStill writes
// it (sequence header first, PAL or NTSC, both the same): the result is
// empty for a stream larger than its buffer (46 KB for normal resolution,
// the VBV field for high, which must be at least 46 KB), or one that could
// not arrive before its decoding time.
std::vector<uint8_t> PackStillItem(const std::vector<uint8_t>& normal, const std::vector<uint8_t>& high);

// The largest normal-resolution still (whole elementary stream) that
// arrives in time: it is decoded 22 pack periods after the item starts, so
// it must fit the 20 video packs before that, 2294 bytes in the first and
// 2305 in each other.
constexpr size_t kLargestNormalStill = 2294 + 19 * 2305;
