#include "VideoCdValidation.h"

#include "EntriesVcd.h"
#include "InfoVcd.h"
#include "IsoVolume.h"
#include "LotVcd.h"
#include "MpegPackCoding.h"
#include "PsdVcd.h"

namespace {

constexpr size_t kMaxIndexPointsPerTrack = 99;  // CUE INDEX 01..99
constexpr uint8_t kMaxRestriction = 3;
constexpr size_t kFirstNumberKey = 1, kLastNumberKey = 99;  // what a selection list's numbers may be

std::string Number(size_t n)
{
    return std::to_string(n);
}

std::string TextFault(const std::string& what, const std::string& text, size_t limit, bool dCharacters)
{
    if (text.size() > limit)
        return what + " \"" + text + "\" is longer than " + Number(limit) + " characters.";
    if (dCharacters ? !IsIsoDText(text) : !IsIsoAText(text))
        return what + " \"" + text + "\" may hold only " +
               (dCharacters ? "A-Z, 0-9 and _." : "A-Z, 0-9, spaces and the punctuation ISO 9660 allows.");
    return {};
}

std::string VolumeFault(const VideoCdDisc& d)
{
    std::string fault;
    if (!(fault = TextFault("The album id", d.albumId, kAlbumIdSize, true)).empty() ||
        !(fault = TextFault("The volume id", d.volumeId, kIsoIdentifierSize, true)).empty() ||
        !(fault = TextFault("The system id", d.systemId, kIsoIdentifierSize, false)).empty() ||
        !(fault = TextFault("The application id", d.applicationId, kIsoLongIdentifierSize, false)).empty() ||
        !(fault = TextFault("The preparer id", d.preparerId, kIsoLongIdentifierSize, false)).empty() ||
        !(fault = TextFault("The publisher id", d.publisherId, kIsoLongIdentifierSize, false)).empty())
        return fault;
    if (d.volumeCount < 1 || d.volumeNumber < 1 || d.volumeNumber > d.volumeCount)
        return "The disc is volume " + Number(d.volumeNumber) + " of " + Number(d.volumeCount) + ".";
    if (d.restriction > kMaxRestriction)
        return "The restriction category is " + Number(d.restriction) + "; it must be 0 to 3.";
    if (!IsValidIsoDate(d.created))
        return "The creation date is not a date between the years 1900 and 2155.";
    return {};
}

std::string SequenceFault(const VideoCdDisc& d)
{
    if (d.sequenceItems.empty())
        return "A Video CD needs at least one MPEG track.";
    if (d.sequenceItems.size() > kMaxMpegTracks)
        return "The disc has " + Number(d.sequenceItems.size()) + " MPEG tracks; a Video CD holds at most " +
               Number(kMaxMpegTracks) + ".";
    size_t entries = 0;
    for (size_t t = 0; t < d.sequenceItems.size(); ++t) {
        const VideoCdSequenceItem& s = d.sequenceItems[t];
        const std::string track = "MPEG track " + Number(t + 1);
        if (s.packs.empty() || s.packs.size() % kForm2DataSize != 0)
            return track + " is not a whole number of 2324-byte packs.";
        const size_t packs = s.packs.size() / kForm2DataSize;
        for (size_t k = 0; k < packs; ++k)
            if (!IsMpegPack(s.packs.data() + k * kForm2DataSize))
                return track + ": pack " + Number(k) + " is not an MPEG pack.";
        for (size_t k = 0; k < s.extraEntryPacks.size(); ++k)
            if (s.extraEntryPacks[k] >= packs || (k > 0 && s.extraEntryPacks[k] <= s.extraEntryPacks[k - 1]))
                return track + ": its entry points must be ascending packs of the track.";
        if (1 + s.extraEntryPacks.size() > kMaxIndexPointsPerTrack)
            return track + " has more than " + Number(kMaxIndexPointsPerTrack) + " entry points.";
        entries += 1 + s.extraEntryPacks.size();
    }
    if (entries > kMaxEntries)
        return "The disc has " + Number(entries) + " entry points; a Video CD holds at most " + Number(kMaxEntries) +
               ".";
    return {};
}

std::string SegmentFault(const VideoCdDisc& d)
{
    size_t segments = 0;
    for (size_t i = 0; i < d.segmentItems.size(); ++i) {
        const VideoCdSegmentItem& item = d.segmentItems[i];
        if (item.segments < 1 || !item.makePacks)
            return "Segment item " + Number(i + 1) + " takes no segment or has nothing to make its packs.";
        segments += item.segments;
        if (segments > kMaxSegments)
            break;
    }
    if (segments > kMaxSegments)
        return "The segment items need more than " + Number(kMaxSegments) + " segments, the most a Video CD holds.";
    return {};
}

std::string ReferenceFault(const VideoCdDisc& d, size_t listIndex, const std::optional<uint32_t>& target)
{
    if (target && *target >= d.lists.size())
        return "List " + Number(listIndex + 1) + " refers to list " + Number(*target + 1) + ", which does not exist.";
    return {};
}

// Number keys run from 1 to 99; a hot spot is a rectangle or nothing.
std::string SelectionFault(const VideoCdDisc& d, size_t i)
{
    const VideoCdList& list = d.lists[i];
    const size_t count = list.selections.size();
    if (list.kind != VideoCdList::Kind::Selection)
        return count || !list.hotSpots.empty() ? "List " + Number(i + 1) + " is not a selection list." : "";
    if (list.baseNumber < kFirstNumberKey || list.baseNumber + count > kLastNumberKey + 1)
        return "List " + Number(i + 1) + " numbers its selections " + Number(list.baseNumber) + " to " +
               Number(list.baseNumber + count - 1) + "; the number keys run from 1 to 99.";
    if (!list.hotSpots.empty() && list.hotSpots.size() != count)
        return "List " + Number(i + 1) + " has " + Number(list.hotSpots.size()) + " hot spots for " + Number(count) +
               " selections.";
    for (const VideoCdHotSpot& spot : list.hotSpots)
        if (!spot.None() && (spot.x1 >= spot.x2 || spot.y1 >= spot.y2))
            return "List " + Number(i + 1) + " has a hot spot that is not a rectangle.";
    std::string fault;
    for (const std::optional<uint32_t>& target : list.selections)
        if (!(fault = ReferenceFault(d, i, target)).empty())
            return fault;
    return {};
}

std::string ListFault(const VideoCdDisc& d)
{
    if (d.lists.empty())
        return "A slideshow disc needs at least one play list.";
    if (d.lists.size() > kMaxListId)
        return "The disc has " + Number(d.lists.size()) + " lists; a Video CD holds at most " + Number(kMaxListId) +
               ".";
    if (d.lists.front().rejected)
        return "List 1, where players start, must not be rejected.";
    for (size_t i = 0; i < d.lists.size(); ++i) {
        const VideoCdList& list = d.lists[i];
        if (list.kind == VideoCdList::Kind::End)
            continue;
        if (list.kind == VideoCdList::Kind::Selection && list.items.size() != 1)
            return "List " + Number(i + 1) + " is a selection list of " + Number(list.items.size()) +
                   " play items; it shows one.";
        if (list.items.empty() || list.items.size() > kMaxPlayItems)
            return "List " + Number(i + 1) + " has " + Number(list.items.size()) + " play items; 1 to " +
                   Number(kMaxPlayItems) + " are allowed.";
        for (const VideoCdPlayItem& item : list.items) {
            const size_t count = item.kind == VideoCdPlayItem::Kind::Segment ? d.segmentItems.size()
                                                                              : d.sequenceItems.size();
            if (item.index >= count)
                return "List " + Number(i + 1) + " plays an item that does not exist.";
        }
        std::string fault;
        for (const std::optional<uint32_t>& target :
             {list.previous, list.next, list.back, list.timeout, list.defaultTarget})
            if (!(fault = ReferenceFault(d, i, target)).empty())
                return fault;
        if (!(fault = SelectionFault(d, i)).empty())
            return fault;
    }
    // PSD_X.VCD's descriptors are never shorter than PSD.VCD's.
    const PsdPlacement placement = PlacePsdLists(d.lists, PsdFile::Extended);
    if (placement.offsets.back() / kPsdOffsetUnit > kLargestPsdOffsetUnits)
        return "The play-back control lists take " + Number(placement.size) + " bytes; a Video CD addresses at most " +
               Number(kLargestPsdOffsetUnits * kPsdOffsetUnit) + ".";
    return {};
}

}  // namespace

std::string VideoCdDiscFault(const VideoCdDisc& disc)
{
    std::string fault;
    if (!(fault = VolumeFault(disc)).empty() || !(fault = SequenceFault(disc)).empty() ||
        !(fault = SegmentFault(disc)).empty() || !(fault = ListFault(disc)).empty())
        return fault;
    return {};
}
