#include "LotVcd.h"

#include <cassert>

#include "ByteFields.h"

namespace {

constexpr size_t kEntrySize = 2;
constexpr size_t kFirstEntryOffset = 2;  // after the reserved field
static_assert(kFirstEntryOffset + kMaxListId * kEntrySize == kLotVcdSize, "32767 list ids fill the table");

}  // namespace

std::vector<uint8_t> MakeLotVcd(const std::vector<uint16_t>& offsets)
{
    assert(offsets.size() <= kMaxListId);
    std::vector<uint8_t> lot(kLotVcdSize, 0xFF);
    PutBe16(lot.data(), 0);
    for (size_t i = 0; i < offsets.size(); ++i)
        PutBe16(lot.data() + kFirstEntryOffset + i * kEntrySize, offsets[i]);
    return lot;
}
