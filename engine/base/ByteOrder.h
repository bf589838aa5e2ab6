#pragma once
#include <cstdint>

// Numbers in files and on disc, read and written byte by byte in the order
// the format names (little-endian, big-endian, or ISO 9660 "both-endian":
// the little-endian copy first, then the big-endian one), so that nothing
// depends on the machine's byte order or the compiler's struct layout.
// Every reader and writer of the engine uses these.

inline uint16_t GetLe16(const uint8_t* p)
{
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

inline uint32_t GetLe32(const uint8_t* p)
{
    return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

inline uint16_t GetBe16(const uint8_t* p)
{
    return static_cast<uint16_t>(p[0] << 8 | p[1]);
}

inline uint32_t GetBe32(const uint8_t* p)
{
    return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | uint32_t{p[3]};
}

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

// Two decimal digits in one byte (0x59 for 59): binary-coded decimal.
inline uint8_t ToBcd(uint32_t value)
{
    return static_cast<uint8_t>((value / 10 % 10) << 4 | value % 10);
}
