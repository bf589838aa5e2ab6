#include "SystemStream.h"

namespace {

constexpr uint8_t kPackStartCode = 0xBA;
constexpr uint8_t kEndCode = 0xB9;
constexpr uint8_t kSystemHeaderStartCode = 0xBB;
constexpr uint8_t kPaddingStreamId = 0xBE;

}  // namespace

void PutTimestamp(BitWriter& out, uint32_t prefix, int64_t ts)
{
    out.Put(prefix, 4);                                      // '0010', '0011' or '0001'
    out.Put(static_cast<uint32_t>(ts >> 30) & 0x7, 3);       // timestamp [32..30]
    out.Put(1, 1);                                           // marker_bit
    out.Put(static_cast<uint32_t>(ts >> 15) & 0x7FFF, 15);   // timestamp [29..15]
    out.Put(1, 1);                                           // marker_bit
    out.Put(static_cast<uint32_t>(ts) & 0x7FFF, 15);         // timestamp [14..0]
    out.Put(1, 1);                                           // marker_bit
}

void PutPackHeader(BitWriter& out, int64_t scr)
{
    out.StartCode(kPackStartCode);                           // pack_start_code
    out.Put(0x2, 4);                                         // '0010'
    out.Put(static_cast<uint32_t>(scr >> 30) & 0x7, 3);      // system_clock_reference [32..30]
    out.Put(1, 1);                                           // marker_bit
    out.Put(static_cast<uint32_t>(scr >> 15) & 0x7FFF, 15);  // system_clock_reference [29..15]
    out.Put(1, 1);                                           // marker_bit
    out.Put(static_cast<uint32_t>(scr) & 0x7FFF, 15);        // system_clock_reference [14..0]
    out.Put(1, 1);                                           // marker_bit
    out.Put(1, 1);                                           // marker_bit
    out.Put(kMuxRate, 22);                                   // mux_rate
    out.Put(1, 1);                                           // marker_bit
}

void PutSystemHeader(BitWriter& out, const SystemHeader& h)
{
    out.StartCode(kSystemHeaderStartCode);                           // system_header_start_code
    out.Put(static_cast<uint32_t>(6 + 3 * h.streams.size()), 16);   // header_length
    out.Put(1, 1);                                                   // marker_bit
    out.Put(kMuxRate, 22);                                           // rate_bound
    out.Put(1, 1);                                                   // marker_bit
    out.Put(static_cast<uint32_t>(h.audioBound), 6);                // audio_bound
    out.Put(0, 1);                                                   // fixed_flag
    out.Put(h.constrainedParameters ? 1 : 0, 1);                    // CSPS_flag
    out.Put(1, 1);                                                   // system_audio_lock_flag
    out.Put(1, 1);                                                   // system_video_lock_flag
    out.Put(1, 1);                                                   // marker_bit
    out.Put(static_cast<uint32_t>(h.videoBound), 5);                // video_bound
    out.Put(0xFF, 8);                                                // reserved_byte
    for (const StreamBound& s : h.streams) {
        out.Put(s.id, 8);                                            // stream_id
        out.Put(0x3, 2);                                             // '11'
        out.Put(s.scale1024 ? 1 : 0, 1);                             // STD_buffer_bound_scale
        out.Put(s.bufferUnits, 13);                                  // STD_buffer_size_bound
    }
}

void PutPaddingPacket(BitWriter& out, size_t bytes, uint8_t firstByte)
{
    const size_t length = bytes - kPacketHeaderBytes;
    out.StartCode(kPaddingStreamId);                 // packet_start_code_prefix, stream_id: padding
    out.Put(static_cast<uint32_t>(length), 16);      // packet_length
    for (size_t i = 0; i < length; ++i)
        out.Put(i == 0 ? firstByte : 0xFF, 8);       // padding_byte
}

void PutEndCode(BitWriter& out)
{
    out.StartCode(kEndCode);  // ISO_11172_end_code
}
