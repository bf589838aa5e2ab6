#include "CueSheet.h"

#include <cassert>
#include <cstdio>

// FILE "x.bin" BINARY
//   TRACK 01 MODE2/2352
//     FLAGS DCP
//     INDEX 01 00:00:00
//   TRACK 02 MODE2/2352
//     FLAGS DCP
//     INDEX 00 00:09:33
//     INDEX 01 00:11:33

namespace {

constexpr uint32_t kFramesPerSecond = 75;
constexpr uint32_t kSecondsPerMinute = 60;
[[maybe_unused]] constexpr int kMaxNumber = 99;  // tracks and index points are two digits; read by asserts only
constexpr const char* kLineEnd = "\r\n";

std::string TwoDigits(int value)
{
    char text[16];
    std::snprintf(text, sizeof text, "%02d", value);
    return text;
}

// mm:ss:ff, counted from the start of the BIN.
std::string Msf(uint32_t lsn)
{
    char text[32];
    std::snprintf(text, sizeof text, "%02u:%02u:%02u", static_cast<unsigned>(lsn / kFramesPerSecond / kSecondsPerMinute),
                  static_cast<unsigned>(lsn / kFramesPerSecond % kSecondsPerMinute),
                  static_cast<unsigned>(lsn % kFramesPerSecond));
    return text;
}

std::string IndexLine(int number, uint32_t lsn)
{
    assert(number >= 0 && number <= kMaxNumber);
    return "    INDEX " + TwoDigits(number) + " " + Msf(lsn) + kLineEnd;
}

}  // namespace

std::string MakeCueSheet(const std::string& binFileName, const std::vector<CueTrack>& tracks)
{
    std::string cue = "FILE \"" + binFileName + "\" BINARY" + kLineEnd;
    for (const CueTrack& track : tracks) {
        assert(track.number >= 1 && track.number <= kMaxNumber);
        cue += "  TRACK " + TwoDigits(track.number) + " MODE2/2352" + kLineEnd;
        cue += std::string("    FLAGS DCP") + kLineEnd;
        if (track.pregapStart)
            cue += IndexLine(0, *track.pregapStart);
        for (size_t i = 0; i < track.indexStarts.size(); ++i)
            cue += IndexLine(static_cast<int>(i) + 1, track.indexStarts[i]);
    }
    return cue;
}
