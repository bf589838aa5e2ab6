#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

// The byte-level path to a drive: one SCSI command with its data in or out,
// and what came back. The MMC layer above builds and reads the bytes; the
// transports below only carry them (the Windows pass-through, Linux SG_IO,
// or a simulated drive in memory).

enum class DataDirection : uint8_t { None, In, Out };

struct ScsiRequest {
    std::array<uint8_t, 16> cdb{};
    uint8_t cdbLength = 0;  // 6, 10 or 12
    DataDirection direction = DataDirection::None;
    uint8_t* data = nullptr;  // In: filled by the drive; Out: read by it
    size_t length = 0;        // bytes of data
    unsigned int timeoutSeconds = 30;
};

struct ScsiResult {
    // False when the command never completed (the system refused it, the
    // device went away, the time ran out): transportError holds the
    // system's code and nothing below is valid.
    bool delivered = false;
    uint32_t transportError = 0;
    uint8_t status = 0;  // 00h GOOD, 02h CHECK CONDITION, 08h BUSY
    std::array<uint8_t, 32> sense{};
    uint8_t senseLength = 0;  // bytes of sense data, when status is CHECK CONDITION
    size_t residual = 0;      // bytes of data not transferred

    bool Good() const { return delivered && status == 0; }
};

class ScsiTransport {
public:
    virtual ~ScsiTransport() = default;

    virtual ScsiResult Execute(const ScsiRequest& request) = 0;
    // Waits between polls of a busy drive. A real transport sleeps; the
    // simulated drive moves its own clock on, so tests never wait.
    virtual void Pause(unsigned int milliseconds) = 0;
    // The most data one command may carry.
    virtual size_t MaxTransferBytes() const { return 64 * 1024; }
    // Keeps other programs (a file browser, a player) away from the drive
    // while a disc is written, where the system offers such a lock; false
    // when it does not or another program holds it: the burn goes on.
    virtual bool LockForWriting() { return false; }
    virtual void UnlockAfterWriting() {}
};
