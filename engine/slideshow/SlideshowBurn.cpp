#include "SlideshowBurn.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <thread>

#include "engine/base/CdTime.h"
#include "engine/recorder/BurnRunner.h"
#include "engine/recorder/DiscOutput.h"
#include "engine/recorder/FileSectorSink.h"
#include "engine/api/Engine.h"
#include "SlideshowDisc.h"
#include "engine/index/IndexPlan.h"
#include "engine/index/IndexSheet.h"
#include "StillPrefetcher.h"
#include "VideoCdMpegFile.h"
#include "engine/disc/InfoVcd.h"
#include "engine/disc/VideoCdImageWriter.h"
#include "engine/picture/PictureReader.h"
#include "engine/still/StillFramer.h"
#include "engine/track/MotionTrack.h"

namespace {

const double kMotionTrackSeconds = 3.0;

// The photos of a job; false, with the reason, when it holds something that
// cannot go on a slideshow disc.
bool PhotosOfJob(const EngineVideoCdJob& job, std::vector<SlideshowPhoto>& photos, std::string& error)
{
    if (job.superVideoCd) {
        error = "Super Video CDs cannot be made";
        return false;
    }
    if (job.itemCount <= 0) {
        error = "the job holds no item";
        return false;
    }
    // The count comes from the program: bounded before the items are read.
    if (static_cast<size_t>(job.itemCount) > kMaxSegments + kMaxMpegTracks) {
        error = "the job holds " + std::to_string(job.itemCount) + " items; a Video CD takes at most " +
                std::to_string(kMaxSegments) + " photos and " + std::to_string(kMaxMpegTracks) + " MPEG items";
        return false;
    }
    for (int i = 0; i < job.itemCount; ++i) {
        const EngineVideoItem& item = *EngineJobItemConst(&job, i);
        std::string path(item.sourcePath, strnlen(item.sourcePath, sizeof item.sourcePath));
        switch (item.itemType) {
        case ENGINE_ITEM_PICTURE:
            photos.push_back({path, item.pauseBlocks / 75.0, false});
            break;
        case ENGINE_ITEM_MPEG:
            photos.push_back({path, item.pauseBlocks / 75.0, true});
            break;
        case ENGINE_ITEM_AVI:
            error = path + ": AVI files cannot be put on a Video CD";
            return false;
        default:
            error = path + ": unknown item type " + std::to_string(item.itemType);
            return false;
        }
    }
    return true;
}

// The motion track every Video CD needs: a few seconds of the first photo.
// False with no error when the burn was asked to stop.
bool MakeTrack(const std::string& firstPicture, const EngineConfig& config, std::vector<uint8_t>& track,
               std::string& error, const BurnWork& work)
{
    const StillFormat format{config.ntsc, false};
    const PictureBox box = DecodeBoxFor(format);
    DecodeResult picture = ReadPicture(firstPicture, box.width, box.height);
    if (!picture.ok) {
        error = picture.error;
        return false;
    }
    if (work.ShouldStop())
        return false;
    FramingOptions framing;
    framing.safeArea = config.safeArea;
    YCbCrFrame frame = FrameStill(picture.image, format, framing);
    track = MakeMotionTrack(frame, config.ntsc, kMotionTrackSeconds, [&work] { return work.ShouldStop(); });
    if (work.ShouldStop())
        return false;
    if (track.empty()) {
        error = "the disc's motion track cannot be made";
        return false;
    }
    return true;
}

// The time the disc is dated with: now, or the seconds since 1970 that
// SOURCE_DATE_EPOCH gives, so that two burns of a project are the same byte
// for byte, as reproducible builds make their files.
std::time_t DiscTime()
{
    const char* epoch = std::getenv("SOURCE_DATE_EPOCH");
    if (!epoch || !*epoch || std::strlen(epoch) > 11 || std::strspn(epoch, "0123456789") != std::strlen(epoch))
        return std::time(nullptr);
    return static_cast<std::time_t>(std::strtoll(epoch, nullptr, 10));
}

// Plans and writes the image on the burn's worker thread.
class SlideshowJob {
public:
    SlideshowJob(std::vector<SlideshowPhoto> photos, EngineConfig config, bool simulate, uint32_t capacity,
                 DiscOutput& output)
        : m_photos(std::move(photos)), m_config(std::move(config)), m_bSimulate(simulate), m_capacity(capacity),
          m_output(output), m_when(DiscTime())
    {
    }

