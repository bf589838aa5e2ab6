#include "EntriesVcd.h"

#include <cstring>

#include "ByteFields.h"

namespace {

constexpr char kId[] = "ENTRYVCD";
constexpr uint8_t kVersion = 2;
constexpr uint8_t kSystemProfile = 0;

constexpr size_t kVersionOffset = 0x008;
constexpr size_t kProfileOffset = 0x009;
constexpr size_t kCountOffset = 0x00A;
constexpr size_t kEntriesOffset = 0x00C;
constexpr size_t kEntrySize = 4;
constexpr size_t kReservedOffset = 0x7DC;
static_assert(kEntriesOffset + kMaxEntries * kEntrySize == kReservedOffset, "500 entries");

}  // namespace

std::vector<uint8_t> MakeEntriesVcd(const std::vector<EntryPoint>& entries)
{
    std::vector<uint8_t> bytes(kEntriesVcdSize);
    uint8_t* p = bytes.data();
    std::memcpy(p, kId, sizeof kId - 1);
    p[kVersionOffset] = kVersion;
    p[kProfileOffset] = kSystemProfile;
    PutBe16(p + kCountOffset, static_cast<uint16_t>(entries.size()));
    uint8_t* entry = p + kEntriesOffset;
    for (const EntryPoint& e : entries) {
        entry[0] = ToBcd(e.track);
        PutBcdMsf(entry + 1, e.lsn);
        entry += kEntrySize;
    }
    return bytes;
}
