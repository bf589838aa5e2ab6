#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "Sector.h"
#include "engine/base/ByteOrder.h"

// Field writers for on-disc records, beside the byte-order helpers.

// Text in a field of fieldSize bytes, the rest filled with pad; text must fit.
inline void PutPadded(uint8_t* p, size_t fieldSize, const std::string& text, uint8_t pad = ' ')
{
    std::memset(p, pad, fieldSize);
    std::memcpy(p, text.data(), text.size() < fieldSize ? text.size() : fieldSize);
}

// Minute, second, frame as BCD of the absolute address of lsn (LSN + 150),
// as INFO.VCD and ENTRIES.VCD store addresses.
inline void PutBcdMsf(uint8_t* p, uint32_t lsn)
{
    const uint32_t lba = lsn + kLsnToLba;
    p[0] = ToBcd(lba / (60 * 75));
    p[1] = ToBcd(lba / 75 % 60);
    p[2] = ToBcd(lba % 75);
}
