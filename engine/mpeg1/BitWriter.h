#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// Writes bit fields most significant bit first, as MPEG streams store them.
// Bits collect in a 64-bit accumulator and go to the byte vector 32 at a
// time, so writing a field is a shift and an or.
class BitWriter {
public:
    // Appends the low `width` bits of `value` (width 0..32).
    void Put(uint32_t value, int width)
    {
        m_acc = (m_acc << width) | (value & Mask(width));
        m_accBits += width;
        if (m_accBits >= 32)
            Spill();
    }

    // Zero bits up to the next byte boundary (MPEG's next_start_code()).
    void AlignWithZeros();

    // Aligns, then writes 00 00 01 and the start code's last byte.
    void StartCode(uint8_t code);

    // Appends whole bytes; the writer must be byte aligned.
    void PutBytes(const uint8_t* bytes, size_t count);
    void PutBytes(const std::vector<uint8_t>& bytes) { PutBytes(bytes.data(), bytes.size()); }

    void Reserve(size_t bytes) { m_bytes.reserve(bytes); }

    size_t BitCount() const { return m_bytes.size() * 8 + static_cast<size_t>(m_accBits); }
    bool IsAligned() const { return m_accBits % 8 == 0; }

    // The bytes written; the writer must be byte aligned.
    const std::vector<uint8_t>& Bytes();
    std::vector<uint8_t> TakeBytes();

private:
    static uint64_t Mask(int width) { return (uint64_t{1} << width) - 1; }
    void Spill();
    void Flush();

    std::vector<uint8_t> m_bytes;
    uint64_t m_acc = 0;
    int m_accBits = 0;
};

// Counts the bits a BitWriter would take for the same calls, to size a
// stream without writing it.
class BitCounter {
public:
    void Put(uint32_t, int width) { m_bits += static_cast<size_t>(width); }
    void AlignWithZeros() { m_bits = (m_bits + 7) / 8 * 8; }
    void StartCode(uint8_t)
    {
        AlignWithZeros();
        m_bits += 32;
    }
    size_t BitCount() const { return m_bits; }

private:
    size_t m_bits = 0;
};
