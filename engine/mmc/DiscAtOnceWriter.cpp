#include "DiscAtOnceWriter.h"

#include <algorithm>
#include <cstring>

#include "MmcCueSheet.h"
#include "SenseData.h"
#include "engine/base/ByteOrder.h"
#include "engine/base/CdTime.h"
#include "engine/disc/Sector.h"

namespace {

constexpr size_t kRawSector = 2352;
constexpr int32_t kFirstPregapLba = -150;
constexpr uint32_t kCdKBsPerSpeed = 177;  // 1x = 176.4 kB/s; drives round down, so a little more
constexpr unsigned int kReadyPollMs = 500;
constexpr unsigned int kReadyLimitMs = 60 * 1000;         // a disc just loaded
constexpr unsigned int kBufferFullPauseMs = 40;
constexpr unsigned int kBufferFullLimitMs = 120 * 1000;   // a drive that never takes data again
constexpr unsigned int kFinishPollMs = 1000;
constexpr unsigned int kDrainPollMs = 500;
constexpr unsigned int kDrainLimitMs = 5 * 60 * 1000;  // a full buffer at the slowest speed, with room
constexpr unsigned int kFinishLimitMs = 30 * 60 * 1000;   // lead-out at the slowest speed, with room
constexpr int kUnitAttentionRetries = 5;

// A check of a whole sector for the read-back: its CRC (every error of up
// to 32 bits in a row is found) and a second, independent hash.
uint64_t SectorCheck(const uint8_t* sector)
{
    uint32_t fnv = 2166136261u;
    for (size_t i = 0; i < kRawSector; ++i)
        fnv = (fnv ^ sector[i]) * 16777619u;
    return uint64_t{ComputeEdc(sector, kRawSector)} << 32 | fnv;
}

// The empty Form 2 sectors a Video CD puts in its pregaps, at an absolute
// address before LBA 0.
void MakePregapSector(uint8_t* out, uint32_t address)
{
    static const uint8_t kEmpty[kForm2DataSize] = {};
    MakeForm2Sector(out, 0, Subheader{0, 0, 0x20, 0}, kEmpty);
    out[12] = ToBcd(address / 75 / 60);
    out[13] = ToBcd(address / 75 % 60);
    out[14] = ToBcd(address % 75);  // the Form 2 EDC does not cover the header
}

bool Busy(const SenseData& sense)
{
    return sense.Is(0x02, 0x04) && sense.ascq != 0x02 && sense.ascq != 0x03;
}

}  // namespace

DiscAtOnceWriter::DiscAtOnceWriter(MmcDevice& device, DiscAtOnceSettings settings, DiscAtOnceHooks hooks)
    : m_device(device), m_settings(settings), m_hooks(std::move(hooks))
{
}

void DiscAtOnceWriter::Phase(const std::string& text) const
{
    if (m_hooks.phase)
        m_hooks.phase(text);
}

bool DiscAtOnceWriter::Failed(const std::string& what, const ScsiResult& result, std::string& error) const
{
    error = what + ": " + DescribeOutcome(result) + ".";
    return false;
}

bool DiscAtOnceWriter::WaitUntilReady(const char* what, std::string& error)
{
    int attentions = 0;
    for (unsigned int waited = 0;;) {
        const ScsiResult result = m_device.TestUnitReady();
        if (result.Good())
            return true;
        const SenseData sense = DecodeSense(result);
        if (result.delivered && sense.key == 0x06 && ++attentions <= kUnitAttentionRetries)
            continue;  // a changed disc or a reset is said once, then the drive answers
        if (!result.delivered || !Busy(sense) || waited >= kReadyLimitMs)
            return Failed(what, result, error);
        if (m_hooks.stop && m_hooks.stop()) {
            error = "The burn was stopped.";
            return false;
        }
        m_device.Transport().Pause(kReadyPollMs);
        waited += kReadyPollMs;
    }
}

