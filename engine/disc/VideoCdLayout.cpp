#include "VideoCdLayout.h"

#include <algorithm>
#include <cstdio>

#include "InfoVcd.h"
#include "IsoDirectory.h"
#include "LotVcd.h"
#include "Sector.h"
#include "VideoCdFileSystem.h"

// Where the SEGMENT directory goes.
//
// vcdimager keeps every directory between LSN 18 and the karaoke area at
// LSN 75, which leaves room for 1648 one-segment items. A slideshow needs
// up to 1980 (the most INFO.VCD can describe), and this writer makes each
// item only when it reaches it, so the records of SEGMENT/ (which carry each
// item's size) are not known until the items are written. Both point the
// same way: the SEGMENT directory is placed at the end of track 1, after
// EXT/PSD_X.VCD. ISO 9660 lets a directory's extent lie anywhere in the
// volume; the root record and the path tables point at it as usual. Video
// CD players go by INFO, ENTRIES, LOT and PSD at their fixed addresses, not
// by the directories; the karaoke area stays untouched, and the small
// directories stay where vcdimager puts them. vcd-info, cd-info,
// iso-info and vcdxrip read such discs without a warning: VideoCdOracleTest
// reads one of 1900 items, and discs of 1980 were read the same way.
//
// The vcdimager-compatible layout (tests only) keeps SEGMENT in its place
// below LSN 75 and so refuses more than 1648 one-segment items, as
// vcdimager does.

namespace {

class Planner {
public:
    explicit Planner(VideoCdLayout& layout) : m_layout(layout) {}

    void Add(RegionKind kind, uint32_t count, const std::string& name, uint32_t index = 0)
    {
        if (count == 0)
            return;
        m_layout.regions.push_back({kind, m_next, count, index, name});
        m_next += count;
    }

    // Zero sectors up to lsn.
    void FillTo(uint32_t lsn, const std::string& name)
    {
        if (lsn > m_next)
            Add(RegionKind::Unused, lsn - m_next, name);
    }

    uint32_t Next() const { return m_next; }

    void AddDirectory(PlannedDirectory directory, bool endsArea)
    {
        directory.extent = m_next;
        directory.endsArea = endsArea;
        Add(RegionKind::Directory, directory.sectors, "directory /" + directory.name,
            static_cast<uint32_t>(directory.id));
        m_layout.directories.push_back(directory);
    }

    // Root first, then its children by name, as the path tables list them.
    void SortDirectories()
    {
        std::sort(m_layout.directories.begin(), m_layout.directories.end(),
                  [](const PlannedDirectory& a, const PlannedDirectory& b) { return a.id < b.id; });
    }

private:
    VideoCdLayout& m_layout;
    uint32_t m_next = 0;
};

uint32_t RoundUp(uint32_t n, uint32_t step)
{
    return (n + step - 1) / step * step;
}

uint32_t SectorsFor(uint32_t bytes)
{
    return RoundUp(bytes, static_cast<uint32_t>(kIsoBlockSize)) / static_cast<uint32_t>(kIsoBlockSize);
}

std::string TrackName(uint8_t number)
{
    return "track " + std::to_string(number);
}

void PlaceSegmentItems(const VideoCdDisc& disc, VideoCdLayout& layout)
{
    uint32_t segment = 0;
    for (const VideoCdSegmentItem& item : disc.segmentItems) {
        layout.segmentItems.push_back({segment, 0});
        segment += item.segments;
    }
    layout.segmentCount = segment;
}

void PlaceTracks(const VideoCdDisc& disc, VideoCdLayout& layout, Planner& planner)
{
    for (size_t t = 0; t < disc.sequenceItems.size(); ++t) {
        PlannedTrack track;
        track.number = static_cast<uint8_t>(t + 2);
        track.packCount = static_cast<uint32_t>(disc.sequenceItems[t].packs.size() / kForm2DataSize);
        const std::string name = TrackName(track.number);
        const uint32_t index = static_cast<uint32_t>(t);
        track.pregap = planner.Next();
        planner.Add(RegionKind::Pregap, kTrackPregapSectors, name + " pregap", index);
        track.start = planner.Next();
        planner.Add(RegionKind::FrontMargin, kFrontMarginSectors, name + " front margin", index);
        track.packs = planner.Next();
        planner.Add(RegionKind::TrackPacks, track.packCount, name + " packs", index);
        track.rearMargin = planner.Next();
        planner.Add(RegionKind::RearMargin, kRearMarginSectors, name + " rear margin", index);
        layout.tracks.push_back(track);
    }
    planner.Add(RegionKind::PostGap, kPostGapSectors, "post-gap");
}

}  // namespace

