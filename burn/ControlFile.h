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

// Reads the entries in order. Lines are read 259 bytes at a time; trailing
// LF and then CR characters are removed. The path is the text before the
// first ",", the delay the decimal number between the first and second ",".
// False when the file cannot be opened.
bool ReadControlFile(const std::string& file, std::vector<ControlEntry>& entries);
