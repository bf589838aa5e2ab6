#include "VideoCdImageWriter.h"

#include <algorithm>

#include "IsoVolume.h"
#include "MpegPackCoding.h"
#include "SectorEmitter.h"
#include "VideoCdFileSystem.h"
#include "VideoCdTables.h"
#include "VideoCdValidation.h"
#include "XaSubmode.h"

namespace {

constexpr uint8_t kIsoFile = 0;   // XA file number of the ISO structures and VCD/*.VCD
constexpr uint8_t kExtFile = 1;   // EXT/*.VCD
constexpr uint8_t kSegmentFile = 1;

// Subheaders of the sectors that carry no pack.
constexpr Subheader kUnusedSector{kIsoFile, 0, kSubmodeData, 0};
constexpr Subheader kGapSector{0, 0, kSubmodeForm2, 0};
constexpr Subheader kSegmentFiller{kSegmentFile, 0, kSubmodeRealTime | kSubmodeForm2, 0};

constexpr uint8_t kFileSubmode = kSubmodeData;
constexpr uint8_t kLastFileSectorSubmode = kSubmodeEndOfFile | kSubmodeData;  // VCD files
constexpr uint8_t kLastIsoSectorSubmode = kSubmodeEndOfFile | kSubmodeData | kSubmodeEndOfRecord;

std::string ItemName(size_t index)
{
    return "Segment item " + std::to_string(index + 1);
}

// The packs a segment item made, checked against what the plan allows.
std::string PacksFault(const SegmentPacks& made, size_t index, uint32_t segments)
{
    if (!made.ok)
        return made.error.empty() ? ItemName(index) + " could not be made." : made.error;
    if (made.packs.empty() || made.packs.size() % kForm2DataSize != 0)
        return ItemName(index) + " is not a whole number of 2324-byte packs.";
    const size_t packs = made.packs.size() / kForm2DataSize;
    if (packs > size_t{segments} * 150)
        return ItemName(index) + " has " + std::to_string(packs) + " packs; its " + std::to_string(segments) +
               " segment(s) hold " + std::to_string(segments * 150) + ".";
    for (size_t k = 0; k < packs; ++k)
        if (!IsMpegPack(made.packs.data() + k * kForm2DataSize))
            return ItemName(index) + ": pack " + std::to_string(k) + " is not an MPEG pack.";
    return {};
}

// One run of Write(): the region writers share the emitter and the packs
// counted so far.
class ImageWriting {
public:
    ImageWriting(const VideoCdDisc& disc, const VideoCdLayout& layout, std::vector<uint32_t> packCounts,
                 SectorEmitter& out)
        : m_disc(disc), m_layout(layout), m_packCounts(std::move(packCounts)), m_out(out)
    {
        m_psd = MakeVideoCdPsd(disc, layout, PsdFile::Plain);
        m_lot = MakeVideoCdLot(disc, layout, PsdFile::Plain);
        m_psdX = MakeVideoCdPsd(disc, layout, PsdFile::Extended);
        m_lotX = MakeVideoCdLot(disc, layout, PsdFile::Extended);
    }

