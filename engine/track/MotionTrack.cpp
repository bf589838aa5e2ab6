#include "MotionTrack.h"

#include "MotionVideo.h"
#include "SilentAudio.h"
#include "TrackMultiplexer.h"
#include "engine/mpeg1/SystemStream.h"

namespace {

constexpr int64_t kFirstVideoPack = 2;
// The video's buffer starts filling (at the bit rate, as its decoding times
// assume) this long after its first pack: room for the packs of system
// headers and audio that the multiplexer puts between its first packs.
constexpr int64_t kVideoLeadPacks = 2;

}  // namespace

std::vector<uint8_t> MakeMotionTrack(const YCbCrFrame& firstPhoto, bool ntsc, double seconds,
                                     const std::function<bool()>& shouldStop)
{
    auto stop = [&] { return shouldStop && shouldStop(); };
    if (!(seconds >= kMinMotionSeconds && seconds <= kMaxMotionSeconds) || stop())
        return {};
    const int pictures = MotionPicturesFor(ntsc, seconds);
    const MotionVideo video = EncodeMotionVideo(firstPhoto, ntsc, pictures);
    if (video.stream.units.empty() || stop())
        return {};
    const double videoSeconds = static_cast<double>(pictures * MotionFrameTicks(ntsc)) / kSystemClockHz;
    const ElementaryStream audio = MakeSilentAudio(AudioFramesFor(videoSeconds));
    if (stop())
        return {};

    // The sound starts with the first picture shown.
    const int64_t videoOrigin = (kFirstVideoPack + kVideoLeadPacks) * kTrackScrPerPack;
    const int64_t audioOrigin = videoOrigin + video.stream.units.front().pts;
    return MultiplexMotionTrack(TrackInput{&video.stream, videoOrigin}, TrackInput{&audio, audioOrigin});
}
