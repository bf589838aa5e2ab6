#pragma once
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "ScsiTransport.h"
#include "SimulatedMedium.h"

// A CD recorder in memory behind the transport seam: it answers the MMC
// commands a disc-at-once burn uses, refuses what a strict drive refuses,
// records what a drive records, and keeps its own clock so that waiting for
// it takes no real time. Faults of real drives and discs can be switched on
// by name, for the tests and for "snapburn burn --device simulated:FAULT".

enum class SimMedium : uint8_t { None, CdrBlank, CdrComplete, CdrwBlank, CdrwComplete, Dvd };

enum class SimFault : uint8_t {
    None,
    NoMedium,           // no disc in the drive
    WrongMedium,        // a DVD
    CompleteCdr,        // a CD-R already written and closed
    SmallDisc,          // a disc too small for any real job (1,000 blocks)
    DvdReader,          // a drive that cannot write CDs at all
    SaoRefused,         // write type 2 (disc-at-once) refused in the write parameters
    CueRefused,         // every cue sheet refused
    RawRefused,         // cue sheets with raw 2352-byte XA blocks refused
    NotReadyStorm,      // a long "becoming ready" after the disc was loaded
    BufferFullStorm,    // WRITEs answered "buffer full" for a long while halfway
    Underrun,           // the host stalls halfway; the drive has no underrun protection
    UnderrunProtected,  // the same stall on a drive with underrun protection
    WriteError,         // a write error halfway
    SyncError,          // SYNCHRONIZE CACHE reports an error although the disc is fine
    TransportError,     // a WRITE halfway never reaches the drive
    BitFlip,            // one recorded sector halfway has a bit flipped
    Busy,               // the drive is busy with an operation of its own at first
};

struct SimulatedDriveSetup {
    SimMedium medium = SimMedium::CdrBlank;
    int32_t capacityBlocks = 359849;  // usable from LBA 0: last possible lead-out 79:59:74
    bool trayOpen = false;
    bool justLoaded = false;  // the disc was just put in: "becoming ready", then "medium changed"
    bool writesCd = true;     // false: a DVD-ROM reader
    bool testWrite = true;    // can simulate a burn
    bool underrunFree = true;  // BUF: can protect against buffer underruns
    uint32_t bufferBytes = 2 * 1024 * 1024;
    std::vector<int> writeSpeeds = {4, 8, 16, 24, 48};  // multiples of 1x = 176 kB/s
    uint32_t maxCueSheetBytes = 3072;
    SimFault fault = SimFault::None;
    // Where the recorded disc is kept from LBA 0, as raw sectors: a file
    // (for whole discs, which do not fit in memory), or memory when empty.
    std::string imageFile;
};

enum class SimDiscState : uint8_t { Blank, Complete, Damaged };

// An accepted WRITE: its first LBA and its number of blocks.
struct SimWrite {
    int32_t lba = 0;
    uint32_t blocks = 0;
};

class SimulatedDrive : public ScsiTransport {
public:
    explicit SimulatedDrive(SimulatedDriveSetup setup = {});
    ~SimulatedDrive() override;
    SimulatedDrive(const SimulatedDrive&) = delete;
    SimulatedDrive& operator=(const SimulatedDrive&) = delete;

    ScsiResult Execute(const ScsiRequest& request) override;
    void Pause(unsigned int milliseconds) override;

    // "underrun", "no-medium", ...: false for a name that is none of FaultNames().
    static bool ParseFault(const std::string& name, SimFault& fault);
    static std::vector<std::string> FaultNames();

    // ---- What the drive saw and did -----------------------------------

    const SimulatedDriveSetup& Setup() const { return setup_; }
    // The last cue sheet the drive accepted, as sent.
    const std::vector<uint8_t>& CueSheet() const { return cueSheet_; }
    // The layout it announced (tracks, index points, lead-out).
    const SimLayout& CueLayout() const { return cueLayout_; }
    const std::vector<SimWrite>& Writes() const { return writes_; }
    SimDiscState DiscState() const { return state_; }
    // A whole burn with Test Write on went through (the disc stayed as it was).
    bool TestWritten() const { return testWritten_; }
    // What the disc holds from LBA 0 as raw 2352-byte sectors: up to the
    // lead-out after a burn, less after one that broke off. Empty when the
    // disc is kept in the setup's image file; false there when it could not
    // be written.
    const std::vector<uint8_t>& Image() const { return image_; }
    bool ImageFileOk() const { return imageFileOk_; }
    // The first track's pregap, -150..-1, as recorded.
    const std::vector<uint8_t>& Pregap() const { return pregap_; }
    // The BIN/CUE sheet of Image() for the last accepted cue sheet's tracks
    // (every track MODE2/2352 with DCP); empty before any.
    std::string CueText(const std::string& binFileName) const;
    // What a strict drive would object to in the host's blocks, though it
    // records them (sub-header copies differ, a raw sector's header...).
    const std::vector<std::string>& Warnings() const { return warnings_; }
    // Why the drive last refused a command for its content or its order.
    const std::string& LastRefusal() const { return lastRefusal_; }
    uint64_t NowMs() const { return now_; }
    uint64_t CommandCount() const { return commands_; }
    void MarkCommands() { mark_ = commands_; }
    uint64_t CommandsSinceMark() const { return commands_ - mark_; }

private:
    struct Check {
        uint8_t key = 0, asc = 0, ascq = 0;
        int progress = -1;
        bool Good() const { return key == 0; }
    };
    enum class Action : uint8_t { None, Blank, Finish };
    // A condition that lasts until a time of the clock: becoming ready,
    // blanking, finishing the disc, the drive's own business.
    struct Busy {
        uint8_t ascq = 0;
        uint64_t start = 0, end = 0;
        bool progress = false;
        Action action = Action::None;
    };
    // A disc-at-once write from its accepted cue sheet to its end.
    struct Session {
        bool active = false;
        bool started = false;  // a block was written
        bool testWrite = false;
        bool bufe = false;
        bool underrun = false;
        uint8_t sessionFormat = 0;
        SimLayout layout;
        int32_t nextLba = 0;
        uint64_t buffered = 0;     // blocks in the drive's buffer
        uint64_t drainCredit = 0;  // block-milliseconds not yet a whole block
        uint64_t drainedTo = 0;    // clock time the buffer was drained up to
        bool faultDone = false;
        uint64_t stormUntil = 0;
    };

