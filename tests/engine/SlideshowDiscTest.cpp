#include "engine/slideshow/SlideshowDisc.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "engine/disc/VideoCdWait.h"

namespace {

SlideshowTracks Tracks(size_t mpegItems = 0)
{
    SlideshowTracks tracks;
    if (mpegItems == 0)
        tracks.motionTrack.assign(2324, 0);
    tracks.mpegItems.resize(mpegItems);
    return tracks;
}

}  // namespace

TEST(SlideshowDisc, LongDelaysAreSplitIntoWaitsOfAtMost2000Seconds)
{
    EXPECT_EQ(std::vector<double>{0}, SplitDelay(0));
    EXPECT_EQ(std::vector<double>{2000}, SplitDelay(2000));
    EXPECT_EQ((std::vector<double>{2000, 1}), SplitDelay(2001));
    EXPECT_EQ((std::vector<double>{2000, 2000, 1000}), SplitDelay(5000));
    EXPECT_EQ(30u, SplitDelay(60000).size());
}

TEST(SlideshowDisc, ListsChainThePhotosInOrder)
{
    EngineConfig config;
    std::vector<SlideshowPhoto> photos = {{"a.jpg", 5}, {"b.jpg", 65}, {"c.jpg", 4500}};
    VideoCdDisc disc = MakeSlideshowDisc(photos, config, 0, Tracks(), [](size_t) { return StillItem{}; });
    ASSERT_EQ(3u, disc.segmentItems.size());
    ASSERT_EQ(1u, disc.sequenceItems.size());
    // Photo lists 1..3, c's two extra lists (2000 + 2000 + 500), then the end list.
    ASSERT_EQ(6u, disc.lists.size());
    const VideoCdList& a = disc.lists[0];
    const VideoCdList& b = disc.lists[1];
    const VideoCdList& c = disc.lists[2];
    EXPECT_EQ(VideoCdList::Kind::End, disc.lists[5].kind);
    EXPECT_FALSE(a.previous.has_value());
    EXPECT_EQ(1u, *a.next);
    EXPECT_EQ(0u, *b.previous);
    EXPECT_EQ(2u, *b.next);
    EXPECT_EQ(5, WaitSecondsForCode(a.waitCode));
    EXPECT_EQ(70, WaitSecondsForCode(b.waitCode));  // nearest 10 s, ties upward
    EXPECT_EQ(VideoCdList::Kind::Play, a.kind);
    EXPECT_EQ(VideoCdList::Kind::Play, b.kind);
    // c's lists wait 2000, 2000 and 500 s, the wait leading on through the
    // chain to the end list, the keys from each to b and the end list.
    const VideoCdList* chain[] = {&c, &disc.lists[3], &disc.lists[4]};
    const uint32_t timeouts[] = {3, 4, 5};
    const int seconds[] = {2000, 2000, 500};
    for (size_t k = 0; k < 3; ++k) {
        const VideoCdList& l = *chain[k];
        EXPECT_EQ(VideoCdList::Kind::Selection, l.kind) << k;
        EXPECT_EQ(k > 0, l.rejected) << k;
        EXPECT_EQ(2u, l.items.at(0).index) << k;
        EXPECT_EQ(timeouts[k], *l.timeout) << k;
        EXPECT_EQ(seconds[k], WaitSecondsForCode(l.waitCode)) << k;
        EXPECT_EQ(5u, *l.next) << k;
        EXPECT_EQ(1u, *l.previous) << k;
        EXPECT_TRUE(l.delayedKeys) << k;
    }
    for (const VideoCdList& l : disc.lists) {
        if (l.kind != VideoCdList::Kind::End) {
            EXPECT_EQ(5u, *l.back);
        }
    }
}

TEST(SlideshowDisc, VolumeLabelComesFromTheDate)
{
    std::string label = VolumeLabelFor(0);
    EXPECT_EQ(0u, label.find("SNAPDISC_19"));
    EXPECT_EQ(22u, label.size());
    for (char ch : label)
        EXPECT_TRUE((ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') || ch == '_') << label;
}

#ifndef _WIN32
// The disc's date carries the offset from GMT the local time has on that
// day: summer time included. A zone given by rule, so no zone files are needed.
TEST(SlideshowDisc, DateCarriesTheOffsetOfTheDay)
{
    const char* saved = std::getenv("TZ");
    const std::string previous = saved ? saved : "";
    setenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3", 1);
    tzset();
    EngineConfig config;
    auto dateOf = [&](std::time_t when) {
        return MakeSlideshowDisc({{"a.jpg", 5}}, config, when, Tracks(), [](size_t) { return StillItem{}; }).created;
    };
    const IsoDateTime winter = dateOf(1767268800);  // 2026-01-01 12:00 UTC
    EXPECT_EQ(13, winter.hour);
    EXPECT_EQ(4, winter.gmtOffsetQuarterHours);
    const IsoDateTime summer = dateOf(1782907200);  // 2026-07-01 12:00 UTC
    EXPECT_EQ(14, summer.hour);
    EXPECT_EQ(8, summer.gmtOffsetQuarterHours);
    if (saved)
        setenv("TZ", previous.c_str(), 1);
    else
        unsetenv("TZ");
    tzset();
}
#endif

TEST(SlideshowDisc, MpegItemsArePlayedAsTracksOfTheirOwn)
{
    EngineConfig config;
    std::vector<SlideshowPhoto> items = {{"a.jpg", 5, false}, {"clip.mpg", 2500, true}, {"b.bmp", 5, false}};
    std::vector<size_t> asked;
    VideoCdDisc disc = MakeSlideshowDisc(items, config, 0, Tracks(1), [&asked](size_t k) {
        asked.push_back(k);
        return StillItem{};
    });
    EXPECT_EQ(1u, disc.sequenceItems.size());  // the MPEG item is the disc's MPEG track
    ASSERT_EQ(2u, disc.segmentItems.size());
    EXPECT_EQ(VideoCdPlayItem::Kind::Segment, disc.lists[0].items[0].kind);
    EXPECT_EQ(VideoCdPlayItem::Kind::Sequence, disc.lists[1].items[0].kind);
    EXPECT_EQ(0u, disc.lists[1].items[0].index);
    EXPECT_FALSE(disc.lists[1].delayedKeys);  // keys need not wait for the clip to end
    EXPECT_EQ(1u, disc.lists[2].items[0].index);  // the second picture is segment item 2
    disc.segmentItems[1].makePacks();
    EXPECT_EQ(std::vector<size_t>{1}, asked);  // and its still is picture 1's
}
