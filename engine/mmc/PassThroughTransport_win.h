#pragma once
#include <cstddef>
#include <memory>
#include <string>

#include "ScsiTransport.h"

// Commands to a CD drive on Windows: SCSI pass-through on the drive's
// letter (\\.\E:). The handle needs read and write access, because the
// system only passes SCSI commands through on such a handle.
class PassThroughTransport : public ScsiTransport {
public:
    // Opens the drive behind a letter; nullptr and a message for the user
    // when the system refuses (no such drive, no rights, in use).
    static std::unique_ptr<PassThroughTransport> Open(char letter, std::string& error);
    ~PassThroughTransport() override;

    PassThroughTransport(const PassThroughTransport&) = delete;
    PassThroughTransport& operator=(const PassThroughTransport&) = delete;

    ScsiResult Execute(const ScsiRequest& request) override;
    void Pause(unsigned int milliseconds) override;

    // The most data one command may carry on this drive's adapter, at most
    // 64 KiB: writes are split into blocks that fit.
    size_t MaxTransferBytes() const override { return maxTransfer_; }

    // The system's exclusive lock of the drive, owned by "Snapdisc"; it
    // also ends when the transport is destroyed.
    bool LockForWriting() override;
    void UnlockAfterWriting() override;
    bool LockedForWriting() const { return locked_; }

    char Letter() const { return letter_; }

private:
    PassThroughTransport(char letter, void* handle);
    bool Reopen();
    bool SendLock();
    bool SendUnlock();
    void* AlignedBuffer(size_t length);

    char letter_;
    void* handle_;
    size_t maxTransfer_ = 64 * 1024;
    bool locked_ = false;
    void* buffer_ = nullptr;  // page-aligned, for any adapter's alignment
    size_t bufferSize_ = 0;
};
