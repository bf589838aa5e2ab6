#include "BitWriter.h"

#include <cassert>

void BitWriter::Spill()
{
    m_accBits -= 32;
    const uint32_t word = static_cast<uint32_t>(m_acc >> m_accBits);
    m_bytes.push_back(static_cast<uint8_t>(word >> 24));
    m_bytes.push_back(static_cast<uint8_t>(word >> 16));
    m_bytes.push_back(static_cast<uint8_t>(word >> 8));
    m_bytes.push_back(static_cast<uint8_t>(word));
    m_acc &= Mask(m_accBits);
}

void BitWriter::Flush()
{
    assert(IsAligned());
    while (m_accBits > 0) {
        m_accBits -= 8;
        m_bytes.push_back(static_cast<uint8_t>(m_acc >> m_accBits));
    }
    m_acc = 0;
}

void BitWriter::AlignWithZeros()
{
    if (m_accBits % 8 != 0)
        Put(0, 8 - m_accBits % 8);
}

void BitWriter::StartCode(uint8_t code)
{
    AlignWithZeros();
    Put(0x000001, 24);  // start code prefix
    Put(code, 8);       // start code value
}

void BitWriter::PutBytes(const uint8_t* bytes, size_t count)
{
    Flush();
    m_bytes.insert(m_bytes.end(), bytes, bytes + count);
}

const std::vector<uint8_t>& BitWriter::Bytes()
{
    Flush();
    return m_bytes;
}

std::vector<uint8_t> BitWriter::TakeBytes()
{
    Flush();
    std::vector<uint8_t> bytes;
    bytes.swap(m_bytes);
    return bytes;
}
