#include "VideoCdWait.h"

#include <cmath>

namespace {

constexpr int kSecondsInOneStepRange = 60;  // codes 0..60 count seconds
constexpr int kLongStep = 10;               // codes 61..254 count 10 s steps
constexpr double kLongestFiniteSeconds = 2000;

double Round(double value, WaitRounding rounding)
{
    const double down = std::floor(value);
    const double fraction = value - down;
    if (fraction > 0.5)
        return down + 1;
    if (fraction < 0.5)
        return down;
    if (rounding == WaitRounding::HalfUp)
        return down + 1;
    return std::fmod(down, 2) == 0 ? down : down + 1;
}

}  // namespace

uint8_t WaitCodeForSeconds(double seconds, WaitRounding rounding)
{
    if (std::isnan(seconds) || seconds < 0 || std::isinf(seconds))
        return kWaitForever;
    if (seconds > kLongestFiniteSeconds)
        return kLongestFiniteWait;
    if (seconds <= kSecondsInOneStepRange)
        return static_cast<uint8_t>(Round(seconds, rounding));
    const double steps = Round((seconds - kSecondsInOneStepRange) / kLongStep, rounding);
    return static_cast<uint8_t>(kSecondsInOneStepRange + steps);
}

int WaitSecondsForCode(uint8_t code)
{
    if (code == kWaitForever)
        return -1;
    if (code <= kSecondsInOneStepRange)
        return code;
    return kSecondsInOneStepRange + (code - kSecondsInOneStepRange) * kLongStep;
}
