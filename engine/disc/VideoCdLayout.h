#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "PsdVcd.h"
#include "VideoCdDisc.h"

// Where everything of a Video CD image goes, decided before a byte is
// written. Track 1 (the ISO 9660 volume), in LSN order:
//
//   0-15 system area | 16 PVD | 17 terminator | 18.. directories, then the
//   type-L and type-M path tables (ending below LSN 75) | 150 INFO.VCD
//   151 ENTRIES.VCD | 152-183 LOT.VCD | 184.. PSD.VCD | segment area from the
//   next multiple of 75, 150 sectors per segment | EXT/LOT_X.VCD, EXT/PSD_X.VCD
//   | (see below) the SEGMENT directory | zero up to at least 300 sectors
//
// then per MPEG track: pregap 150, front margin 30, the packs, rear margin
// 45; and a 150-sector post-gap. Unused sectors are zero.

constexpr uint32_t kSegmentSectors = 150;
constexpr uint32_t kSegmentAreaAlignment = 75;
constexpr uint32_t kTrackPregapSectors = 150;
constexpr uint32_t kFrontMarginSectors = 30;
constexpr uint32_t kRearMarginSectors = 45;
constexpr uint32_t kPostGapSectors = 150;
constexpr uint32_t kMinIsoSectors = 300;
constexpr uint32_t kVolumeDescriptorLsn = 16;
constexpr uint32_t kDirectoryAreaLimit = 75;  // the karaoke area starts here
// Addresses are BCD minutes 0..99: the last sector is 99:59:74, less the
// first track's unrecorded 2 s pregap.
constexpr uint32_t kMaxImageSectors = 100 * 60 * 75 - 150;

enum class RegionKind : uint8_t {
    Unused,  // zero Form 1 sectors in track 1
    VolumeDescriptor,
    Terminator,
    Directory,
    PathTableL,
    PathTableM,
    InfoVcd,
    EntriesVcd,
    LotVcd,
    PsdVcd,
    Segment,
    LotX,
    PsdX,
    Pregap,
    FrontMargin,
    TrackPacks,
    RearMargin,
    PostGap,
};

struct VideoCdRegion {
    RegionKind kind = RegionKind::Unused;
    uint32_t first = 0, count = 0;
    uint32_t index = 0;  // the segment item, MPEG track or directory it belongs to
    std::string name;    // for messages: "PSD.VCD", "segment item 2", "track 2 pregap"
};

enum class DirectoryId : uint8_t { Root, Ext, Mpegav, Segment, Vcd };

struct PlannedDirectory {
    DirectoryId id = DirectoryId::Root;
    std::string name;  // empty for the root
    uint32_t extent = 0, sectors = 0;
    bool endsArea = false;  // its last sector closes a run of directory sectors
};

struct PlannedSegmentItem {
    uint32_t firstSegment = 0;  // 0-based
    uint32_t lsn = 0;
};

struct PlannedTrack {
    uint8_t number = 2;        // CD track number
    uint32_t pregap = 0;       // INDEX 00
    uint32_t start = 0;        // INDEX 01, the front margin's first sector
    uint32_t packs = 0;        // first pack's LSN
    uint32_t packCount = 0;
    uint32_t rearMargin = 0;
};

struct VideoCdLayout {
    bool ok = false;
    std::string error;

    std::vector<VideoCdRegion> regions;  // in LSN order, covering the image
    uint32_t isoSectors = 0;             // track 1
    uint32_t totalSectors = 0;

    std::vector<PlannedDirectory> directories;  // root, then its children by name
    uint32_t pathTableL = 0, pathTableM = 0, pathTableSize = 0;
    PsdPlacement psd, psdX;  // the lists in PSD.VCD and in PSD_X.VCD
    uint32_t psdSectors = 0, psdXSectors = 0;
    uint32_t firstSegmentLsn = 0;
    uint32_t segmentCount = 0;
    std::vector<PlannedSegmentItem> segmentItems;
    uint32_t lotXLsn = 0, psdXLsn = 0;
    std::vector<PlannedTrack> tracks;

    const PlannedDirectory* Directory(DirectoryId id) const;
    // The region lsn lies in; null past the end.
    const VideoCdRegion* RegionAt(uint32_t lsn) const;
};

// The file name of segment item i: ITEMnnnn.DAT;1 with nnnn its first
// segment, counted from 1.
std::string SegmentItemFileName(const PlannedSegmentItem& item);

// Plans the image of a disc that VideoCdDiscFault accepts; fails only on
// the limits that depend on placement.
VideoCdLayout PlanVideoCdLayout(const VideoCdDisc& disc);
