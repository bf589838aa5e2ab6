#include "VideoCdFileSystem.h"

#include <cstdio>

#include "EntriesVcd.h"
#include "InfoVcd.h"
#include "LotVcd.h"
#include "PsdVcd.h"
#include "Sector.h"

namespace {

// What vcdxbuild 2.0.1 writes whatever its description says.
constexpr char kVcdimagerSystemId[] = "CD-RTOS CD-BRIDGE";
constexpr char kVcdimagerPreparerId[] = "GNU VCDIMAGER 2.0.1 LINUX-GNU/X86_64";
constexpr IsoDateTime kVcdimagerDate{1978, 7, 14, 0, 0, 0, 0};

constexpr uint8_t kVcdFileNumber = 0;
constexpr uint8_t kExtFileNumber = 1;
constexpr uint8_t kSegmentFileNumber = 1;
constexpr uint32_t kBlock = static_cast<uint32_t>(kIsoBlockSize);

struct DirectoryName {
    DirectoryId id;
    const char* name;
};
// In name order.
constexpr DirectoryName kChildren[] = {
    {DirectoryId::Ext, "EXT"}, {DirectoryId::Mpegav, "MPEGAV"}, {DirectoryId::Segment, "SEGMENT"}, {DirectoryId::Vcd, "VCD"}};

bool Exists(DirectoryId id, const VideoCdDisc& disc)
{
    return id != DirectoryId::Segment || !disc.segmentItems.empty();
}

IsoDirectoryEntry FileEntry(const std::string& name, uint32_t extent, uint32_t size, uint16_t xa, uint8_t fileNumber)
{
    return {name, extent, size, false, xa, fileNumber};
}

IsoDirectoryEntry DirectoryEntry(const PlannedDirectory* d, const std::string& name)
{
    return {name, d ? d->extent : 0, d ? d->sectors * kBlock : 0, true, kXaDirectory, 0};
}

std::string TrackFileName(size_t t)
{
    char name[32];
    std::snprintf(name, sizeof name, "AVSEQ%02u.DAT;1", static_cast<unsigned>(t + 1));
    return name;
}

// A directory's entries; before placement (layout null) only the names count.
std::vector<IsoDirectoryEntry> Children(DirectoryId id, const VideoCdDisc& disc, const VideoCdLayout* layout,
                                        const std::vector<uint32_t>* packCounts)
{
    std::vector<IsoDirectoryEntry> entries;
    const uint32_t psdSize = layout ? layout->psd.size : 0;
    const uint32_t psdXSize = layout ? layout->psdX.size : 0;
    switch (id) {
    case DirectoryId::Root:
        for (const DirectoryName& child : kChildren)
            if (Exists(child.id, disc))
                entries.push_back(DirectoryEntry(layout ? layout->Directory(child.id) : nullptr, child.name));
        break;
    case DirectoryId::Ext:
        entries.push_back(
            FileEntry("LOT_X.VCD;1", layout ? layout->lotXLsn : 0, kLotVcdSize, kXaForm1File, kExtFileNumber));
        entries.push_back(
            FileEntry("PSD_X.VCD;1", layout ? layout->psdXLsn : 0, psdXSize, kXaForm1File, kExtFileNumber));
        break;
    case DirectoryId::Mpegav:
        for (size_t t = 0; t < disc.sequenceItems.size(); ++t) {
            const PlannedTrack* track = layout ? &layout->tracks[t] : nullptr;
            const uint32_t sectors = track ? kFrontMarginSectors + track->packCount + kRearMarginSectors : 0;
            entries.push_back(FileEntry(TrackFileName(t), track ? track->start : 0, sectors * kBlock, kXaForm2File,
                                        static_cast<uint8_t>(t + 1)));
        }
        break;
    case DirectoryId::Segment:
        for (size_t i = 0; i < disc.segmentItems.size(); ++i) {
            PlannedSegmentItem item = layout ? layout->segmentItems[i] : PlannedSegmentItem{};
            const uint32_t packs = packCounts && i < packCounts->size() ? (*packCounts)[i] : 0;
            entries.push_back(
                FileEntry(SegmentItemFileName(item), item.lsn, packs * kBlock, kXaForm2File, kSegmentFileNumber));
        }
        break;
    case DirectoryId::Vcd:
        entries.push_back(FileEntry("ENTRIES.VCD;1", kEntriesVcdLsn, kEntriesVcdSize, kXaForm1File, kVcdFileNumber));
        entries.push_back(FileEntry("INFO.VCD;1", kInfoVcdLsn, kInfoVcdSize, kXaForm1File, kVcdFileNumber));
        entries.push_back(FileEntry("LOT.VCD;1", kLotVcdLsn, kLotVcdSize, kXaForm1File, kVcdFileNumber));
        entries.push_back(FileEntry("PSD.VCD;1", kPsdVcdLsn, psdSize, kXaForm1File, kVcdFileNumber));
        break;
    }
    return entries;
}

std::string NameOf(DirectoryId id)
{
    for (const DirectoryName& child : kChildren)
        if (child.id == id)
            return child.name;
    return {};
}

}  // namespace

std::vector<PlannedDirectory> SizeVideoCdDirectories(const VideoCdDisc& disc)
{
    std::vector<PlannedDirectory> directories;
    directories.push_back({DirectoryId::Root, "", 0, IsoDirectorySectors(Children(DirectoryId::Root, disc, nullptr, nullptr))});
    for (const DirectoryName& child : kChildren)
        if (Exists(child.id, disc))
            directories.push_back({child.id, child.name, 0, IsoDirectorySectors(Children(child.id, disc, nullptr, nullptr))});
    return directories;
}

std::vector<PathTableEntry> VideoCdPathTable(const VideoCdLayout& layout)
{
    std::vector<PathTableEntry> table;
    for (const PlannedDirectory& d : layout.directories)
        table.push_back({d.name, d.extent, 1});
    return table;
}

std::vector<uint8_t> MakeVideoCdDirectory(DirectoryId id, const VideoCdDisc& disc, const VideoCdLayout& layout,
                                          const std::vector<uint32_t>& packCounts)
{
    const IsoDirectoryEntry root = DirectoryEntry(layout.Directory(DirectoryId::Root), "");
    const IsoDirectoryEntry self = DirectoryEntry(layout.Directory(id), NameOf(id));
    return MakeIsoDirectory(self, root, Children(id, disc, &layout, &packCounts), VideoCdDate(disc));
}

IsoVolumeFields VideoCdVolumeFields(const VideoCdDisc& disc, const VideoCdLayout& layout)
{
    IsoVolumeFields f;
    f.systemId = disc.vcdimagerCompatible ? kVcdimagerSystemId : disc.systemId;
    f.volumeId = disc.volumeId;
    f.publisherId = disc.publisherId;
    f.preparerId = disc.vcdimagerCompatible ? kVcdimagerPreparerId : disc.preparerId;
    f.applicationId = disc.applicationId;
    f.volumeSpaceSize = layout.isoSectors;
    f.pathTableSize = layout.pathTableSize;
    f.lPathTable = layout.pathTableL;
    f.mPathTable = layout.pathTableM;
    f.root = DirectoryEntry(layout.Directory(DirectoryId::Root), "");
    f.created = VideoCdDate(disc);
    return f;
}

IsoDateTime VideoCdDate(const VideoCdDisc& disc)
{
    return disc.vcdimagerCompatible ? kVcdimagerDate : disc.created;
}