    Check Dispatch(const ScsiRequest& r, std::vector<uint8_t>& in);
    Check TestUnitReady(const ScsiRequest& r);
    Check RequestSense(const ScsiRequest& r, std::vector<uint8_t>& in);
    Check Inquiry(const ScsiRequest& r, std::vector<uint8_t>& in);
    Check GetConfiguration(const ScsiRequest& r, std::vector<uint8_t>& in);
    Check ModeSense(const ScsiRequest& r, std::vector<uint8_t>& in);
    Check ModeSelect(const ScsiRequest& r);
    Check ReadDiscInformation(const ScsiRequest& r, std::vector<uint8_t>& in);
    Check ReadTrackInformation(const ScsiRequest& r, std::vector<uint8_t>& in);
    Check ReadToc(const ScsiRequest& r, std::vector<uint8_t>& in);
    Check ReadCapacity(const ScsiRequest& r, std::vector<uint8_t>& in);
    Check GetPerformance(const ScsiRequest& r, std::vector<uint8_t>& in);
    Check SetCdSpeed(const ScsiRequest& r);
    Check SendOpc(const ScsiRequest& r);
    Check SendCueSheet(const ScsiRequest& r);
    Check Write(const ScsiRequest& r);
    Check ReadBufferCapacity(const ScsiRequest& r, std::vector<uint8_t>& in);
    Check SynchronizeCache(const ScsiRequest& r);
    Check Blank(const ScsiRequest& r);
    Check StartStopUnit(const ScsiRequest& r);
    Check PreventAllow(const ScsiRequest& r);
    Check ReadCd(const ScsiRequest& r, std::vector<uint8_t>& in);

    Check Refuse(uint8_t key, uint8_t asc, uint8_t ascq, const std::string& why);
    Check MediumReady() const;
    Check BusySense() const;
    bool BusyNow() const { return now_ < busy_.end; }
    bool HasCd() const;
    bool HasWritableCd() const;
    uint16_t CurrentProfile() const;
    void Advance(uint64_t milliseconds);
    void Drain(uint64_t until);
    void BecomeReady();
    void Finish();
    void Ruin();
    uint64_t BlocksPerSecond() const;
    std::vector<uint8_t> Page2A(bool changeable) const;
    std::vector<uint8_t> Page05(uint8_t control) const;
    void PreRecord(int32_t blocks);
    // The recorded sector at lba >= 0, in memory or in the image file.
    void StoreSector(int32_t lba, const uint8_t* sector);
    void LoadSector(int32_t lba, uint8_t* sector) const;
    void ClearImage();
    bool AtHalfway(int32_t lba, uint32_t count) const;

    SimulatedDriveSetup setup_;
    enum class Kind : uint8_t { None, Cdr, Cdrw, Dvd } kind_ = Kind::None;
    SimDiscState state_ = SimDiscState::Blank;
    bool trayOpen_ = false;
    bool prevent_ = false;
    bool unitAttention_ = false;
    bool testWritten_ = false;
    bool transportFailure_ = false;
    uint8_t discType_ = 0;
    Busy busy_;
    Session session_;
    SimLayout disc_;  // what the TOC shows once the disc is complete
    std::vector<uint8_t> page05_, changeable05_, default05_;
    int writeSpeed_ = 0;  // multiple of 1x
    int readSpeed_ = 0;
    std::vector<uint8_t> cueSheet_;
    SimLayout cueLayout_;
    std::vector<SimWrite> writes_;
    std::vector<uint8_t> image_, pregap_;
    std::FILE* imageFile_ = nullptr;
    bool imageFileOk_ = true;
    std::vector<std::string> warnings_;
    std::string lastRefusal_;
    uint64_t now_ = 0;
    uint64_t commands_ = 0;
    uint64_t mark_ = 0;
};
