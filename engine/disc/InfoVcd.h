#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "VideoCdDisc.h"

// VCD/INFO.VCD, at LSN 150, one 2048-byte sector (multi-byte numbers big-endian):
//
//   0x000 "VIDEO_CD" | 0x008 version 2 | 0x009 profile 0 | 0x00A album id (16)
//   0x01A volume count (16) | 0x01C volume number (16)
//   0x01E PAL flags, one bit per MPEG track (13 bytes, LSB first)
//   0x02B status flags | 0x02C PSD size (32) | 0x030 first segment (BCD MSF)
//   0x033 offset multiplier 8 | 0x034 highest list id (16)
//   0x036 segments in use (16) | 0x038 one contents byte per segment (1980)
//   0x7F4 playing times, reserved: zero

constexpr size_t kInfoVcdSize = 2048;
constexpr uint32_t kInfoVcdLsn = 150;
constexpr size_t kMaxSegments = 1980;
constexpr size_t kMaxMpegTracks = 98;
constexpr size_t kAlbumIdSize = 16;
constexpr uint8_t kPsdOffsetMultiplier = 8;

struct InfoVcdFields {
    std::string albumId;
    uint16_t volumeCount = 1, volumeNumber = 1;
    std::vector<bool> palTracks;  // per MPEG track, track 2 first
    uint8_t restriction = 0;
    bool nextVolumeStartsAtLid2 = false, nextVolumeStartsAtTrack3 = false;
    bool extendedPbc = false;  // EXT/PSD_X.VCD and EXT/LOT_X.VCD present
    uint32_t psdSize = 0;
    uint32_t firstSegmentLsn = 0;  // a multiple of 75
    uint16_t highestListId = 0;
    std::vector<uint8_t> segmentContents;  // per 150-sector segment, see SegmentContentsByte
};

// Audio in bits 0-1, video type in bits 2-4 (1..3 NTSC still, still with
// high resolution, motion; 5..7 the same for PAL), bit 5 set on every
// segment of an item but its first.
uint8_t SegmentContentsByte(SegmentVideo video, VideoSystem system, SegmentAudio audio, bool continuation);

std::vector<uint8_t> MakeInfoVcd(const InfoVcdFields& fields);
