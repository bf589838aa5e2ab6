#include "ImageRecorder.h"

#include "ImageOutput.h"
#include "engine/api/Engine.h"
#include "engine/slideshow/SlideshowBurn.h"

namespace {

const unsigned int kCdBlocks = 80 * 60 * 75;  // an 80-minute CD-R

bool IsCdMedia(int mediaType)
{
    return (static_cast<unsigned int>(mediaType) & ENGINE_MEDIA_CD) != 0;
}

}  // namespace

bool ImageRecorder::WriteSpeeds(int mediaType, EngineSpeedList& speeds) const
{
    if (!IsCdMedia(mediaType))
        return false;
    speeds = CdSpeedList({1, 2, 4, 8, 10, 16, 24, 32, 40, 48, 52});
    return true;
}

bool ImageRecorder::ReadDisc(EngineDiscInfo& disc) const
{
    disc = EngineDiscInfo{};
    disc.mediaType = ENGINE_MEDIA_CDR;
    disc.trackCount = 0;
    disc.writeable = 1;
    disc.freeBlocks = kCdBlocks;
    return true;
}

int ImageRecorder::ErasingTime(int) const
{
    return ENGINE_ERASE_TIME_NOT_REWRITABLE;  // a CD-R cannot be erased
}

int ImageRecorder::Erase(int)
{
    return ENGINE_ERASE_FAILED;
}

int ImageRecorder::EjectLoad(bool)
{
    return 0;  // an image has no tray to move
}

int ImageRecorder::BurnVideoCd(const EngineVideoCdJob& job, unsigned int flags, unsigned int,
                               EngineProgress* progress)
{
    // The speed means nothing to a file: the image is written as fast as it can be.
    Engine& engine = Engine::Instance();
    ImageOutput output(engine.Config().imageFolder);
    const bool simulate = (flags & ENGINE_BURN_SIMULATE) != 0;
    const int result = BurnSlideshow(job, simulate, kCdBlocks, output, progress);
    if (result == ENGINE_BURN_OK && !simulate)
        engine.SetLastImage(output.BinPath(), output.CuePath());
    return result;
}
