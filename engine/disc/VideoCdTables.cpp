#include "VideoCdTables.h"

#include "CueSheet.h"
#include "EntriesVcd.h"
#include "InfoVcd.h"
#include "LotVcd.h"
#include "PsdVcd.h"

std::vector<uint8_t> MakeVideoCdInfo(const VideoCdDisc& disc, const VideoCdLayout& layout)
{
    InfoVcdFields f;
    f.albumId = disc.albumId;
    f.volumeCount = disc.volumeCount;
    f.volumeNumber = disc.volumeNumber;
    for (const VideoCdSequenceItem& s : disc.sequenceItems)
        f.palTracks.push_back(s.system == VideoSystem::Pal);
    f.restriction = disc.restriction;
    f.nextVolumeStartsAtLid2 = disc.nextVolumeStartsAtLid2;
    f.nextVolumeStartsAtTrack3 = disc.nextVolumeStartsAtTrack3;
    f.extendedPbc = true;  // EXT/PSD_X.VCD and LOT_X.VCD are always written
    f.psdSize = layout.psd.size;
    f.firstSegmentLsn = layout.firstSegmentLsn;
    f.highestListId = static_cast<uint16_t>(disc.lists.size());
    for (const VideoCdSegmentItem& item : disc.segmentItems)
        for (uint32_t k = 0; k < item.segments; ++k)
            f.segmentContents.push_back(SegmentContentsByte(item.video, item.system, item.audio, k > 0));
    return MakeInfoVcd(f);
}

std::vector<uint8_t> MakeVideoCdEntries(const VideoCdDisc& disc, const VideoCdLayout& layout)
{
    std::vector<EntryPoint> entries;
    for (size_t t = 0; t < layout.tracks.size(); ++t) {
        const PlannedTrack& track = layout.tracks[t];
        entries.push_back({track.number, track.start});
        for (uint32_t pack : disc.sequenceItems[t].extraEntryPacks)
            entries.push_back({track.number, track.packs + pack});
    }
    return MakeEntriesVcd(entries);
}

namespace {

const PsdPlacement& PlacementOf(const VideoCdLayout& layout, PsdFile file)
{
    return file == PsdFile::Extended ? layout.psdX : layout.psd;
}

}  // namespace

std::vector<uint8_t> MakeVideoCdLot(const VideoCdDisc& disc, const VideoCdLayout& layout, PsdFile file)
{
    const PsdPlacement& placement = PlacementOf(layout, file);
    std::vector<uint16_t> offsets;
    for (size_t i = 0; i < disc.lists.size(); ++i)
        offsets.push_back(disc.lists[i].rejected ? kNoPsdOffset
                                                 : static_cast<uint16_t>(placement.offsets[i] / kPsdOffsetUnit));
    return MakeLotVcd(offsets);
}

std::vector<uint8_t> MakeVideoCdPsd(const VideoCdDisc& disc, const VideoCdLayout& layout, PsdFile file)
{
    std::vector<uint16_t> itemNumbers;
    for (const PlannedSegmentItem& item : layout.segmentItems)
        itemNumbers.push_back(static_cast<uint16_t>(kFirstSegmentItem + item.firstSegment));
    return MakePsdVcd(disc.lists, PlacementOf(layout, file), itemNumbers, file);
}

std::vector<CueTrack> VideoCdCueTracks(const VideoCdDisc& disc, const VideoCdLayout& layout)
{
    std::vector<CueTrack> tracks;
    tracks.push_back({1, std::nullopt, {0}});
    for (size_t t = 0; t < layout.tracks.size(); ++t) {
        const PlannedTrack& track = layout.tracks[t];
        CueTrack cue{track.number, track.pregap, {track.start}};
        for (uint32_t pack : disc.sequenceItems[t].extraEntryPacks)
            cue.indexStarts.push_back(track.packs + pack);
        tracks.push_back(cue);
    }
    return tracks;
}

std::string MakeVideoCdCue(const VideoCdDisc& disc, const VideoCdLayout& layout, const std::string& binFileName)
{
    return MakeCueSheet(binFileName, VideoCdCueTracks(disc, layout));
}