bool DiscAtOnceWriter::CheckDisc(uint32_t totalSectors, std::string& error)
{
    DriveConfiguration configuration;
    ScsiResult result = m_device.GetConfiguration(configuration);
    if (!result.delivered)
        return Failed("The recorder did not answer", result, error);
    if (configuration.profileKnown && configuration.currentProfile != 0x0009 &&
        configuration.currentProfile != 0x000A) {
        error = configuration.currentProfile == 0 ? "There is no disc in the recorder."
                                                  : "The disc in the recorder is not a CD-R or CD-RW.";
        return false;
    }
    DiscInformation disc;
    result = m_device.ReadDiscInformation(disc);
    if (!result.Good())
        return Failed("The recorder could not read the disc", result, error);
    if (disc.status != DiscStatus::Blank) {
        error = disc.erasable ? "The CD-RW in the recorder is not blank: erase it first."
                              : "The CD-R in the recorder has been written already: insert a blank CD-R.";
        return false;
    }
    uint32_t capacity = disc.capacityBlocks;
    if (capacity == 0)
        m_device.ReadAtipCapacity(capacity);
    if (capacity != 0 && totalSectors > capacity) {
        error = "The disc would need " + CdDurationText(totalSectors) + "; the disc in the recorder holds " +
                CdDurationText(capacity) + ". Leave out photos or MPEG items.";
        return false;
    }
    return true;
}

bool DiscAtOnceWriter::Begin(const std::vector<CueTrack>& tracks, uint32_t totalSectors, std::string& error)
{
    Phase("Preparing the recorder");
    m_totalSectors = totalSectors;
    if (!WaitUntilReady("The recorder is not ready", error) || !CheckDisc(totalSectors, error))
        return false;
    DriveCapabilities capabilities;
    ScsiResult result = m_device.ReadCapabilities(capabilities);
    if (!result.Good())
        return Failed("The recorder did not tell what it can do", result, error);
    if (m_settings.testWrite && !capabilities.testWrite) {
        error = "This recorder cannot simulate a burn.";
        return false;
    }
    const unsigned int speed = m_settings.speedMultiple ? m_settings.speedMultiple * kCdKBsPerSpeed : 0xFFFF;
    result = m_device.SetCdSpeed(static_cast<uint16_t>(std::min(speed, 0xFFFFu)));
    if (!result.delivered)
        return Failed("The recorder did not answer", result, error);
    if (!result.Good() && m_hooks.log)
        m_hooks.log("The recorder kept its own speed: " + DescribeOutcome(result));
    WriteParameters parameters;
    parameters.testWrite = m_settings.testWrite;
    parameters.underrunProtection = capabilities.underrunProtection;
    result = m_device.SetWriteParameters(parameters);
    if (!result.Good())
        return Failed("The recorder cannot write this disc at once", result, error);
    if (!m_settings.testWrite) {
        // Power calibration; a drive without the command calibrates itself.
        result = m_device.SendOpcInformation();
        if (!result.delivered)
            return Failed("The recorder did not answer", result, error);
    }
    m_removalPrevented = m_device.PreventRemoval(true).Good();
    m_locked = m_device.Transport().LockForWriting();
    if (!SendCueSheet(tracks, totalSectors, error))
        return false;
    m_writing = true;
    m_blocksPerWrite = std::max<size_t>(1, std::min<size_t>(m_device.Transport().MaxTransferBytes(), 64 * 1024) /
                                               BlockBytes(m_form));
    m_pending.reserve(m_blocksPerWrite * BlockBytes(m_form));
    if (m_settings.verify && !m_settings.testWrite)
        m_sectorChecks.reserve(totalSectors);
    Phase(m_settings.testWrite ? "Simulating the burn" : "Writing the disc");
    return WritePregap(error);
}

