#pragma once
#include <memory>
#include <string>

#include "DiscOutput.h"
#include "engine/mmc/DiscAtOnceWriter.h"

// A disc recorded on a CD drive in one pass; see DiscAtOnceWriter. The
// burn's phases and log lines pass through to the program.
class DriveOutput : public DiscOutput {
public:
    DriveOutput(MmcDevice& device, DiscAtOnceSettings settings) : m_device(device), m_settings(settings) {}

    std::string WritingPhase() const override
    {
        return m_settings.testWrite ? "Simulating the burn" : "Writing the disc";
    }
    bool Open(const VideoCdImageWriter& writer, std::time_t when, BurnWork& work, std::string& error) override;
    SectorSink& Sink() override { return *m_writer; }
    bool Close(const VideoCdImageWriter& writer, BurnWork& work, std::string& error) override;
    void Abandon(BurnWork& work) override;
    // The burn broke off after the drive began recording.
    bool Spoiled() const;

private:
    MmcDevice& m_device;
    DiscAtOnceSettings m_settings;
    std::unique_ptr<DiscAtOnceWriter> m_writer;
};
