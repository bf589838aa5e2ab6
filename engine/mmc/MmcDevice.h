#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "ScsiTransport.h"

// What INQUIRY tells of a drive.
struct DriveIdentity {
    uint8_t deviceType = 0x1F;  // 05h: CD/DVD
    std::string vendor, product, revision;  // trailing blanks removed
};

// The capabilities page (2Ah) as far as a CD recorder needs it.
struct DriveCapabilities {
    bool writesCdR = false, writesCdRw = false, testWrite = false, underrunProtection = false;
    bool canLock = false, locked = false, canEject = false;
    uint32_t bufferBytes = 0;
    uint16_t currentWriteKBs = 0;            // kB/s (1000 bytes)
    std::vector<uint16_t> writeSpeedsKBs;    // from its descriptors, fastest first
};

// GET CONFIGURATION: the current profile (0009h CD-R, 000Ah CD-RW, 0 none)
// and the CD mastering feature, when the drive reports one.
struct DriveConfiguration {
    uint16_t currentProfile = 0;
    bool profileKnown = false;      // false: the drive has no GET CONFIGURATION
    bool writesCdProfiles = false;  // CD-R or CD-RW among its profiles
    bool masteringKnown = false;    // feature 002Eh was reported
    bool sessionAtOnce = false, testWrite = false, underrunProtection = false;
    uint32_t maxCueSheetBytes = 0;
};

// READ DISC INFORMATION.
enum class DiscStatus : uint8_t { Blank = 0, Appendable = 1, Complete = 2, Other = 3 };
struct DiscInformation {
    DiscStatus status = DiscStatus::Other;
    bool erasable = false;
    uint8_t discType = 0xFF;
    int firstTrack = 0, lastTrack = 0;  // in the last session
    // Blocks from LBA 0 to the last possible lead-out; 0 when the drive gives none.
    uint32_t capacityBlocks = 0;
};

// The write parameters page (05h) fields a disc-at-once burn sets.
struct WriteParameters {
    bool testWrite = false;
    bool underrunProtection = false;
};

// The commands a CD recorder sends, each one request to the transport with
// the data it needs; answers are parsed with explicit big-endian reads and
// checked against the length the drive actually sent.
class MmcDevice {
public:
    explicit MmcDevice(ScsiTransport& transport) : m_transport(transport) {}
    ScsiTransport& Transport() { return m_transport; }

    ScsiResult TestUnitReady();
    ScsiResult Inquiry(DriveIdentity& identity);
    ScsiResult GetConfiguration(DriveConfiguration& configuration);
    ScsiResult ReadCapabilities(DriveCapabilities& capabilities);
    // Write speeds from GET PERFORMANCE (type 03h), fastest first.
    ScsiResult ReadWriteSpeeds(std::vector<uint16_t>& speedsKBs);
    ScsiResult ReadDiscInformation(DiscInformation& info);
    // The last possible lead-out from the ATIP, as blocks from LBA 0.
    ScsiResult ReadAtipCapacity(uint32_t& capacityBlocks);
    ScsiResult SetCdSpeed(uint16_t writeKBs);
    // Reads the drive's own page 05h, sets disc-at-once, CD-ROM XA, no
    // multi-session and the given bits, and sends it back.
    ScsiResult SetWriteParameters(const WriteParameters& parameters);
    ScsiResult SendOpcInformation();
    ScsiResult SendCueSheet(const std::vector<uint8_t>& cueSheet);
    ScsiResult Write10(int32_t lba, uint16_t blocks, const uint8_t* data, size_t bytes);
    ScsiResult ReadBufferCapacity(uint32_t& bufferBytes, uint32_t& freeBytes);
    ScsiResult SynchronizeCache(bool immediate);
    // Blanking type 0 (the whole disc) or 1 (minimal), returning at once.
    ScsiResult Blank(int type);
    ScsiResult StartStopUnit(bool loadEject, bool start);
    ScsiResult PreventRemoval(bool prevent);
    // Raw 2352-byte sectors of any type.
    ScsiResult ReadCd(int32_t lba, uint32_t blocks, uint8_t* out);

private:
    ScsiResult Run(std::initializer_list<uint8_t> cdb, DataDirection direction, uint8_t* data, size_t length,
                   unsigned int timeoutSeconds = 30);
    ScsiResult ModeSense(uint8_t page, uint8_t control, std::vector<uint8_t>& pageBytes);

    ScsiTransport& m_transport;
};
