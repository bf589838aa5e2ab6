#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// One access unit of an elementary stream: a coded picture (with the
// sequence and group headers before it, and the stuffing after it) or an
// audio frame. Its bytes run from `start` to the next unit's start.
struct AccessUnit {
    size_t start = 0;    // its first byte in the stream
    size_t stampAt = 0;  // the byte a packet must carry to stamp this unit: the picture start code or syncword
    int64_t dts = 0;     // when the decoder takes it out of its buffer, on the 90 kHz clock
    int64_t pts = 0;     // when it is shown or heard
};

// An elementary stream with its access units in stream order. Times count
// from the stream's own origin; the multiplexer moves them onto the SCR.
struct ElementaryStream {
    std::vector<uint8_t> bytes;
    std::vector<AccessUnit> units;

    size_t UnitEnd(size_t unit) const { return unit + 1 < units.size() ? units[unit + 1].start : bytes.size(); }
};
