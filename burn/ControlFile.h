#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The control file of a burn: one line per photo, "path,delay" and CR LF,
// written anew for every burn and read back into the engine's job. Lines
// starting with ";" are comments; empty lines are ignored.
struct ControlEntry {
    std::string path;
    int64_t delaySeconds = 0;
};

// Writes a line for every photo whose file exists (a non-empty path that
// opens for reading). False when the file cannot be written.
bool WriteControlFile(const std::string& file, const std::vector<std::string>& paths,
                      const std::vector<uint32_t>& delays);

// Reads the entries in order. Trailing LF and then CR characters of a line
// are removed. A final "," is dropped; the delay is the decimal number after
// the last ",", the path all before it (paths may hold commas); a line
// without a comma is a path with delay 0. False, with no entries, when the
// file cannot be opened or holds more than 1,900 photo lines, a line
// longer than 32,768 bytes or a zero byte.
bool ReadControlFile(const std::string& file, std::vector<ControlEntry>& entries);
