#pragma once
#include <string>
#include <vector>

#include "engine/include/NeroAPI.h"

// One device the engine can burn on. The image recorder is always there;
// real drives join the list through the same interface.
class Recorder {
public:
    virtual ~Recorder() = default;

    virtual char DriveLetter() const = 0;
    virtual std::string Name() const = 0;
    virtual int DeviceType() const = 0;
    virtual unsigned int SupportedMedia() const = 0;

    // The write speeds for a media type; false when there are none.
    virtual bool WriteSpeeds(int mediaType, EngineSpeedList& speeds) const = 0;
    // The disc in the device; false when it cannot be read.
    virtual bool ReadDisc(EngineDiscInfo& disc) const = 0;
    virtual int ErasingTime(int mode) const = 0;
    virtual int Erase(int mode) = 0;
    virtual int EjectLoad(bool eject) = 0;
    // Burns a Video CD job; returns an ENGINE_BURN_* result.
    virtual int BurnVideoCd(const EngineVideoCdJob& job, unsigned int flags, unsigned int speed,
                            EngineProgress* progress) = 0;
};

// A CD speed list from multiples of 1x in ascending order, as the entry
// points give it: 1x is 150 KB/s; at most ENGINE_MAX_SPEEDS are kept.
inline EngineSpeedList CdSpeedList(const std::vector<int>& multiples)
{
    const int baseKBs = 150;
    EngineSpeedList speeds{};
    speeds.baseKBs = baseKBs;
    for (int m : multiples) {
        if (speeds.count == ENGINE_MAX_SPEEDS)
            break;
        speeds.multiples[speeds.count] = m;
        speeds.speedsKBs[speeds.count] = m * baseKBs;
        ++speeds.count;
    }
    return speeds;
}
