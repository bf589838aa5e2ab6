#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// VCD/ENTRIES.VCD, at LSN 151, one 2048-byte sector: the entry points of
// the MPEG tracks (a play list refers to entry n as item 99 + n).
//
//   0x000 "ENTRYVCD" | 0x008 version 2 | 0x009 profile 0 | 0x00A count (BE 16)
//   0x00C 500 entries of 4 bytes: track number (BCD), absolute address (BCD MSF)
//   0x7DC reserved, zero

constexpr size_t kEntriesVcdSize = 2048;
constexpr uint32_t kEntriesVcdLsn = 151;
constexpr size_t kMaxEntries = 500;

struct EntryPoint {
    uint8_t track = 2;  // 2..99
    uint32_t lsn = 0;
};

std::vector<uint8_t> MakeEntriesVcd(const std::vector<EntryPoint>& entries);
