#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "VideoCdDisc.h"

// VCD/PSD.VCD (from LSN 184) and EXT/PSD_X.VCD: the play-back control
// lists, one descriptor after another. Each descriptor starts at a multiple
// of 8 bytes and never crosses a 2048-byte sector: one that would is moved
// to the next sector, the gap staying zero. Links are offsets in 8-byte
// units into the same file, 0xFFFF for none. Numbers are big-endian.
//
// Play list (0x10), 14 + 2 x items bytes:
//   0 type | 1 items | 2 list id (bit 15: rejected) | 4 previous | 6 next
//   8 return | 10 playing time (1/15 s) | 12 wait | 13 auto-pause wait
//   14 play item numbers (16 each)
// Selection list (0x18 in PSD.VCD), 20 + 2 x selections bytes:
//   0 type | 1 flags (0) | 2 selections | 3 base selection number
//   4 list id (bit 15: rejected) | 6 previous | 8 next | 10 return
//   12 default | 14 timeout | 16 wait | 17 loop (bits 0-6: times the item
//   is played; bit 7: keys wait for the item) | 18 play item number
//   20 the selections' links, in number order (0xFFFF: the number does nothing)
// In PSD_X.VCD it is an extended selection list (0x1A): the same bytes,
// then the hot-spot areas of previous, next, return and default (4 bytes
// each, x1 y1 x2 y2, all zero: none) and one area per selection. So once a
// selection list is there, the two files place the lists that follow it
// differently.
// End list (0x1F): the type and 7 zero bytes.

constexpr uint32_t kPsdVcdLsn = 184;
constexpr size_t kPsdOffsetUnit = 8;
constexpr size_t kMaxPlayItems = 255;
// Offsets 0xFFFD..0xFFFF have special meanings in links.
constexpr uint32_t kLargestPsdOffsetUnits = 0xFFFC;

// Play item numbers: 2..99 a track, 1000 + n the item starting at segment n (0-based).
constexpr uint16_t kFirstTrackItem = 2;
constexpr uint16_t kFirstSegmentItem = 1000;

enum class PsdFile : uint8_t { Plain, Extended };  // PSD.VCD, PSD_X.VCD

struct PsdPlacement {
    std::vector<uint32_t> offsets;  // byte offset of each list
    uint32_t size = 0;              // end of the last descriptor
};

PsdPlacement PlacePsdLists(const std::vector<VideoCdList>& lists, PsdFile file);

// segmentItemNumbers: the play item number of each segment item.
std::vector<uint8_t> MakePsdVcd(const std::vector<VideoCdList>& lists, const PsdPlacement& placement,
                                const std::vector<uint16_t>& segmentItemNumbers, PsdFile file);