    // Empty when the region was written as planned.
    std::string WriteRegion(const VideoCdRegion& r)
    {
        if (m_out.Lsn() != r.first)
            return Mismatch(r, "starts");
        if (!Dispatch(r))
            return m_fault.empty() ? m_out.Error() : m_fault;
        if (m_out.Lsn() != r.first + r.count)
            return Mismatch(r, "ends");
        return {};
    }

private:
    bool Dispatch(const VideoCdRegion& r)
    {
        switch (r.kind) {
        case RegionKind::Unused: return m_out.ZeroForm1(kUnusedSector, r.count);
        case RegionKind::VolumeDescriptor:
            return File(MakePrimaryVolumeDescriptor(VideoCdVolumeFields(m_disc, m_layout)), r,
                        kSubmodeData | kSubmodeEndOfRecord, kIsoFile);
        case RegionKind::Terminator:
            return File(MakeVolumeDescriptorSetTerminator(), r, kLastIsoSectorSubmode, kIsoFile);
        case RegionKind::Directory: return Directory(r);
        case RegionKind::PathTableL:
            return File(MakePathTable(VideoCdPathTable(m_layout), PathTableOrder::Little), r, kLastIsoSectorSubmode,
                        kIsoFile);
        case RegionKind::PathTableM:
            return File(MakePathTable(VideoCdPathTable(m_layout), PathTableOrder::Big), r, kLastIsoSectorSubmode,
                        kIsoFile);
        case RegionKind::InfoVcd: return File(MakeVideoCdInfo(m_disc, m_layout), r, kLastFileSectorSubmode, kIsoFile);
        case RegionKind::EntriesVcd:
            return File(MakeVideoCdEntries(m_disc, m_layout), r, kLastFileSectorSubmode, kIsoFile);
        case RegionKind::LotVcd: return File(m_lot, r, kLastFileSectorSubmode, kIsoFile);
        case RegionKind::PsdVcd: return File(m_psd, r, kLastFileSectorSubmode, kIsoFile);
        case RegionKind::Segment: return Segment(r);
        case RegionKind::LotX: return File(m_lotX, r, kLastFileSectorSubmode, kExtFile);
        case RegionKind::PsdX: return File(m_psdX, r, kLastFileSectorSubmode, kExtFile);
        case RegionKind::Pregap:
        case RegionKind::PostGap: return m_out.ZeroForm2(kGapSector, r.count);
        case RegionKind::FrontMargin: return m_out.ZeroForm2(Margin(r, false), r.count);
        case RegionKind::TrackPacks: return TrackPacks(r);
        case RegionKind::RearMargin:
            return m_out.ZeroForm2(Margin(r, false), r.count - 1) && m_out.ZeroForm2(Margin(r, true), 1);
        }
        return Fail("unknown region " + r.name);
    }

    bool Fail(const std::string& fault)
    {
        m_fault = fault;
        return false;
    }

    std::string Mismatch(const VideoCdRegion& r, const char* what) const
    {
        return "Internal error: " + r.name + " " + what + " at sector " + std::to_string(m_out.Lsn()) +
               ", not where it was planned.";
    }

    // Form 1 sectors of a file's bytes, zero-padded to the region; the last
    // sector's submode differs.
    bool File(const std::vector<uint8_t>& bytes, const VideoCdRegion& r, uint8_t lastSubmode, uint8_t fileNumber)
    {
        if (bytes.size() > size_t{r.count} * kForm1DataSize)
            return Fail("Internal error: " + r.name + " is larger than planned.");
        uint8_t sector[kForm1DataSize];
        for (uint32_t i = 0; i < r.count; ++i) {
            const size_t at = size_t{i} * kForm1DataSize;
            const size_t size = bytes.size() > at ? std::min(kForm1DataSize, bytes.size() - at) : 0;
            std::fill(std::copy(bytes.begin() + at, bytes.begin() + at + size, sector), sector + kForm1DataSize, 0);
            const uint8_t submode = i + 1 == r.count ? lastSubmode : kFileSubmode;
            if (!m_out.Form1(sector, {fileNumber, 0, submode, 0}))
                return false;
        }
        return true;
    }

    bool Directory(const VideoCdRegion& r)
    {
        const DirectoryId id = static_cast<DirectoryId>(r.index);
        const bool endsArea = m_layout.Directory(id)->endsArea;
        const std::vector<uint8_t> bytes = MakeVideoCdDirectory(id, m_disc, m_layout, m_packCounts);
        if (bytes.size() != size_t{r.count} * kForm1DataSize)
            return Fail("Internal error: " + r.name + " does not take the sectors planned.");
        return File(bytes, r, endsArea ? kLastIsoSectorSubmode : kFileSubmode, kIsoFile);
    }

    bool Segment(const VideoCdRegion& r)
    {
        if (!m_out.KeepGoing())
            return false;
        const VideoCdSegmentItem& item = m_disc.segmentItems[r.index];
        const SegmentPacks made = item.makePacks();
        const std::string fault = PacksFault(made, r.index, item.segments);
        if (!fault.empty())
            return Fail(fault);
        const uint32_t packs = static_cast<uint32_t>(made.packs.size() / kForm2DataSize);
        if (r.index < m_packCounts.size() && m_packCounts[r.index] != packs)
            return Fail(ItemName(r.index) + " made " + std::to_string(packs) + " packs, not the " +
                        std::to_string(m_packCounts[r.index]) + " it made while the disc was planned.");
        m_packCounts.resize(std::max<size_t>(m_packCounts.size(), r.index + 1));
        m_packCounts[r.index] = packs;
        for (uint32_t k = 0; k < packs; ++k) {
            const uint8_t* pack = made.packs.data() + size_t{k} * kForm2DataSize;
            if (!m_out.Form2(pack, SegmentPackSubheader(pack, k + 1 == packs)))
                return false;
        }
        return m_out.ZeroForm2(kSegmentFiller, r.count - packs);
    }

