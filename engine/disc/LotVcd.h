#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// VCD/LOT.VCD (LSN 152) and its copy EXT/LOT_X.VCD, 32 sectors: the list id
// offset table. Two reserved zero bytes, then for list id 1..32767 the
// PSD offset of that list in 8-byte units (big-endian), 0xFFFF for a list
// id that is unused or whose list is rejected.

constexpr uint32_t kLotVcdLsn = 152;
constexpr uint32_t kLotVcdSectors = 32;
constexpr size_t kLotVcdSize = kLotVcdSectors * 2048;
constexpr size_t kMaxListId = kLotVcdSize / 2 - 1;  // 32767
constexpr uint16_t kNoPsdOffset = 0xFFFF;

// offsets[i]: the entry of list id i + 1.
std::vector<uint8_t> MakeLotVcd(const std::vector<uint16_t>& offsets);
