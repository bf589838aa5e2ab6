#pragma once
#include "Recorder.h"

// The recorder that is always there: it "burns" a Video CD into a BIN/CUE
// image in the engine's image folder. Its disc is always a blank,
// writeable CD-R.
class ImageRecorder : public Recorder {
public:
    ImageRecorder(char driveLetter, std::string imageFolder)
        : m_driveLetter(driveLetter), m_strImageFolder(std::move(imageFolder))
    {
    }

    char DriveLetter() const override { return m_driveLetter; }
    // The name says where the images go, so the user finds what was "burnt".
    std::string Name() const override { return "Disc images in " + m_strImageFolder; }
    int DeviceType() const override { return ENGINE_DEVICE_RECORDER; }
    unsigned int SupportedMedia() const override { return ENGINE_MEDIA_CDR | ENGINE_MEDIA_CDRW; }

    bool WriteSpeeds(int mediaType, EngineSpeedList& speeds) const override;
    bool ReadDisc(EngineDiscInfo& disc) const override;
    int ErasingTime(int mode) const override;
    int Erase(int mode) override;
    int EjectLoad(bool eject) override;
    int BurnVideoCd(const EngineVideoCdJob& job, unsigned int flags, unsigned int speed,
                    EngineProgress* progress) override;

private:
    char m_driveLetter;
    std::string m_strImageFolder;
};
