#pragma once
#include <cstdint>
#include <vector>

#include "engine/disc/CueSheet.h"

// Main-data forms of a disc-at-once cue sheet for CD-ROM XA tracks: the
// host sends each sector without its sync and header (2336 bytes), or
// whole (2352 bytes); lead-in and lead-out are made by the drive.
constexpr uint8_t kFormXa2336 = 0x20;
constexpr uint8_t kFormXa2352 = 0x21;
constexpr uint8_t kFormXaGenerated = 0x24;

// Bytes the host sends per block in a form.
size_t BlockBytes(uint8_t form);

// The cue sheet a drive is sent for an image's tracks (index points as
// sector numbers from the image's first sector, LBA 0) ending at leadOut:
// lead-in, each track's INDEX 00 and its index points, lead-out; absolute
// times in binary minute, second, frame. Track 1's INDEX 00 is the 150
// sectors before LBA 0, which the host writes itself. With copyPermitted
// the track rows carry the digital copy bit, as the image's CUE does.
std::vector<uint8_t> MakeMmcCueSheet(const std::vector<CueTrack>& tracks, uint32_t leadOut, uint8_t form,
                                     bool copyPermitted);
