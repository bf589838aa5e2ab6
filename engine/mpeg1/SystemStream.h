#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "BitWriter.h"

// The MPEG-1 system stream (ISO/IEC 11172-1) as Video CD items and tracks
// carry it: packs of kPackSize bytes, one per Form 2 sector, read at the
// 1x CD rate. The still-item packer and the motion-track multiplexer write
// their packs with these pieces.

constexpr int64_t kSystemClockHz = 90000;  // time stamps and the system clock count this
constexpr size_t kPackSize = 2324;
// 75 sectors of 2352 bytes a second, in units of 50 bytes/s: the 1x CD rate.
constexpr uint32_t kMuxRate = 3528;

constexpr size_t kPackHeaderBytes = 12;
constexpr size_t kPacketHeaderBytes = 6;  // start code, stream id, packet_length
constexpr size_t kEndCodeBytes = 4;
// Gaps shorter than this after a packet are stuffing bytes in its header
// (at most 16 are allowed) rather than a padding packet.
constexpr size_t kMinPaddingPacket = 10;

// pack_header: the start code, the system clock reference and the mux rate.
void PutPackHeader(BitWriter& out, int64_t scr);

// A 33-bit time stamp after its 4-bit prefix ('0010' PTS alone, '0011' the
// PTS of a PTS+DTS pair, '0001' the DTS).
void PutTimestamp(BitWriter& out, uint32_t prefix, int64_t ts);

// One elementary stream as a system header announces it.
struct StreamBound {
    uint8_t id = 0;
    bool scale1024 = true;   // STD buffer size in 1024-byte units (video); otherwise 128 (audio)
    uint32_t bufferUnits = 0;
};

struct SystemHeader {
    int audioBound = 0;
    int videoBound = 0;
    bool constrainedParameters = false;  // CSPS_flag
    std::vector<StreamBound> streams;
};
void PutSystemHeader(BitWriter& out, const SystemHeader& header);

// A padding packet of `bytes` bytes in all, header included: `firstByte`,
// then 0xFF.
void PutPaddingPacket(BitWriter& out, size_t bytes, uint8_t firstByte = 0xFF);

// ISO_11172_end_code.
void PutEndCode(BitWriter& out);