bool DiscAtOnceWriter::SendCueSheet(const std::vector<CueTrack>& tracks, uint32_t totalSectors, std::string& error)
{
    // Whole sectors first: the drive takes them as they are. A drive that
    // refuses raw XA sectors gets them without sync and header, which it
    // then makes itself.
    ScsiResult result;
    for (uint8_t form : {kFormXa2352, kFormXa2336}) {
        result = m_device.SendCueSheet(MakeMmcCueSheet(tracks, totalSectors, form, true));
        if (result.Good()) {
            m_form = form;
            return true;
        }
        if (!result.delivered || DecodeSense(result).key != 0x05)
            break;
        if (m_hooks.log && form == kFormXa2352)
            m_hooks.log("The recorder refused whole sectors (" + DecodeSense(result).Code() +
                        "); sending them without sync and header");
    }
    return Failed("The recorder refused the layout of the disc", result, error);
}

bool DiscAtOnceWriter::WritePregap(std::string& error)
{
    m_nextLba = kFirstPregapLba;
    uint8_t sector[kRawSector];
    for (int32_t lba = kFirstPregapLba; lba < 0; ++lba) {
        MakePregapSector(sector, static_cast<uint32_t>(lba + 150));
        const uint8_t* from = m_form == kFormXa2352 ? sector : sector + 16;
        m_pending.insert(m_pending.end(), from, from + BlockBytes(m_form));
        if (++m_pendingBlocks == m_blocksPerWrite || lba == -1) {
            if (!SendPending(error))
                return false;
        }
    }
    return true;
}

bool DiscAtOnceWriter::Put(const uint8_t* sectors, size_t count, std::string& error)
{
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* sector = sectors + i * kRawSector;
        if (m_settings.verify && !m_settings.testWrite)
            m_sectorChecks.push_back(SectorCheck(sector));
        const uint8_t* from = m_form == kFormXa2352 ? sector : sector + 16;
        m_pending.insert(m_pending.end(), from, from + BlockBytes(m_form));
        if (++m_pendingBlocks == m_blocksPerWrite && !SendPending(error))
            return false;
    }
    return true;
}

bool DiscAtOnceWriter::SendPending(std::string& error)
{
    if (m_pendingBlocks == 0)
        return true;
    for (unsigned int waited = 0;;) {
        const ScsiResult result = m_device.Write10(m_nextLba, static_cast<uint16_t>(m_pendingBlocks),
                                                   m_pending.data(), m_pending.size());
        if (result.Good())
            break;
        // A full buffer: the drive takes the same blocks once it has written some.
        if (!result.delivered || !DecodeSense(result).Is(0x02, 0x04, 0x08) || waited >= kBufferFullLimitMs)
            return Failed("The recorder could not write the disc at sector " + std::to_string(m_nextLba), result,
                          error);
        if (m_hooks.stop && m_hooks.stop()) {
            error = "The burn was stopped.";
            return false;
        }
        m_device.Transport().Pause(kBufferFullPauseMs);
        waited += kBufferFullPauseMs;
    }
    m_nextLba += static_cast<int32_t>(m_pendingBlocks);
    m_pendingBlocks = 0;
    m_pending.clear();
    return true;
}

bool DiscAtOnceWriter::Finish(std::string& error)
{
    const bool ok = Complete(error);
    Release();
    return ok;
}

void DiscAtOnceWriter::Release()
{
    if (m_removalPrevented && m_device.PreventRemoval(false).Good())
        m_removalPrevented = false;
    if (m_locked) {
        m_device.Transport().UnlockAfterWriting();
        m_locked = false;
    }
}

void DiscAtOnceWriter::WaitForBuffer()
{
    // The drive goes on writing what its buffer holds; the phase shows how
    // much is left, so a long wait here does not look like a hang.
    for (unsigned int waited = 0; waited < kDrainLimitMs; waited += kDrainPollMs) {
        uint32_t size = 0, free = 0;
        if (!m_device.ReadBufferCapacity(size, free).Good() || size == 0 || free >= size)
            return;
        const unsigned int fill = static_cast<unsigned int>(uint64_t{size - free} * 100 / size);
        Phase("Writing the disc: " + std::to_string(fill) + " % of the recorder's buffer left to write");
        m_device.Transport().Pause(kDrainPollMs);
    }
}

