#pragma once
#include <memory>
#include <string>

#include "Recorder.h"
#include "engine/mmc/MmcDevice.h"

// A CD writer of the machine, spoken to with MMC commands through a
// transport: its media, speeds, erase and tray, and Video CDs burned on it
// disc-at-once.
class DriveRecorder : public Recorder {
public:
    // A recorder for the drive behind the transport, or none when it is not
    // a drive that can write CD-R or CD-RW (a DVD-ROM reader, say).
    static std::unique_ptr<DriveRecorder> Probe(char driveLetter, std::unique_ptr<ScsiTransport> transport);

    char DriveLetter() const override { return m_driveLetter; }
    std::string Name() const override { return m_name; }
    int DeviceType() const override { return ENGINE_DEVICE_RECORDER; }
    unsigned int SupportedMedia() const override { return m_supportedMedia; }

    bool WriteSpeeds(int mediaType, EngineSpeedList& speeds) const override;
    bool ReadDisc(EngineDiscInfo& disc) const override;
    int ErasingTime(int mode) const override;
    int Erase(int mode) override;
    int EjectLoad(bool eject) override;
    int BurnVideoCd(const EngineVideoCdJob& job, unsigned int flags, unsigned int speed,
                    EngineProgress* progress) override;

private:
    DriveRecorder(char driveLetter, std::string name, unsigned int supportedMedia,
                  std::unique_ptr<ScsiTransport> transport);
    // Ready, or not after a few polls (a disc being loaded).
    bool Ready() const;

    char m_driveLetter;
    std::string m_name;
    unsigned int m_supportedMedia;
    std::unique_ptr<ScsiTransport> m_transport;
    mutable MmcDevice m_device;
};
