#include "SectorEmitter.h"

#include <cstring>

#include "ByteFields.h"

namespace {

constexpr size_t kBatchSectors = 128;
constexpr size_t kAddressOffset = kSyncSize;  // minute, second, frame: the rest never changes

uint32_t KeyOf(bool form2, Subheader s)
{
    return (form2 ? 0x80000000u : 0) | uint32_t{s.file} << 24 | uint32_t{s.channel} << 16 | uint32_t{s.submode} << 8 |
           s.coding;
}

}  // namespace

SectorEmitter::SectorEmitter(SectorSink& sink, const Progress& progress, uint32_t totalSectors)
    : m_sink(sink), m_progress(progress), m_total(totalSectors), m_batch(kBatchSectors * kRawSectorSize)
{
}

uint8_t* SectorEmitter::NextSlot()
{
    if (m_batched == kBatchSectors && !Flush())
        return nullptr;
    return m_batch.data() + m_batched * kRawSectorSize;
}

bool SectorEmitter::Flush()
{
    if (!m_error.empty())
        return false;
    if (m_batched > 0 && !m_sink.Put(m_batch.data(), m_batched, m_error)) {
        if (m_error.empty())
            m_error = "The image could not be written.";
        return false;
    }
    m_batched = 0;
    return KeepGoing();
}

bool SectorEmitter::KeepGoing()
{
    if (m_progress && !m_progress(m_lsn - static_cast<uint32_t>(m_batched), m_total)) {
        m_cancelled = true;
        m_error = "Writing the image was cancelled.";
        return false;
    }
    return true;
}

bool SectorEmitter::Form1(const uint8_t* data, Subheader subheader)
{
    uint8_t* slot = NextSlot();
    if (!slot)
        return false;
    MakeForm1Sector(slot, m_lsn++, subheader, data);
    ++m_batched;
    return true;
}

bool SectorEmitter::Form2(const uint8_t* data, Subheader subheader)
{
    uint8_t* slot = NextSlot();
    if (!slot)
        return false;
    MakeForm2Sector(slot, m_lsn++, subheader, data);
    ++m_batched;
    return true;
}

const uint8_t* SectorEmitter::ZeroTemplate(bool form2, Subheader subheader)
{
    const uint32_t key = KeyOf(form2, subheader);
    for (const ZeroSector& z : m_zeroSectors)
        if (z.key == key)
            return z.bytes.data();
    static const uint8_t kZeros[kForm2DataSize] = {};
    ZeroSector z{key, std::vector<uint8_t>(kRawSectorSize)};
    if (form2)
        MakeForm2Sector(z.bytes.data(), 0, subheader, kZeros);
    else
        MakeForm1Sector(z.bytes.data(), 0, subheader, kZeros);
    m_zeroSectors.push_back(std::move(z));
    return m_zeroSectors.back().bytes.data();
}

bool SectorEmitter::Zero(bool form2, Subheader subheader, uint32_t count)
{
    const uint8_t* zero = ZeroTemplate(form2, subheader);
    for (uint32_t i = 0; i < count; ++i) {
        uint8_t* slot = NextSlot();
        if (!slot)
            return false;
        std::memcpy(slot, zero, kRawSectorSize);
        PutBcdMsf(slot + kAddressOffset, m_lsn++);
        ++m_batched;
    }
    return true;
}

bool SectorEmitter::ZeroForm1(Subheader subheader, uint32_t count)
{
    return Zero(false, subheader, count);
}

bool SectorEmitter::ZeroForm2(Subheader subheader, uint32_t count)
{
    return Zero(true, subheader, count);
}

bool SectorEmitter::Finish()
{
    return Flush();
}
