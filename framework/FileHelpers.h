#pragma once
#include <cstdint>
#include <string>
#include <vector>

// A path names an existing file when it is not empty and opens for reading.
bool FileExists(const std::string& path);

// The file's length in whole KiB (length >> 10), or 0 when it cannot be
// opened, so that an unreadable file adds nothing to a sum of sizes.
uint64_t FileSizeKB(const std::string& path);

// Writes the bytes as the whole file; false when it cannot be written to
// the end and closed.
bool WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes);
