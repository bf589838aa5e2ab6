#pragma once
#include <cstdint>
#include <string>
#include <vector>

// An ISO 9660 path table: one record per directory, the root first, parents
// before their children. A record:
//
//   0 name length | 1 extended attribute length (0) | 2 extent (32)
//   6 parent's number (16, the root is 1) | 8 name, padded to even
//
// The type-L table stores the numbers little-endian, the type-M table
// big-endian.

struct PathTableEntry {
    std::string name;     // empty for the root (stored as one 0x00 byte)
    uint32_t extent = 0;  // the directory's first LSN
    uint16_t parent = 1;  // 1-based number of the parent's record
};

enum class PathTableOrder { Little, Big };

// The table's size in bytes (the volume descriptor records it).
uint32_t PathTableSize(const std::vector<PathTableEntry>& entries);

std::vector<uint8_t> MakePathTable(const std::vector<PathTableEntry>& entries, PathTableOrder order);
