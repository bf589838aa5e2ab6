#include "PathTable.h"

#include <algorithm>

#include "ByteFields.h"

namespace {

constexpr size_t kNameLengthOffset = 0;
constexpr size_t kExtentOffset = 2;
constexpr size_t kParentOffset = 6;
constexpr size_t kNameOffset = 8;
static_assert(kParentOffset + 2 == kNameOffset, "a record's fixed part is 8 bytes");

size_t NameLength(const PathTableEntry& e)
{
    return e.name.empty() ? 1 : e.name.size();
}

size_t RecordSize(const PathTableEntry& e)
{
    const size_t n = NameLength(e);
    return kNameOffset + n + (n & 1);
}

}  // namespace

uint32_t PathTableSize(const std::vector<PathTableEntry>& entries)
{
    size_t size = 0;
    for (const PathTableEntry& e : entries)
        size += RecordSize(e);
    return static_cast<uint32_t>(size);
}

std::vector<uint8_t> MakePathTable(const std::vector<PathTableEntry>& entries, PathTableOrder order)
{
    std::vector<uint8_t> table(PathTableSize(entries));
    uint8_t* p = table.data();
    for (const PathTableEntry& e : entries) {
        p[kNameLengthOffset] = static_cast<uint8_t>(NameLength(e));
        if (order == PathTableOrder::Little) {
            PutLe32(p + kExtentOffset, e.extent);
            PutLe16(p + kParentOffset, e.parent);
        } else {
            PutBe32(p + kExtentOffset, e.extent);
            PutBe16(p + kParentOffset, e.parent);
        }
        std::copy(e.name.begin(), e.name.end(), p + kNameOffset);
        p += RecordSize(e);
    }
    return table;
}
