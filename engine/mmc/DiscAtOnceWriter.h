#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "MmcDevice.h"
#include "engine/disc/CueSheet.h"
#include "engine/disc/SectorSink.h"

struct DiscAtOnceSettings {
    bool testWrite = false;         // the drive goes through the burn with its laser off
    bool verify = true;             // a real burn is read back and compared
    unsigned int speedMultiple = 0;  // of 1x CD speed; 0: the drive's fastest
};

// What the writer reports while it works, and how it learns of a stop.
struct DiscAtOnceHooks {
    std::function<void(const std::string&)> phase;
    std::function<void(unsigned int)> percent;
    std::function<bool()> stop;
    std::function<void(const std::string&)> log;  // notes on how the drive is used
};

// Records an image of raw 2352-byte XA sectors on a blank CD-R or CD-RW in
// one pass (disc-at-once): Begin checks the drive and the disc, sets the
// write parameters, sends the cue sheet and writes the 150 sectors before
// LBA 0; the image's sectors then go through Put in order; Finish lets the
// drive write the lead-out and, for a real burn, reads the disc back.
// Abandon ends a burn stopped part way as cleanly as the drive allows.
class DiscAtOnceWriter : public SectorSink {
public:
    DiscAtOnceWriter(MmcDevice& device, DiscAtOnceSettings settings, DiscAtOnceHooks hooks);

    bool Begin(const std::vector<CueTrack>& tracks, uint32_t totalSectors, std::string& error);
    bool Put(const uint8_t* sectors, size_t count, std::string& error) override;
    bool Finish(std::string& error);
    void Abandon();

    // The main-data form the drive took: whole sectors, or without sync and header.
    uint8_t Form() const { return m_form; }
    // Abandoned after the drive began recording: the disc is not usable.
    bool Spoiled() const { return m_spoiled; }

private:
    bool WaitUntilReady(const char* what, std::string& error);
    bool CheckDisc(uint32_t totalSectors, std::string& error);
    bool SendCueSheet(const std::vector<CueTrack>& tracks, uint32_t totalSectors, std::string& error);
    bool WritePregap(std::string& error);
    bool SendPending(std::string& error);
    void WaitForBuffer();
    bool Complete(std::string& error);
    // Lets go of the tray and the drive.
    void Release();
    bool Verify(std::string& error);
    bool Failed(const std::string& what, const ScsiResult& result, std::string& error) const;
    void Phase(const std::string& text) const;

    MmcDevice& m_device;
    DiscAtOnceSettings m_settings;
    DiscAtOnceHooks m_hooks;
    uint8_t m_form = 0;
    size_t m_blocksPerWrite = 0;
    uint32_t m_totalSectors = 0;
    int32_t m_nextLba = 0;
    uint32_t m_pendingBlocks = 0;
    std::vector<uint8_t> m_pending;           // blocks in the drive's form, not sent yet
    std::vector<uint64_t> m_sectorChecks;     // per sector sent, for the read-back
    bool m_removalPrevented = false;
    bool m_locked = false;  // against other programs, where the system has a lock
    bool m_writing = false;                   // the cue sheet is accepted: the disc is being recorded
    bool m_spoiled = false;
};
