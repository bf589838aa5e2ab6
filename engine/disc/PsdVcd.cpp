#include "PsdVcd.h"

#include "ByteFields.h"

namespace {

constexpr size_t kSectorSize = 2048;

constexpr uint8_t kPlayListType = 0x10;
constexpr uint8_t kSelectionListType = 0x18;
constexpr uint8_t kExtendedSelectionListType = 0x1A;
constexpr uint8_t kEndListType = 0x1F;
constexpr uint16_t kRejectedBit = 0x8000;
constexpr uint16_t kNoLink = 0xFFFF;

constexpr size_t kTypeOffset = 0;

// Play list
constexpr size_t kItemCountOffset = 1;
constexpr size_t kListIdOffset = 2;
constexpr size_t kPreviousOffset = 4;
constexpr size_t kNextOffset = 6;
constexpr size_t kReturnOffset = 8;
constexpr size_t kPlayingTimeOffset = 10;
constexpr size_t kWaitOffset = 12;
constexpr size_t kAutoPauseWaitOffset = 13;
constexpr size_t kItemsOffset = 14;
constexpr size_t kItemSize = 2;
static_assert(kAutoPauseWaitOffset + 1 == kItemsOffset, "a play list's fixed part is 14 bytes");

// Selection list; the flags stay zero on a Video CD.
constexpr size_t kSelectionCountOffset = 2;
constexpr size_t kBaseSelectionOffset = 3;
constexpr size_t kSelListIdOffset = 4;
constexpr size_t kSelPreviousOffset = 6;
constexpr size_t kSelNextOffset = 8;
constexpr size_t kSelReturnOffset = 10;
constexpr size_t kSelDefaultOffset = 12;
constexpr size_t kSelTimeoutOffset = 14;
constexpr size_t kSelWaitOffset = 16;
constexpr size_t kSelLoopOffset = 17;
constexpr size_t kSelItemOffset = 18;
constexpr size_t kSelectionListSize = 20;
constexpr size_t kSelectionSize = 2;
constexpr size_t kAreaSize = 4;
constexpr size_t kKeyAreasSize = 4 * kAreaSize;  // previous, next, return, default
static_assert(kSelItemOffset + kItemSize == kSelectionListSize, "a selection list's fixed part is 20 bytes");
constexpr uint8_t kPlayOnce = 1;
constexpr uint8_t kDelayedKeysBit = 0x80;

constexpr size_t kEndListSize = 8;
static_assert(kEndListSize % kPsdOffsetUnit == 0, "an end list needs no padding");

size_t RoundUpToUnit(size_t n)
{
    return (n + kPsdOffsetUnit - 1) / kPsdOffsetUnit * kPsdOffsetUnit;
}

size_t DescriptorSize(const VideoCdList& list, PsdFile file)
{
    switch (list.kind) {
    case VideoCdList::Kind::End: return kEndListSize;
    case VideoCdList::Kind::Selection: {
        const size_t count = list.selections.size();
        return RoundUpToUnit(kSelectionListSize + kSelectionSize * count +
                             (file == PsdFile::Extended ? kKeyAreasSize + kAreaSize * count : 0));
    }
    case VideoCdList::Kind::Play: break;
    }
    return RoundUpToUnit(kItemsOffset + kItemSize * list.items.size());
}

uint16_t Link(const std::optional<uint32_t>& target, const PsdPlacement& placement)
{
    return target ? static_cast<uint16_t>(placement.offsets[*target] / kPsdOffsetUnit) : kNoLink;
}

uint16_t ItemNumber(const VideoCdPlayItem& item, const std::vector<uint16_t>& segmentItemNumbers)
{
    if (item.kind == VideoCdPlayItem::Kind::Sequence)
        return static_cast<uint16_t>(kFirstTrackItem + item.index);
    return segmentItemNumbers[item.index];
}

uint16_t ListId(size_t index, const VideoCdList& list)
{
    return static_cast<uint16_t>((index + 1) | (list.rejected ? kRejectedBit : 0));
}

void PutPlayList(uint8_t* p, size_t index, const VideoCdList& list, const PsdPlacement& placement,
                 const std::vector<uint16_t>& segmentItemNumbers)
{
    p[kTypeOffset] = kPlayListType;
    p[kItemCountOffset] = static_cast<uint8_t>(list.items.size());
    PutBe16(p + kListIdOffset, ListId(index, list));
    PutBe16(p + kPreviousOffset, Link(list.previous, placement));
    PutBe16(p + kNextOffset, Link(list.next, placement));
    PutBe16(p + kReturnOffset, Link(list.back, placement));
    PutBe16(p + kPlayingTimeOffset, list.playingTime);
    p[kWaitOffset] = list.waitCode;
    p[kAutoPauseWaitOffset] = list.autoPauseWaitCode;
    for (size_t k = 0; k < list.items.size(); ++k)
        PutBe16(p + kItemsOffset + k * kItemSize, ItemNumber(list.items[k], segmentItemNumbers));
}

void PutSelectionList(uint8_t* p, size_t index, const VideoCdList& list, const PsdPlacement& placement,
                      const std::vector<uint16_t>& segmentItemNumbers, PsdFile file)
{
    const size_t count = list.selections.size();
    p[kTypeOffset] = file == PsdFile::Extended ? kExtendedSelectionListType : kSelectionListType;
    p[kSelectionCountOffset] = static_cast<uint8_t>(count);
    p[kBaseSelectionOffset] = list.baseNumber;
    PutBe16(p + kSelListIdOffset, ListId(index, list));
    PutBe16(p + kSelPreviousOffset, Link(list.previous, placement));
    PutBe16(p + kSelNextOffset, Link(list.next, placement));
    PutBe16(p + kSelReturnOffset, Link(list.back, placement));
    PutBe16(p + kSelDefaultOffset, Link(list.defaultTarget, placement));
    PutBe16(p + kSelTimeoutOffset, Link(list.timeout, placement));
    p[kSelWaitOffset] = list.waitCode;
    p[kSelLoopOffset] = static_cast<uint8_t>(kPlayOnce | (list.delayedKeys ? kDelayedKeysBit : 0));
    PutBe16(p + kSelItemOffset, ItemNumber(list.items.front(), segmentItemNumbers));
    uint8_t* selection = p + kSelectionListSize;
    for (size_t i = 0; i < count; ++i)
        PutBe16(selection + i * kSelectionSize, Link(list.selections[i], placement));
    if (file != PsdFile::Extended)
        return;
    // The keys' areas stay zero; then each selection's hot spot.
    uint8_t* area = selection + count * kSelectionSize + kKeyAreasSize;
    for (size_t i = 0; i < list.hotSpots.size() && i < count; ++i, area += kAreaSize) {
        const VideoCdHotSpot& spot = list.hotSpots[i];
        area[0] = spot.x1;
        area[1] = spot.y1;
        area[2] = spot.x2;
        area[3] = spot.y2;
    }
}

}  // namespace

