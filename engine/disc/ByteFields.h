#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "Sector.h"

// Field writers for on-disc records: every multi-byte number is written
// byte by byte in the order the format names (little-endian, big-endian, or
// ISO 9660 "both-endian": the little-endian copy first, then the big-endian
// one), so nothing depends on the compiler's struct layout.

inline void PutLe16(uint8_t* p, uint16_t value)
{
    p[0] = static_cast<uint8_t>(value);
    p[1] = static_cast<uint8_t>(value >> 8);
}

inline void PutBe16(uint8_t* p, uint16_t value)
{
    p[0] = static_cast<uint8_t>(value >> 8);
    p[1] = static_cast<uint8_t>(value);
}

inline void PutLe32(uint8_t* p, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<uint8_t>(value >> (8 * i));
}

inline void PutBe32(uint8_t* p, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<uint8_t>(value >> (8 * (3 - i)));
}

// 4 bytes: LE then BE.
inline void PutBoth16(uint8_t* p, uint16_t value)
{
    PutLe16(p, value);
    PutBe16(p + 2, value);
}

// 8 bytes: LE then BE.
inline void PutBoth32(uint8_t* p, uint32_t value)
{
    PutLe32(p, value);
    PutBe32(p + 4, value);
}

// Text in a field of fieldSize bytes, the rest filled with pad; text must fit.
inline void PutPadded(uint8_t* p, size_t fieldSize, const std::string& text, uint8_t pad = ' ')
{
    std::memset(p, pad, fieldSize);
    std::memcpy(p, text.data(), text.size() < fieldSize ? text.size() : fieldSize);
}

// Two decimal digits in one byte (0x59 for 59).
inline uint8_t ToBcd(uint32_t value)
{
    return static_cast<uint8_t>((value / 10 % 10) << 4 | value % 10);
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