    Subheader Margin(const VideoCdRegion& r, bool endOfFile) const
    {
        const uint8_t submode = kSubmodeRealTime | kSubmodeForm2 | (endOfFile ? kSubmodeEndOfFile : 0);
        return {TrackFileNumber(r), 0, submode, 0};
    }

    // AVSEQnn.DAT's nn.
    static uint8_t TrackFileNumber(const VideoCdRegion& r) { return static_cast<uint8_t>(r.index + 1); }

    bool TrackPacks(const VideoCdRegion& r)
    {
        const std::vector<uint8_t>& packs = m_disc.sequenceItems[r.index].packs;
        for (uint32_t k = 0; k < r.count; ++k) {
            const uint8_t* pack = packs.data() + size_t{k} * kForm2DataSize;
            if (!m_out.Form2(pack, TrackPackSubheader(pack, TrackFileNumber(r), k + 1 == r.count)))
                return false;
        }
        return true;
    }

    const VideoCdDisc& m_disc;
    const VideoCdLayout& m_layout;
    std::vector<uint32_t> m_packCounts;
    SectorEmitter& m_out;
    std::vector<uint8_t> m_psd, m_lot, m_psdX, m_lotX;
    std::string m_fault;
};

VideoCdResult Failure(const std::string& error, bool cancelled = false)
{
    VideoCdResult result;
    result.error = error;
    result.cancelled = cancelled;
    return result;
}

}  // namespace

VideoCdImageWriter::VideoCdImageWriter(const VideoCdDisc& disc) : m_disc(disc) {}

VideoCdResult VideoCdImageWriter::Plan()
{
    m_layout = VideoCdLayout();
    m_plannedPackCounts.clear();
    const std::string fault = VideoCdDiscFault(m_disc);
    if (!fault.empty())
        return Failure(fault);
    VideoCdLayout layout = PlanVideoCdLayout(m_disc);
    if (!layout.ok)
        return Failure(layout.error);
    // vcdimager's SEGMENT directory comes before the items, so their sizes
    // are needed now: make each once and keep only its pack count.
    if (m_disc.vcdimagerCompatible) {
        for (size_t i = 0; i < m_disc.segmentItems.size(); ++i) {
            const SegmentPacks made = m_disc.segmentItems[i].makePacks();
            const std::string packsFault = PacksFault(made, i, m_disc.segmentItems[i].segments);
            if (!packsFault.empty())
                return Failure(packsFault);
            m_plannedPackCounts.push_back(static_cast<uint32_t>(made.packs.size() / kForm2DataSize));
        }
    }
    m_layout = std::move(layout);
    VideoCdResult result;
    result.ok = true;
    return result;
}

std::string VideoCdImageWriter::CueSheet(const std::string& binFileName) const
{
    return m_layout.ok ? MakeVideoCdCue(m_disc, m_layout, binFileName) : std::string();
}

std::vector<CueTrack> VideoCdImageWriter::CueTracks() const
{
    return m_layout.ok ? VideoCdCueTracks(m_disc, m_layout) : std::vector<CueTrack>();
}

VideoCdResult VideoCdImageWriter::Write(SectorSink& sink, const Progress& progress)
{
    if (!m_layout.ok)
        return Failure("The disc has not been planned.");
    SectorEmitter out(sink, progress, m_layout.totalSectors);
    ImageWriting writing(m_disc, m_layout, m_plannedPackCounts, out);
    for (const VideoCdRegion& region : m_layout.regions) {
        const std::string fault = writing.WriteRegion(region);
        if (!fault.empty())
            return Failure(fault, out.Cancelled());
    }
    if (!out.Finish())
        return Failure(out.Error(), out.Cancelled());
    if (out.Lsn() != m_layout.totalSectors)
        return Failure("Internal error: the image ends at sector " + std::to_string(out.Lsn()) + ", not where planned.");
    VideoCdResult result;
    result.ok = true;
    return result;
}