    bool Run(BurnWork& work)
    {
        // Whatever would make the burn fail half way is looked for first,
        // while it costs seconds: every photo's file and header, the MPEG
        // items, the disc's limits and the room on the medium.
        work.SetPhase("Checking the photos");
        if (!CheckPhotos(work))
            return false;
        work.SetPhase("Preparing the disc");
        SlideshowTracks tracks;
        std::vector<std::string> paths;  // of the pictures
        if (!PrepareTracks(tracks, paths, work))
            return false;
        // A photo made with a fault (cut short, damaged data) is logged, so
        // the user hears of it while and after the burn.
        std::unique_ptr<StillPrefetcher> stills;
        // The index pages' thumbnails, kept from each photo's own decoding
        // until the sheets (after all photos) are made; by photo.
        const std::vector<size_t> photoOfPicture = PhotoOfEachPicture();
        std::vector<PackedThumbnail> thumbnails(m_photos.size());
        const bool index = m_config.index && PlanIndex(m_photos.size(), paths.size()).made;
        if (m_config.index && !index) {
            const std::string note = "The disc has no index pages: " + std::to_string(m_photos.size()) +
                                     " photos leave no room for them.";
            Engine::Instance().AddError(note);
            work.AddLogLine(note);
        }
        VideoCdDisc disc = MakeSlideshowDisc(
            m_photos, m_config, m_when, std::move(tracks),
            [&stills, &work, &thumbnails, &photoOfPicture](size_t i) {
                StillItem item = stills->Take(i);
                if (item.ok && !item.warning.empty()) {
                    Engine::Instance().AddError(item.warning);
                    work.AddLogLine(item.warning);
                }
                thumbnails[photoOfPicture[i]] = std::move(item.thumbnail);
                return item;
            },
            [this, &thumbnails](const SheetContent& content) { return MakeSheet(content, thumbnails); });
        VideoCdImageWriter writer(disc);
        VideoCdResult planned = writer.Plan();
        if (!planned.ok) {
            m_error = planned.error;
            return false;
        }
        if (writer.TotalSectors() > m_capacity) {
            m_error = "The disc would need " + CdDurationText(writer.TotalSectors()) +
                      "; the disc in the recorder holds " + CdDurationText(m_capacity) + ". Leave out photos or MPEG items.";
            return false;
        }
        if (work.ShouldStop())
            return false;
        // Spare cores make stills ahead of the writer, which mostly waits for them.
        StillItemOptions options;
        options.ntsc = m_config.ntsc;
        options.normalOnly = m_config.normalOnly;
        options.safeArea = m_config.safeArea;
        options.thumbnail = index;
        // At most four makers: each holds a decoded photo, so memory stays
        // the same on a machine of many cores.
        const unsigned int makers = std::min(4u, std::max(1u, std::thread::hardware_concurrency()));
        stills = std::make_unique<StillPrefetcher>(std::move(paths), options, makers);
        return m_bSimulate ? Simulate(writer, work) : WriteDisc(writer, work);
    }

    const std::string& Error() const { return m_error; }

private:
    // For each picture (photos that are not MPEG items), its photo.
    std::vector<size_t> PhotoOfEachPicture() const
    {
        std::vector<size_t> photos;
        for (size_t i = 0; i < m_photos.size(); ++i)
            if (!m_photos[i].mpeg)
                photos.push_back(i);
        return photos;
    }

    // An index sheet as a still item; a photo's thumbnail is let go once
    // its sheet is made.
    StillItem MakeSheet(const SheetContent& content, std::vector<PackedThumbnail>& thumbnails) const
    {
        std::vector<Image> pictures(content.tiles.size());
        std::vector<SheetTile> tiles;
        for (size_t k = 0; k < content.tiles.size(); ++k) {
            const SheetContent::Tile& t = content.tiles[k];
            SheetTile tile{nullptr, t.number, t.caption, t.label};
            if (t.photo && thumbnails[*t.photo].width > 0) {
                pictures[k] = UnpackThumbnail(thumbnails[*t.photo]);
                tile.thumbnail = &pictures[k];
                thumbnails[*t.photo] = PackedThumbnail{};
            }
            tiles.push_back(tile);
        }
        StillItemOptions options;
        options.ntsc = m_config.ntsc;
        options.normalOnly = m_config.normalOnly;
        return MakeStillItemFromImage(MakeIndexSheet(tiles, static_cast<int>(content.columns),
                                                     static_cast<int>(content.rows), content.range,
                                                     content.pageOfPages),
                                      options);
    }

