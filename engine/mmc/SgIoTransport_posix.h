#pragma once
#include <cstddef>
#include <memory>
#include <string>
#include <utility>

#include "ScsiTransport.h"

// Commands to a CD drive on Linux through the kernel's SCSI generic
// interface (SG_IO) on its device node, /dev/sr0 or /dev/sg1.
class SgIoTransport : public ScsiTransport {
public:
    // Opens the device for commands; nullptr and a message for the user
    // when it cannot (no such device, no permission, not a SCSI device).
    static std::unique_ptr<SgIoTransport> Open(const std::string& path, std::string& error);
    ~SgIoTransport() override;

    SgIoTransport(const SgIoTransport&) = delete;
    SgIoTransport& operator=(const SgIoTransport&) = delete;

    ScsiResult Execute(const ScsiRequest& request) override;
    void Pause(unsigned int milliseconds) override;

    // The most data one command carries: what every SG_IO driver accepts.
    size_t MaxTransferBytes() const override { return 64 * 1024; }

    const std::string& Path() const { return path_; }

private:
    SgIoTransport(std::string path, int fd) : path_(std::move(path)), fd_(fd) {}

    std::string path_;
    int fd_;
};