bool DiscAtOnceWriter::Complete(std::string& error)
{
    if (!SendPending(error))
        return false;
    if (m_nextLba != static_cast<int32_t>(m_totalSectors)) {
        error = "The burn ended after " + std::to_string(m_nextLba) + " of " + std::to_string(m_totalSectors) +
                " sectors.";
        return false;
    }
    WaitForBuffer();
    Phase(m_settings.testWrite ? "Ending the simulation" : "Writing the lead-out");
    // The drive empties its buffer and writes the lead-out. Some drives
    // report an error here although the disc is fine: the disc's state
    // after it decides.
    const ScsiResult synced = m_device.SynchronizeCache(true);
    if (!synced.delivered)
        return Failed("The recorder did not answer", synced, error);
    for (unsigned int waited = 0;;) {
        const ScsiResult ready = m_device.TestUnitReady();
        const SenseData sense = DecodeSense(ready);
        if (ready.Good() || !ready.delivered || !Busy(sense) || waited >= kFinishLimitMs)
            break;
        m_device.Transport().Pause(kFinishPollMs);
        waited += kFinishPollMs;
    }
    m_device.SynchronizeCache(false);  // for drives that never come back ready on their own
    m_writing = false;
    DiscInformation disc;
    const ScsiResult read = m_device.ReadDiscInformation(disc);
    const DiscStatus expected = m_settings.testWrite ? DiscStatus::Blank : DiscStatus::Complete;
    if (!read.Good() || disc.status != expected) {
        if (!synced.Good())
            return Failed("The recorder could not close the disc", synced, error);
        error = m_settings.testWrite ? "The recorder left the disc written after a simulation."
                                     : "The recorder did not close the disc.";
        return false;
    }
    if (!synced.Good() && m_hooks.log)
        m_hooks.log("The recorder reported " + DescribeOutcome(synced) + " while closing the disc; the disc is complete");
    return m_settings.testWrite || !m_settings.verify || Verify(error);
}

bool DiscAtOnceWriter::Verify(std::string& error)
{
    Phase("Verifying the disc");
    if (!WaitUntilReady("The recorder is not ready to read the disc back", error))
        return false;
    const uint32_t perRead =
        static_cast<uint32_t>(std::max<size_t>(1, std::min<size_t>(m_device.Transport().MaxTransferBytes(), 64 * 1024) /
                                                      kRawSector));
    std::vector<uint8_t> sectors(size_t{perRead} * kRawSector);
    for (uint32_t lba = 0; lba < m_totalSectors; lba += perRead) {
        if (m_hooks.stop && m_hooks.stop()) {
            error = "The check of the disc was stopped; the disc is written.";
            return false;
        }
        const uint32_t n = std::min(perRead, m_totalSectors - lba);
        const ScsiResult result = m_device.ReadCd(static_cast<int32_t>(lba), n, sectors.data());
        if (!result.Good() || result.residual != 0)
            return Failed("The disc could not be read back at sector " + std::to_string(lba), result, error);
        for (uint32_t i = 0; i < n; ++i) {
            if (SectorCheck(&sectors[size_t{i} * kRawSector]) != m_sectorChecks[lba + i]) {
                error = "The disc differs from what was written, first at sector " + std::to_string(lba + i) + ".";
                return false;
            }
        }
        if (m_hooks.percent)
            m_hooks.percent(static_cast<unsigned int>(uint64_t{lba + n} * 100 / m_totalSectors));
    }
    return true;
}

void DiscAtOnceWriter::Abandon()
{
    if (m_writing) {
        // The drive writes what it holds and closes what it can; the disc
        // is not finished.
        m_device.SynchronizeCache(false);
        m_writing = false;
        m_spoiled = !m_settings.testWrite;
    }
    Release();
}
