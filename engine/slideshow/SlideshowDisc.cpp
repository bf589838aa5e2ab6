#include "SlideshowDisc.h"

#include <cmath>
#include <cstdint>

#include "engine/base/CalendarTime.h"
#include "engine/disc/VideoCdWait.h"
#include "engine/still/StillItem.h"

namespace {

const double kLongestWait = 2000;

// Seconds since 1970 of a calendar time read as UTC, by the proleptic
// Gregorian calendar (days from the civil date).
int64_t SecondsAsUtc(const std::tm& t)
{
    int64_t y = t.tm_year + 1900 - (t.tm_mon < 2 ? 1 : 0);
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yearOfEra = y - era * 400;
    const int64_t month = t.tm_mon + 1;
    const int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + t.tm_mday - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    const int64_t days = era * 146097 + dayOfEra - 719468;
    return days * 86400 + t.tm_hour * 3600 + t.tm_min * 60 + t.tm_sec;
}

IsoDateTime IsoDateOf(std::time_t when)
{
    std::tm local = LocalCalendarTime(when);
    std::tm utc = UtcCalendarTime(when);
    // The offset of local time from GMT, in 15-minute steps: the difference
    // of the two calendar times, so that summer time counts (mktime would
    // read the UTC fields as local standard time).
    long offsetMinutes = static_cast<long>((SecondsAsUtc(local) - SecondsAsUtc(utc)) / 60);
    IsoDateTime date;
    date.year = local.tm_year + 1900;
    date.month = local.tm_mon + 1;
    date.day = local.tm_mday;
    date.hour = local.tm_hour;
    date.minute = local.tm_min;
    date.second = local.tm_sec;
    date.gmtOffsetQuarterHours = static_cast<int>(offsetMinutes / 15);
    return date;
}

VideoCdSegmentItem StillSegment(size_t picture, const EngineConfig& config, const StillMaker& makeStill)
{
    VideoCdSegmentItem item;
    item.video = config.normalOnly ? SegmentVideo::Still : SegmentVideo::StillWithHigh;
    item.system = config.ntsc ? VideoSystem::Ntsc : VideoSystem::Pal;
    item.segments = 1;  // a still item (normal and high) is always under 150 packs
    item.makePacks = [picture, makeStill] {
        StillItem still = makeStill(picture);
        SegmentPacks packs;
        packs.ok = still.ok;
        packs.error = still.error;
        packs.packs = std::move(still.packs);
        return packs;
    };
    return item;
}

}  // namespace

std::vector<double> SplitDelay(double seconds)
{
    std::vector<double> waits;
    if (!(seconds > 0)) {
        waits.push_back(0);
        return waits;
    }
    while (seconds > kLongestWait) {
        waits.push_back(kLongestWait);
        seconds -= kLongestWait;
    }
    waits.push_back(seconds);
    return waits;
}

std::string VolumeLabelFor(std::time_t when)
{
    char label[32];
    std::tm local = LocalCalendarTime(when);
    std::strftime(label, sizeof label, "SNAPDISC_%Y%m%d_%H%M", &local);
    return label;
}

VideoCdDisc MakeSlideshowDisc(const std::vector<SlideshowPhoto>& photos, const EngineConfig& config,
                              std::time_t when, SlideshowTracks tracks, StillMaker makeStill)
{
    VideoCdDisc disc;
    disc.albumId = "SNAPDISC";
    disc.volumeId = VolumeLabelFor(when);
    disc.applicationId = "SNAPDISC";
    disc.preparerId = "SNAPDISC";
    disc.created = IsoDateOf(when);

    if (!tracks.motionTrack.empty()) {
        VideoCdSequenceItem track;
        track.system = tracks.motionSystem;
        track.packs = std::move(tracks.motionTrack);
        disc.sequenceItems.push_back(std::move(track));
    }
    // What each photo's lists play: its still, or its MPEG track.
    std::vector<VideoCdPlayItem> shows;
    size_t nextMpeg = 0;
    for (const SlideshowPhoto& photo : photos) {
        if (photo.mpeg) {
            shows.push_back({VideoCdPlayItem::Kind::Sequence, static_cast<uint32_t>(disc.sequenceItems.size())});
            disc.sequenceItems.push_back(std::move(tracks.mpegItems.at(nextMpeg++)));
        } else {
            shows.push_back({VideoCdPlayItem::Kind::Segment, static_cast<uint32_t>(disc.segmentItems.size())});
            disc.segmentItems.push_back(StillSegment(disc.segmentItems.size(), config, makeStill));
        }
    }

    // Each photo's first list comes first, in photo order, so photo i is
    // list i + 1; the lists that only lengthen a long delay follow them all.
    std::vector<std::vector<double>> waits;
    for (const SlideshowPhoto& photo : photos)
        waits.push_back(SplitDelay(photo.seconds));
    const uint32_t n = static_cast<uint32_t>(photos.size());
    disc.lists.resize(n);
    const uint32_t end = static_cast<uint32_t>(n);  // index of the end list, placed after the photos' lists
    std::vector<uint32_t> extraStart(n);
    uint32_t nextExtra = n + 1;
    for (uint32_t i = 0; i < n; ++i) {
        extraStart[i] = nextExtra;
        nextExtra += static_cast<uint32_t>(waits[i].size() - 1);
    }
    VideoCdList endList;
    endList.kind = VideoCdList::Kind::End;
    endList.rejected = true;
    disc.lists.push_back(endList);
    disc.lists.resize(nextExtra);

    for (uint32_t i = 0; i < n; ++i) {
        const uint32_t after = i + 1 < n ? i + 1 : end;  // where the photo's show goes on
        // A play list's NEXT is also where its wait leads, so a photo shown
        // by more than one list is shown by selection lists: the wait leads
        // on through the chain, NEXT and PREVIOUS to the neighbouring photos.
        const bool chained = waits[i].size() > 1;
        for (size_t k = 0; k < waits[i].size(); ++k) {
            uint32_t at = k == 0 ? i : extraStart[i] + static_cast<uint32_t>(k - 1);
            VideoCdList& list = disc.lists[at];
            list.rejected = k > 0;
            list.items.push_back(shows[i]);
            if (i > 0)
                list.previous = i - 1;
            list.next = after;
            if (chained) {
                bool last = k + 1 == waits[i].size();
                list.kind = VideoCdList::Kind::Selection;
                list.timeout = last ? after : extraStart[i] + static_cast<uint32_t>(k);
                // Keys wait for a still to be shown, but not for a clip to end.
                list.delayedKeys = shows[i].kind == VideoCdPlayItem::Kind::Segment;
            }
            list.back = end;
            list.waitCode = WaitCodeForSeconds(waits[i][k], WaitRounding::HalfUp);
        }
    }
    return disc;
}
