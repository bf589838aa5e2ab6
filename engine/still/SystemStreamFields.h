#pragma once
#include <cstdint>

#include "BitWriter.h"

// Fields of an MPEG-1 system stream that the still-item packer and the
// motion-track multiplexer both write.

constexpr uint8_t kPackStartCode = 0xBA;
// 75 sectors of 2352 bytes a second, in units of 50 bytes/s: the 1x CD rate.
constexpr uint32_t kMuxRate = 3528;

// pack_header: the start code, the system clock reference and the mux rate.
void PutPackHeader(BitWriter& out, int64_t scr);

// A 33-bit time stamp after its 4-bit prefix ('0010' PTS alone, '0011' the
// PTS of a PTS+DTS pair, '0001' the DTS).
void PutTimestamp(BitWriter& out, uint32_t prefix, int64_t ts);
