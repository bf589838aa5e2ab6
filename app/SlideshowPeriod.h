#pragma once
#include <cstdint>

// The longest period a window timer takes (USER_TIMER_MAXIMUM).
constexpr uint32_t kMaxTimerPeriodMs = 0x7FFFFFFF;

// How long the slideshow shows a photo of the given delay, in timer
// milliseconds: the delay in seconds times 1000, held at the timer's limit
// (about 24.8 days) instead of wrapping to a short period.
uint32_t SlideshowPeriodMs(uint32_t delaySeconds);
