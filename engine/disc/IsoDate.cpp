#include "IsoDate.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr int kRecordingYearBase = 1900;
constexpr int kLastRecordingYear = kRecordingYearBase + 255;
constexpr int kDateDigits = 16;

bool InRange(int value, int low, int high)
{
    return value >= low && value <= high;
}

}  // namespace

bool IsValidIsoDate(const IsoDateTime& d)
{
    return InRange(d.year, kRecordingYearBase, kLastRecordingYear) && InRange(d.month, 1, 12) &&
           InRange(d.day, 1, 31) && InRange(d.hour, 0, 23) && InRange(d.minute, 0, 59) &&
           InRange(d.second, 0, 59) && InRange(d.gmtOffsetQuarterHours, -48, 52);
}

void PutIsoRecordingDate(uint8_t* p, const IsoDateTime& d)
{
    p[0] = static_cast<uint8_t>(d.year - kRecordingYearBase);
    p[1] = static_cast<uint8_t>(d.month);
    p[2] = static_cast<uint8_t>(d.day);
    p[3] = static_cast<uint8_t>(d.hour);
    p[4] = static_cast<uint8_t>(d.minute);
    p[5] = static_cast<uint8_t>(d.second);
    p[6] = static_cast<uint8_t>(static_cast<int8_t>(d.gmtOffsetQuarterHours));
}

void PutIsoVolumeDate(uint8_t* p, const IsoDateTime& d)
{
    char digits[kDateDigits + 1];
    std::snprintf(digits, sizeof digits, "%04d%02d%02d%02d%02d%02d00", d.year, d.month, d.day, d.hour, d.minute,
                  d.second);
    std::memcpy(p, digits, kDateDigits);
    p[kDateDigits] = static_cast<uint8_t>(static_cast<int8_t>(d.gmtOffsetQuarterHours));
}

void PutIsoBlankVolumeDate(uint8_t* p)
{
    std::memset(p, '0', kDateDigits);
    p[kDateDigits] = 0;
}