    // Every photo's file, from its header alone; the first fault fails the
    // job with the photo's place in the list.
    bool CheckPhotos(BurnWork& work)
    {
        for (size_t i = 0; i < m_photos.size(); ++i) {
            if (work.ShouldStop())
                return false;
            if (m_photos[i].mpeg)
                continue;
            std::string fault = CheckPictureFile(m_photos[i].path);
            if (!fault.empty()) {
                m_error = "Photo " + std::to_string(i + 1) + " of " + std::to_string(m_photos.size()) + ": " + fault;
                return false;
            }
        }
        return true;
    }

    // The MPEG items' tracks and, when there is none, the motion track made
    // from the first picture; the paths of the pictures.
    bool PrepareTracks(SlideshowTracks& tracks, std::vector<std::string>& pictures, const BurnWork& work)
    {
        size_t mpegBytes = 0;
        for (const SlideshowPhoto& photo : m_photos) {
            if (!photo.mpeg) {
                pictures.push_back(photo.path);
                continue;
            }
            VideoCdMpegFile file = ReadVideoCdMpegFile(photo.path, [&work] { return work.ShouldStop(); });
            if (work.ShouldStop())
                return false;
            mpegBytes += file.packs.size();
            if (!file.ok || mpegBytes > kMaxMpegFileBytes * 2) {
                m_error = file.ok ? photo.path + ": the MPEG files of one disc may hold at most 128 MB" : file.error;
                return false;
            }
            VideoCdSequenceItem item;
            item.system = file.system;
            item.packs = std::move(file.packs);
            tracks.mpegItems.push_back(std::move(item));
        }
        tracks.motionSystem = m_config.ntsc ? VideoSystem::Ntsc : VideoSystem::Pal;
        if (tracks.mpegItems.empty())
            return MakeTrack(pictures.front(), m_config, tracks.motionTrack, m_error, work);
        return true;
    }

    VideoCdImageWriter::Progress ProgressOf(BurnWork& work)
    {
        return [&work](uint32_t written, uint32_t total) {
            work.SetProgress(total ? static_cast<unsigned int>(uint64_t(written) * 100 / total) : 0);
            return !work.ShouldStop();
        };
    }

    bool Simulate(VideoCdImageWriter& writer, BurnWork& work)
    {
        work.SetPhase("Writing (simulation)");
        NullSectorSink sink;
        VideoCdResult written = writer.Write(sink, ProgressOf(work));
        m_error = written.error;
        return written.ok;
    }

    bool WriteDisc(VideoCdImageWriter& writer, BurnWork& work)
    {
        if (!m_output.Open(writer, m_when, work, m_error))
            return false;
        work.SetPhase(m_output.WritingPhase());
        VideoCdResult written = writer.Write(m_output.Sink(), ProgressOf(work));
        if (!written.ok) {
            m_error = written.error;
            m_output.Abandon(work);
            return false;
        }
        return m_output.Close(writer, work, m_error);
    }

    std::vector<SlideshowPhoto> m_photos;
    EngineConfig m_config;
    bool m_bSimulate;
    uint32_t m_capacity;  // sectors of the medium
    DiscOutput& m_output;
    std::time_t m_when;
    std::string m_error;
};

}  // namespace

int BurnSlideshow(const EngineVideoCdJob& job, bool simulate, uint32_t capacity, DiscOutput& output,
                  EngineProgress* progress)
{
    Engine& engine = Engine::Instance();
    std::vector<SlideshowPhoto> photos;
    std::string error;
    if (!PhotosOfJob(job, photos, error)) {
        engine.AddError(error);
        return ENGINE_BURN_BAD_JOB;
    }
    SlideshowJob burn(std::move(photos), engine.Config(), simulate, capacity, output);
    BurnRunner runner([&engine] { return engine.IdleSaysStop(); }, progress);
    bool ok = runner.Run([&burn](BurnWork& work) { return burn.Run(work); });
    if (!ok && runner.Aborted())
        return ENGINE_BURN_USER_ABORT;  // an output left open keeps nothing
    if (!ok) {
        const std::string& why = !runner.Failure().empty() ? runner.Failure() : burn.Error();
        engine.AddError(why.empty() ? std::string("the disc could not be written") : why);
        return ENGINE_BURN_FAILED;
    }
    return ENGINE_BURN_OK;
}
