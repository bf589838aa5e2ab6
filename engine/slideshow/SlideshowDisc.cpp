#include "SlideshowDisc.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "engine/base/CalendarTime.h"
#include "engine/disc/VideoCdWait.h"
#include "engine/index/IndexPlan.h"
#include "engine/index/IndexSheet.h"
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

// A segment item holding one still item (a photo's or an index sheet's),
// made by make when the writer reaches it.
VideoCdSegmentItem StillSegment(const EngineConfig& config, std::function<StillItem()> make)
{
    VideoCdSegmentItem item;
    item.video = config.normalOnly ? SegmentVideo::Still : SegmentVideo::StillWithHigh;
    item.system = config.ntsc ? VideoSystem::Ntsc : VideoSystem::Pal;
    item.segments = 1;  // a still item (normal and high) is always under 150 packs
    item.makePacks = [make = std::move(make)] {
        StillItem still = make();
        SegmentPacks packs;
        packs.ok = still.ok;
        packs.error = still.error;
        packs.packs = std::move(still.packs);
        return packs;
    };
    return item;
}

// A tile's rectangle on the 0..255 grid hot spots use.
VideoCdHotSpot HotSpotOf(const SheetRect& r)
{
    auto scale = [](int v, int size) { return static_cast<uint8_t>(std::min(255, v * 256 / size)); };
    return {scale(r.x, kSheetWidth), scale(r.y, kSheetHeight), scale(r.x + r.width, kSheetWidth),
            scale(r.y + r.height, kSheetHeight)};
}

VideoCdSegmentItem SheetSegment(SheetContent content, const EngineConfig& config, const SheetMaker& makeSheet)
{
    return StillSegment(config, [content = std::move(content), makeSheet] { return makeSheet(content); });
}

// A page's selection list: it shows its sheet and waits for a key; nothing
// happens on its own, so the show never enters it.
VideoCdList PageList(uint32_t sheet)
{
    VideoCdList list;
    list.kind = VideoCdList::Kind::Selection;
    list.items = {{VideoCdPlayItem::Kind::Segment, sheet}};
    list.waitCode = kWaitForever;
    list.delayedKeys = true;
    return list;
}

