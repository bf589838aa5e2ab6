#include "SlideshowPeriod.h"

uint32_t SlideshowPeriodMs(uint32_t delaySeconds)
{
    uint64_t ms = static_cast<uint64_t>(delaySeconds) * 1000;
    return ms > kMaxTimerPeriodMs ? kMaxTimerPeriodMs : static_cast<uint32_t>(ms);
}
