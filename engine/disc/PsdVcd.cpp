#include "PsdVcd.h"

#include "ByteFields.h"

namespace {

constexpr size_t kSectorSize = 2048;

constexpr uint8_t kPlayListType = 0x10;
constexpr uint8_t kEndListType = 0x1F;
constexpr uint16_t kRejectedBit = 0x8000;
constexpr uint16_t kNoLink = 0xFFFF;

constexpr size_t kTypeOffset = 0;
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
constexpr size_t kEndListSize = 8;
static_assert(kAutoPauseWaitOffset + 1 == kItemsOffset, "a play list's fixed part is 14 bytes");
static_assert(kEndListSize % kPsdOffsetUnit == 0, "an end list needs no padding");

size_t RoundUpToUnit(size_t n)
{
    return (n + kPsdOffsetUnit - 1) / kPsdOffsetUnit * kPsdOffsetUnit;
}

size_t DescriptorSize(const VideoCdList& list)
{
    if (list.kind == VideoCdList::Kind::End)
        return kEndListSize;
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

}  // namespace

PsdPlacement PlacePsdLists(const std::vector<VideoCdList>& lists)
{
    PsdPlacement placement;
    size_t offset = 0;
    for (const VideoCdList& list : lists) {
        const size_t size = DescriptorSize(list);
        if (offset % kSectorSize + size > kSectorSize)
            offset += kSectorSize - offset % kSectorSize;
        placement.offsets.push_back(static_cast<uint32_t>(offset));
        offset += size;
    }
    placement.size = static_cast<uint32_t>(offset);
    return placement;
}

std::vector<uint8_t> MakePsdVcd(const std::vector<VideoCdList>& lists, const PsdPlacement& placement,
                                const std::vector<uint16_t>& segmentItemNumbers)
{
    std::vector<uint8_t> psd(placement.size);
    for (size_t i = 0; i < lists.size(); ++i) {
        const VideoCdList& list = lists[i];
        uint8_t* p = psd.data() + placement.offsets[i];
        if (list.kind == VideoCdList::Kind::End) {
            p[kTypeOffset] = kEndListType;
            continue;
        }
        const uint16_t listId = static_cast<uint16_t>(i + 1);
        p[kTypeOffset] = kPlayListType;
        p[kItemCountOffset] = static_cast<uint8_t>(list.items.size());
        PutBe16(p + kListIdOffset, static_cast<uint16_t>(listId | (list.rejected ? kRejectedBit : 0)));
        PutBe16(p + kPreviousOffset, Link(list.previous, placement));
        PutBe16(p + kNextOffset, Link(list.next, placement));
        PutBe16(p + kReturnOffset, Link(list.back, placement));
        PutBe16(p + kPlayingTimeOffset, list.playingTime);
        p[kWaitOffset] = list.waitCode;
        p[kAutoPauseWaitOffset] = list.autoPauseWaitCode;
        for (size_t k = 0; k < list.items.size(); ++k)
            PutBe16(p + kItemsOffset + k * kItemSize, ItemNumber(list.items[k], segmentItemNumbers));
    }
    return psd;
}
