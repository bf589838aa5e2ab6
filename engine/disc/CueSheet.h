#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// One track of a BIN/CUE image of raw Mode 2 sectors. Index points are
// sector numbers counted from the start of the BIN file (LSN: the first
// track's pregap is not stored, so LSN 0 is the BIN's first sector).
struct CueTrack {
    int number = 0;                       // TRACK nn, 1..99
    std::optional<uint32_t> pregapStart;  // INDEX 00: the pregap stored in the BIN; none for track 1
    std::vector<uint32_t> indexStarts;    // INDEX 01 (where the track starts), then entry points INDEX 02, 03...
};

// The CUE sheet for binFileName (written as given in the FILE line), CRLF
// line ends. Every track is MODE2/2352 with the digital copy flag (DCP).
std::string MakeCueSheet(const std::string& binFileName, const std::vector<CueTrack>& tracks);
