// The disc-image writer fed with small slideshows made from the input:
// 1-4 photos with their delays (sometimes as long as a job can ask for),
// MPEG items, the video system and still options, a still that cannot be
// made, an abort part-way. The image goes to a sink that keeps nothing.
//
// Input, from the front (missing bytes read as 0):
//   flags      bit 0 NTSC, 1 normal resolution only, 2 safe area,
//              3 vcdimager's layout, 4 one still fails, 5 abort,
//              6-7 the number of photos - 1
//   per photo  flags (bit 0 an MPEG item, bit 1 the delay's 32 bits are
//              pause blocks as a job holds them, bit 2 the MPEG item is of
//              the other video system), delay (4 bytes)
//   when       the disc's date, seconds since 1970 (4 bytes)
//   abortAt    sectors written before the abort (4 bytes)
#include <ctime>
#include <vector>

#include "FuzzSupport.h"
#include "engine/slideshow/SlideshowDisc.h"
#include "engine/disc/VideoCdImageWriter.h"
#include "engine/still/StillEncoder.h"
#include "engine/still/StillFramer.h"
#include "engine/still/StillPacker.h"
#include "engine/track/MotionTrack.h"

namespace {

class FrontBytes {
public:
    FrontBytes(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    uint8_t Byte() { return m_pos < m_size ? m_data[m_pos++] : 0; }
    uint32_t U32()
    {
        uint32_t v = 0;
        for (int i = 0; i < 4; ++i)
            v |= uint32_t(Byte()) << (8 * i);
        return v;
    }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
};

// A small photo with something in it: a diagonal gradient.
Image Photo()
{
    Image image;
    image.width = 64;
    image.height = 48;
    image.rgb.resize(size_t(image.width) * image.height * 3);
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            uint8_t* p = image.Row(y) + 3 * x;
            p[0] = uint8_t(x * 4);
            p[1] = uint8_t(y * 5);
            p[2] = uint8_t((x + y) * 2);
        }
    return image;
}

// What a burn makes once per disc or per photo, made once here: the motion
// track of each system, and the still items of each system and resolution.
struct Made {
    std::vector<uint8_t> motion[2];
    std::vector<uint8_t> still[2][2];  // [ntsc][normalOnly]

    Made()
    {
        const Image photo = Photo();
        for (int ntsc = 0; ntsc < 2; ++ntsc) {
            const StillFormat normal{ntsc != 0, false}, high{ntsc != 0, true};
            const YCbCrFrame frame = FrameStill(photo, normal);
            motion[ntsc] = MakeMotionTrack(frame, ntsc != 0, kMinMotionSeconds);
            const std::vector<uint8_t> normalStream = EncodeStillWithinBudget(frame, normal).stream;
            const std::vector<uint8_t> highStream = EncodeStillWithinBudget(FrameStill(photo, high), high).stream;
            still[ntsc][0] = PackStillItem(normalStream, highStream);
            still[ntsc][1] = PackStillItem(normalStream, {});
            FUZZ_CHECK(!motion[ntsc].empty() && !still[ntsc][0].empty() && !still[ntsc][1].empty());
        }
    }
};

const Made& Cached()
{
    static const Made made;
    return made;
}

class CountingSink : public SectorSink {
public:
    bool Put(const uint8_t*, size_t count, std::string&) override
    {
        m_count += count;
        return true;
    }
    size_t Count() const { return m_count; }

private:
    size_t m_count = 0;
};

}  // namespace

FUZZ_TARGET(FuzzSlideshowDisc)
{
    const Made& made = Cached();
    FrontBytes in(data, size);
    const uint8_t flags = in.Byte();
    EngineConfig config;
    config.ntsc = flags & 1;
    config.normalOnly = flags & 2;
    config.safeArea = flags & 4;
    const bool vcdimagerLayout = flags & 8;
    const bool stillFails = flags & 16;
    const bool abort = flags & 32;
    const size_t count = 1 + (flags >> 6);

    std::vector<SlideshowPhoto> photos;
    SlideshowTracks tracks;
    tracks.motionSystem = config.ntsc ? VideoSystem::Ntsc : VideoSystem::Pal;
    for (size_t i = 0; i < count; ++i) {
        const uint8_t photoFlags = in.Byte();
        const uint32_t delay = in.U32();
        // A job holds the pause in blocks of 1/75 s, 32 bits of them.
        const uint32_t blocks = (photoFlags & 2) ? delay : (delay % 60001) * 75;
        SlideshowPhoto photo;
        photo.path = "photo" + std::to_string(i);
        photo.seconds = blocks / 75.0;
        photo.mpeg = photoFlags & 1;
        if (photo.mpeg) {
            const bool ntsc = config.ntsc != ((photoFlags & 4) != 0);
            VideoCdSequenceItem item;
            item.system = ntsc ? VideoSystem::Ntsc : VideoSystem::Pal;
            item.packs = made.motion[ntsc];
            tracks.mpegItems.push_back(std::move(item));
        }
        photos.push_back(photo);
    }
    if (tracks.mpegItems.empty())
        tracks.motionTrack = made.motion[config.ntsc];
    const std::time_t when = static_cast<std::time_t>(in.U32());
    const uint32_t abortAt = in.U32();

    const size_t failing = stillFails ? size_t(abortAt % count) : size_t(-1);
    const std::vector<uint8_t>& packs = made.still[config.ntsc][config.normalOnly];
    bool stillFailed = false;
    VideoCdDisc disc = MakeSlideshowDisc(photos, config, when, std::move(tracks), [&](size_t k) {
        StillItem item;
        if (k == failing) {
            item.error = "photo" + std::to_string(k) + ": the file cannot be opened";
            stillFailed = true;
            return item;
        }
        item.ok = true;
        item.packs = packs;
        return item;
    });
    disc.vcdimagerCompatible = vcdimagerLayout;

    VideoCdImageWriter writer(disc);
    VideoCdResult planned = writer.Plan();
    if (!planned.ok) {
        FUZZ_CHECK(!planned.error.empty());
        return 0;
    }
    FUZZ_CHECK(!writer.CueSheet("disc.bin").empty());
    CountingSink sink;
    bool aborted = false;
    VideoCdResult written = writer.Write(sink, [&](uint32_t done, uint32_t total) {
        FUZZ_CHECK(done <= total && total == writer.TotalSectors());
        aborted = aborted || (abort && done >= abortAt % (total + 1));
        return !aborted;
    });
    if (written.ok) {
        FUZZ_CHECK(sink.Count() == writer.TotalSectors());
    } else {
        // Nothing but the abort or the failed still may stop a planned write.
        FUZZ_CHECK(!written.error.empty() || written.cancelled);
        FUZZ_CHECK(written.cancelled ? aborted : stillFailed);
    }
    return 0;
}
