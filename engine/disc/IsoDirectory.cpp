#include "IsoDirectory.h"

#include <algorithm>
#include <cassert>

#include "ByteFields.h"

namespace {

constexpr size_t kLengthOffset = 0;
constexpr size_t kExtentOffset = 2;
constexpr size_t kDataLengthOffset = 10;
constexpr size_t kDateOffset = 18;
constexpr size_t kFlagsOffset = 25;
constexpr size_t kVolumeSequenceOffset = 28;
constexpr size_t kNameLengthOffset = 32;
constexpr size_t kNameOffset = 33;
static_assert(kNameOffset == kIsoRecordFixedSize, "the name follows the fixed part");
static_assert(kDateOffset + kIsoRecordingDateSize == kFlagsOffset, "the flags follow the date");

constexpr uint8_t kFlagDirectory = 0x02;
constexpr uint16_t kVolumeSequenceNumber = 1;

// "." and ".." are the one-byte names 0x00 and 0x01.
const std::string kSelfName(1, '\0');
const std::string kParentName(1, '\1');

size_t RoundUpToEven(size_t n)
{
    return n + (n & 1);
}

size_t NameLength(const std::string& name)
{
    return name.empty() ? 1 : name.size();
}

// The record without its XA field; returns the offset where that field goes.
size_t PutBaseRecord(uint8_t* p, const IsoDirectoryEntry& e, const IsoDateTime& date)
{
    const size_t nameLength = NameLength(e.name);
    PutBoth32(p + kExtentOffset, e.extent);
    PutBoth32(p + kDataLengthOffset, e.size);
    PutIsoRecordingDate(p + kDateOffset, date);
    p[kFlagsOffset] = e.directory ? kFlagDirectory : 0;
    PutBoth16(p + kVolumeSequenceOffset, kVolumeSequenceNumber);
    p[kNameLengthOffset] = static_cast<uint8_t>(nameLength);
    std::copy(e.name.begin(), e.name.end(), p + kNameOffset);
    return RoundUpToEven(kNameOffset + nameLength);
}

void PutXaField(uint8_t* p, const IsoDirectoryEntry& e)
{
    PutBe16(p + 0, 0);  // group id
    PutBe16(p + 2, 0);  // user id
    PutBe16(p + 4, e.xaAttributes);
    p[6] = 'X';
    p[7] = 'A';
    p[8] = e.xaFileNumber;
}

void PutRecord(uint8_t* p, const IsoDirectoryEntry& e, const IsoDateTime& date)
{
    const size_t xaOffset = PutBaseRecord(p, e, date);
    PutXaField(p + xaOffset, e);
    p[kLengthOffset] = static_cast<uint8_t>(IsoDirectoryRecordSize(NameLength(e.name)));
}

IsoDirectoryEntry Renamed(IsoDirectoryEntry e, const std::string& name)
{
    e.name = name;
    return e;
}

// Calls place(record, offset) for "." , ".." and the entries, each at the
// offset where it goes; returns the directory's size in sectors.
template <typename Place>
uint32_t LayOut(const std::vector<IsoDirectoryEntry>& records, Place place)
{
    size_t offset = 0;
    for (const IsoDirectoryEntry& e : records) {
        const size_t size = IsoDirectoryRecordSize(NameLength(e.name));
        if (offset % kIsoBlockSize + size > kIsoBlockSize)
            offset += kIsoBlockSize - offset % kIsoBlockSize;
        place(e, offset);
        offset += size;
    }
    return static_cast<uint32_t>((offset + kIsoBlockSize - 1) / kIsoBlockSize);
}

std::vector<IsoDirectoryEntry> WithDots(const IsoDirectoryEntry& self, const IsoDirectoryEntry& parent,
                                        std::vector<IsoDirectoryEntry> entries)
{
    std::sort(entries.begin(), entries.end(),
              [](const IsoDirectoryEntry& a, const IsoDirectoryEntry& b) { return a.name < b.name; });
    entries.insert(entries.begin(), {Renamed(self, kSelfName), Renamed(parent, kParentName)});
    return entries;
}

}  // namespace

uint32_t IsoDirectorySectors(const std::vector<IsoDirectoryEntry>& entries)
{
    return LayOut(WithDots({}, {}, entries), [](const IsoDirectoryEntry&, size_t) {});
}

std::vector<uint8_t> MakeIsoDirectory(const IsoDirectoryEntry& self, const IsoDirectoryEntry& parent,
                                      std::vector<IsoDirectoryEntry> entries, const IsoDateTime& date)
{
    const std::vector<IsoDirectoryEntry> records = WithDots(self, parent, std::move(entries));
    std::vector<uint8_t> bytes(LayOut(records, [](const IsoDirectoryEntry&, size_t) {}) * kIsoBlockSize);
    LayOut(records, [&](const IsoDirectoryEntry& e, size_t offset) { PutRecord(bytes.data() + offset, e, date); });
    return bytes;
}

void PutIsoRootRecord(uint8_t* p, const IsoDirectoryEntry& root, const IsoDateTime& date)
{
    const size_t end = PutBaseRecord(p, Renamed(root, kSelfName), date);
    assert(end == kIsoRootRecordSize);
    p[kLengthOffset] = static_cast<uint8_t>(end);
}
