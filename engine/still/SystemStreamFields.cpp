#include "SystemStreamFields.h"

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
