#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// Where a disc image's raw sectors go (2352 bytes each, in LSN order from
// 0): an image file, memory, a recorder.
class SectorSink {
public:
    virtual ~SectorSink() = default;
    // Takes the next count sectors. False stops the write; error says why.
    virtual bool Put(const uint8_t* sectors, size_t count, std::string& error) = 0;
};