PsdPlacement PlacePsdLists(const std::vector<VideoCdList>& lists, PsdFile file)
{
    PsdPlacement placement;
    size_t offset = 0;
    for (const VideoCdList& list : lists) {
        const size_t size = DescriptorSize(list, file);
        if (offset % kSectorSize + size > kSectorSize)
            offset += kSectorSize - offset % kSectorSize;
        placement.offsets.push_back(static_cast<uint32_t>(offset));
        offset += size;
    }
    placement.size = static_cast<uint32_t>(offset);
    return placement;
}

std::vector<uint8_t> MakePsdVcd(const std::vector<VideoCdList>& lists, const PsdPlacement& placement,
                                const std::vector<uint16_t>& segmentItemNumbers, PsdFile file)
{
    std::vector<uint8_t> psd(placement.size);
    for (size_t i = 0; i < lists.size(); ++i) {
        uint8_t* p = psd.data() + placement.offsets[i];
        switch (lists[i].kind) {
        case VideoCdList::Kind::End: p[kTypeOffset] = kEndListType; break;
        case VideoCdList::Kind::Play: PutPlayList(p, i, lists[i], placement, segmentItemNumbers); break;
        case VideoCdList::Kind::Selection:
            PutSelectionList(p, i, lists[i], placement, segmentItemNumbers, file);
            break;
        }
    }
    return psd;
}
