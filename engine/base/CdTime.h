#pragma once
#include <cstdint>
#include <string>

// A length of CD (75 sectors a second) as a user reads it, rounded up:
// seconds below a minute, whole minutes above.
inline std::string CdDurationText(uint32_t sectors)
{
    const uint32_t seconds = (sectors + 74) / 75;
    if (seconds < 60)
        return std::to_string(seconds) + (seconds == 1 ? " second" : " seconds");
    const uint32_t minutes = (seconds + 59) / 60;
    return std::to_string(minutes) + (minutes == 1 ? " minute" : " minutes");
}