const PlannedDirectory* VideoCdLayout::Directory(DirectoryId id) const
{
    for (const PlannedDirectory& d : directories)
        if (d.id == id)
            return &d;
    return nullptr;
}

const VideoCdRegion* VideoCdLayout::RegionAt(uint32_t lsn) const
{
    for (const VideoCdRegion& r : regions)
        if (lsn >= r.first && lsn < r.first + r.count)
            return &r;
    return nullptr;
}

std::string SegmentItemFileName(const PlannedSegmentItem& item)
{
    char name[32];
    std::snprintf(name, sizeof name, "ITEM%04u.DAT;1", static_cast<unsigned>(item.firstSegment + 1));
    return name;
}

VideoCdLayout PlanVideoCdLayout(const VideoCdDisc& disc)
{
    VideoCdLayout layout;
    Planner planner(layout);
    PlaceSegmentItems(disc, layout);
    layout.psd = PlacePsdLists(disc.lists, PsdFile::Plain);
    layout.psdSectors = SectorsFor(layout.psd.size);
    layout.psdX = PlacePsdLists(disc.lists, PsdFile::Extended);
    layout.psdXSectors = SectorsFor(layout.psdX.size);

    planner.Add(RegionKind::Unused, kVolumeDescriptorLsn, "system area");
    planner.Add(RegionKind::VolumeDescriptor, 1, "PVD");
    planner.Add(RegionKind::Terminator, 1, "terminator");
    std::vector<PlannedDirectory> low = SizeVideoCdDirectories(disc);
    PlannedDirectory segmentDirectory;
    if (!disc.vcdimagerCompatible) {
        for (auto d = low.begin(); d != low.end(); ++d)
            if (d->id == DirectoryId::Segment) {
                segmentDirectory = *d;
                low.erase(d);
                break;
            }
    }
    for (size_t i = 0; i < low.size(); ++i)
        planner.AddDirectory(low[i], i + 1 == low.size());
    layout.pathTableL = planner.Next();
    planner.Add(RegionKind::PathTableL, 1, "path table L");
    layout.pathTableM = planner.Next();
    planner.Add(RegionKind::PathTableM, 1, "path table M");
    if (planner.Next() >= kDirectoryAreaLimit) {
        layout.error = "The directories do not fit below sector " + std::to_string(kDirectoryAreaLimit) +
                       " (in the vcdimager layout a disc holds at most 1648 one-segment items).";
        return layout;
    }

    planner.FillTo(kInfoVcdLsn, "unused");
    planner.Add(RegionKind::InfoVcd, 1, "INFO.VCD");
    planner.Add(RegionKind::EntriesVcd, 1, "ENTRIES.VCD");
    planner.Add(RegionKind::LotVcd, kLotVcdSectors, "LOT.VCD");
    planner.Add(RegionKind::PsdVcd, layout.psdSectors, "PSD.VCD");
    layout.firstSegmentLsn = RoundUp(planner.Next(), kSegmentAreaAlignment);
    planner.FillTo(layout.firstSegmentLsn, "unused");
    for (size_t i = 0; i < disc.segmentItems.size(); ++i) {
        layout.segmentItems[i].lsn = planner.Next();
        planner.Add(RegionKind::Segment, disc.segmentItems[i].segments * kSegmentSectors,
                    "segment item " + std::to_string(i + 1), static_cast<uint32_t>(i));
    }
    layout.lotXLsn = planner.Next();
    planner.Add(RegionKind::LotX, kLotVcdSectors, "LOT_X.VCD");
    layout.psdXLsn = planner.Next();
    planner.Add(RegionKind::PsdX, layout.psdXSectors, "PSD_X.VCD");
    if (segmentDirectory.sectors > 0)
        planner.AddDirectory(segmentDirectory, true);
    planner.FillTo(kMinIsoSectors, "unused");
    layout.isoSectors = planner.Next();
    planner.SortDirectories();
    layout.pathTableSize = PathTableSize(VideoCdPathTable(layout));

    PlaceTracks(disc, layout, planner);
    layout.totalSectors = planner.Next();
    if (layout.totalSectors > kMaxImageSectors) {
        layout.error = "The image would take " + std::to_string(layout.totalSectors) + " sectors; a CD holds at most " +
                       std::to_string(kMaxImageSectors) + ".";
        return layout;
    }
    layout.ok = true;
    return layout;
}
