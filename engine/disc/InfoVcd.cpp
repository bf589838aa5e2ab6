#include "InfoVcd.h"

#include <algorithm>
#include <cstring>

#include "ByteFields.h"

namespace {

constexpr char kSystemId[] = "VIDEO_CD";
constexpr uint8_t kVersion = 2;
constexpr uint8_t kSystemProfile = 0;

constexpr size_t kSystemIdOffset = 0x000;
constexpr size_t kVersionOffset = 0x008;
constexpr size_t kProfileOffset = 0x009;
constexpr size_t kAlbumIdOffset = 0x00A;
constexpr size_t kVolumeCountOffset = 0x01A;
constexpr size_t kVolumeNumberOffset = 0x01C;
constexpr size_t kPalFlagsOffset = 0x01E;
constexpr size_t kStatusFlagsOffset = 0x02B;
constexpr size_t kPsdSizeOffset = 0x02C;
constexpr size_t kFirstSegmentOffset = 0x030;
constexpr size_t kOffsetMultiplierOffset = 0x033;
constexpr size_t kHighestListIdOffset = 0x034;
constexpr size_t kSegmentCountOffset = 0x036;
constexpr size_t kSegmentContentsOffset = 0x038;
constexpr size_t kPlayingTimesOffset = 0x7F4;
static_assert(kAlbumIdOffset + kAlbumIdSize == kVolumeCountOffset, "album id is 16 bytes");
static_assert(kPalFlagsOffset + (kMaxMpegTracks + 7) / 8 == kStatusFlagsOffset, "one PAL bit per MPEG track");
static_assert(kSegmentContentsOffset + kMaxSegments == kPlayingTimesOffset, "one byte per segment");

// Status flags.
constexpr int kRestrictionShift = 1;
constexpr uint8_t kNextVolumeLid2 = 0x20;
constexpr uint8_t kNextVolumeTrack3 = 0x40;
constexpr uint8_t kExtendedPbc = 0x80;

// Segment contents byte.
constexpr int kVideoShift = 2;
constexpr uint8_t kPalVideoTypes = 4;  // PAL types are the NTSC ones + 4
constexpr uint8_t kContinuation = 0x20;

}  // namespace

uint8_t SegmentContentsByte(SegmentVideo video, VideoSystem system, SegmentAudio audio, bool continuation)
{
    uint8_t type = 0;
    switch (video) {
    case SegmentVideo::None: type = 0; break;
    case SegmentVideo::Still: type = 1; break;
    case SegmentVideo::StillWithHigh: type = 2; break;
    case SegmentVideo::Motion: type = 3; break;
    }
    if (type != 0 && system == VideoSystem::Pal)
        type += kPalVideoTypes;
    return static_cast<uint8_t>(static_cast<uint8_t>(audio) | type << kVideoShift | (continuation ? kContinuation : 0));
}

std::vector<uint8_t> MakeInfoVcd(const InfoVcdFields& f)
{
    std::vector<uint8_t> info(kInfoVcdSize);
    uint8_t* p = info.data();
    std::memcpy(p + kSystemIdOffset, kSystemId, sizeof kSystemId - 1);
    p[kVersionOffset] = kVersion;
    p[kProfileOffset] = kSystemProfile;
    PutPadded(p + kAlbumIdOffset, kAlbumIdSize, f.albumId);
    PutBe16(p + kVolumeCountOffset, f.volumeCount);
    PutBe16(p + kVolumeNumberOffset, f.volumeNumber);
    for (size_t track = 0; track < f.palTracks.size(); ++track)
        if (f.palTracks[track])
            p[kPalFlagsOffset + track / 8] |= static_cast<uint8_t>(1 << track % 8);
    p[kStatusFlagsOffset] = static_cast<uint8_t>(f.restriction << kRestrictionShift |
                                                 (f.nextVolumeStartsAtLid2 ? kNextVolumeLid2 : 0) |
                                                 (f.nextVolumeStartsAtTrack3 ? kNextVolumeTrack3 : 0) |
                                                 (f.extendedPbc ? kExtendedPbc : 0));
    PutBe32(p + kPsdSizeOffset, f.psdSize);
    PutBcdMsf(p + kFirstSegmentOffset, f.firstSegmentLsn);
    p[kOffsetMultiplierOffset] = kPsdOffsetMultiplier;
    PutBe16(p + kHighestListIdOffset, f.highestListId);
    PutBe16(p + kSegmentCountOffset, static_cast<uint16_t>(f.segmentContents.size()));
    std::copy(f.segmentContents.begin(), f.segmentContents.end(), p + kSegmentContentsOffset);
    return info;
}