// The index pages (lists n.. ) and directory pages after them, and their
// sheets after the photos' stills.
void AddIndex(VideoCdDisc& disc, const IndexPlan& plan, uint32_t n, uint32_t end, const EngineConfig& config,
              const SheetMaker& makeSheet)
{
    const uint32_t pages = static_cast<uint32_t>(plan.pages.size());
    const uint32_t directories = static_cast<uint32_t>(plan.directories.size());
    const int columns = static_cast<int>(plan.columns), rows = static_cast<int>(plan.rows);
    for (uint32_t p = 0; p < pages; ++p) {
        const IndexPage& page = plan.pages[p];
        SheetContent content;
        content.columns = plan.columns;
        content.rows = plan.rows;
        content.range = RangeText(page.first, page.count);
        content.pageOfPages = std::to_string(p + 1) + "/" + std::to_string(pages);
        VideoCdList list = PageList(static_cast<uint32_t>(disc.segmentItems.size()));
        if (p > 0)
            list.previous = n + p - 1;
        if (p + 1 < pages)
            list.next = n + p + 1;
        list.back = directories ? n + pages + static_cast<uint32_t>(plan.DirectoryOf(p)) : p == 0 ? end : n;
        list.defaultTarget = static_cast<uint32_t>(page.first);
        // Up to 99 photos every number is a photo's, on every page;
        // above, the numbers are the places on this page.
        const size_t from = plan.photoNumbers ? 0 : page.first;
        const size_t to = plan.photoNumbers ? n : page.first + page.count;
        for (size_t photo = from; photo < to; ++photo) {
            list.selections.push_back(static_cast<uint32_t>(photo));
            const bool shown = photo >= page.first && photo < page.first + page.count;
            list.hotSpots.push_back(shown ? HotSpotOf(TileRect(photo - page.first, columns, rows, !plan.photoNumbers))
                                          : VideoCdHotSpot{});
        }
        for (size_t k = 0; k < page.count; ++k) {
            const size_t photo = page.first + k;
            SheetContent::Tile tile;
            tile.photo = photo;
            tile.number = std::to_string(plan.photoNumbers ? photo + 1 : k + 1);
            tile.caption = plan.photoNumbers ? "" : "#" + std::to_string(photo + 1);
            tile.label = "#" + std::to_string(photo + 1);
            content.tiles.push_back(tile);
        }
        disc.segmentItems.push_back(SheetSegment(std::move(content), config, makeSheet));
        disc.lists[n + p] = std::move(list);
    }
    for (uint32_t d = 0; d < directories; ++d) {
        const IndexPage& shows = plan.directories[d];
        const IndexPage& first = plan.pages[shows.first];
        const IndexPage& last = plan.pages[shows.first + shows.count - 1];
        SheetContent content;
        content.columns = plan.columns;
        content.rows = plan.rows;
        content.range = RangeText(first.first, last.first + last.count - first.first);
        content.pageOfPages = std::to_string(d + 1) + "/" + std::to_string(directories);
        VideoCdList list = PageList(static_cast<uint32_t>(disc.segmentItems.size()));
        if (d > 0)
            list.previous = n + pages + d - 1;
        if (d + 1 < directories)
            list.next = n + pages + d + 1;
        list.back = end;
        list.defaultTarget = n + static_cast<uint32_t>(shows.first);
        // Every directory page takes every page's number.
        for (uint32_t p = 0; p < pages; ++p) {
            list.selections.push_back(n + p);
            const bool shown = p >= shows.first && p < shows.first + shows.count;
            list.hotSpots.push_back(shown ? HotSpotOf(TileRect(p - shows.first, columns, rows, false))
                                          : VideoCdHotSpot{});
        }
        for (size_t k = 0; k < shows.count; ++k) {
            const IndexPage& page = plan.pages[shows.first + k];
            SheetContent::Tile tile;
            tile.number = std::to_string(shows.first + k + 1);
            tile.label = RangeText(page.first, page.count);
            content.tiles.push_back(tile);
        }
        disc.segmentItems.push_back(SheetSegment(std::move(content), config, makeSheet));
        disc.lists[n + pages + d] = std::move(list);
    }
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
                              std::time_t when, SlideshowTracks tracks, StillMaker makeStill, SheetMaker makeSheet)
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
            const size_t picture = disc.segmentItems.size();
            disc.segmentItems.push_back(StillSegment(config, [picture, makeStill] { return makeStill(picture); }));
        }
    }

    const uint32_t n = static_cast<uint32_t>(photos.size());
    IndexPlan plan;
    if (config.index && makeSheet)
        plan = PlanIndex(n, disc.segmentItems.size());

    // Each photo's first list comes first, in photo order, so photo i is
    // list i + 1; then the index pages and directory pages, the lists that
    // only lengthen a long delay, and the end list.
    std::vector<std::vector<double>> waits;
    for (const SlideshowPhoto& photo : photos)
        waits.push_back(SplitDelay(photo.seconds));
    const uint32_t firstPage = n;
    std::vector<uint32_t> extraStart(n);
    uint32_t nextExtra = firstPage + static_cast<uint32_t>(plan.pages.size() + plan.directories.size());
    for (uint32_t i = 0; i < n; ++i) {
        extraStart[i] = nextExtra;
        nextExtra += static_cast<uint32_t>(waits[i].size() - 1);
    }
    const uint32_t end = nextExtra;  // the end list comes last
    disc.lists.resize(end + 1);
    disc.lists[end].kind = VideoCdList::Kind::End;
    disc.lists[end].rejected = true;
    AddIndex(disc, plan, n, end, config, makeSheet);

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
            // RETURN shows the index page with the photo, from every list of it.
            list.back = plan.made ? firstPage + static_cast<uint32_t>(plan.PageOf(i)) : end;
            list.waitCode = WaitCodeForSeconds(waits[i][k], WaitRounding::HalfUp);
        }
    }
    return disc;
}
