// The Video CD writer's own rules: wait coding, PSD packing, the limits it
// refuses before writing, segment items of one and more segments, and
// stopping in the middle.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <limits>

#include "VideoCdTestSupport.h"
#include "engine/disc/InfoVcd.h"
#include "engine/disc/LotVcd.h"
#include "engine/disc/PsdVcd.h"

using namespace vcd_test;

namespace {

const uint8_t* UserData(const std::vector<uint8_t>& image, uint32_t lsn)
{
    return image.data() + size_t{lsn} * kRawSectorSize + 24;
}

uint16_t Be16(const uint8_t* p)
{
    return static_cast<uint16_t>(p[0] << 8 | p[1]);
}

std::shared_ptr<const std::vector<uint8_t>> Packs(const std::string& name)
{
    return std::make_shared<const std::vector<uint8_t>>(ReadData(name));
}

// n one-segment stills, a play list for each and an end list.
VideoCdDisc Slideshow(size_t n, size_t listsPerPhoto = 1)
{
    auto packs = Packs("item2.mpg");
    std::vector<VideoCdSegmentItem> items;
    for (size_t i = 0; i < n; ++i)
        items.push_back(ItemOf(packs, SegmentVideo::Still));
    VideoCdDisc d = ReferenceDiscWithout(items, WaitRounding::HalfUp);
    d.lists.clear();
    for (size_t i = 0; i < n * listsPerPhoto; ++i)
        d.lists.push_back(PlayList(Segment(static_cast<uint32_t>(i % n)), 5, std::nullopt, std::nullopt, std::nullopt,
                                   i > 0));
    d.lists.push_back(EndList());
    return d;
}

TEST(VideoCdWait, SecondsToCodeAtTheBoundaries)
{
    struct Case {
        double seconds;
        uint8_t halfUp, halfEven;
    } cases[] = {
        {0, 0, 0},       {60, 60, 60},     {61, 60, 60},      {64, 60, 60},    {65, 61, 60},
        {66, 61, 61},    {75, 62, 62},     {1995, 254, 254},  {2000, 254, 254}, {2001, 254, 254},
        {2.5, 3, 2},     {60.4, 60, 60},   {-1, 255, 255},    {1e9, 254, 254},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.halfUp, WaitCodeForSeconds(c.seconds, WaitRounding::HalfUp)) << c.seconds << " s";
        EXPECT_EQ(c.halfEven, WaitCodeForSeconds(c.seconds, WaitRounding::HalfEven)) << c.seconds << " s";
    }
    EXPECT_EQ(kWaitForever, WaitCodeForSeconds(std::numeric_limits<double>::infinity(), WaitRounding::HalfUp));
}

TEST(VideoCdWait, CodesToSecondsAndBack)
{
    const std::pair<uint8_t, int> table[] = {{0, 0}, {60, 60}, {61, 70}, {62, 80}, {254, 2000}, {255, -1}};
    for (const auto& [code, seconds] : table)
        EXPECT_EQ(seconds, WaitSecondsForCode(code)) << int(code);
    for (int code = 0; code < kWaitForever; ++code)
        for (WaitRounding rounding : {WaitRounding::HalfUp, WaitRounding::HalfEven})
            EXPECT_EQ(code, WaitCodeForSeconds(WaitSecondsForCode(static_cast<uint8_t>(code)), rounding));
}

TEST(VideoCdPsd, ADescriptorThatWouldCrossASectorStartsTheNext)
{
    // Play lists of two items take 14 + 4 = 18 bytes, padded to 24: 85 fit
    // in the first sector (up to byte 2040), the 86th goes to 2048.
    VideoCdDisc d = Slideshow(2);
    d.lists.clear();
    for (int i = 0; i < 90; ++i) {
        d.lists.push_back(PlayList(Segment(0), 5, std::nullopt, 89, std::nullopt, false));
        d.lists.back().items.push_back(Segment(1));
    }
    VideoCdImageWriter writer(d);
    ASSERT_TRUE(writer.Plan().ok);
    const PsdPlacement& psd = writer.Layout().psd;
    EXPECT_EQ(0x7E0u, psd.offsets[84]);
    EXPECT_EQ(0x800u, psd.offsets[85]);
    EXPECT_EQ(0x800u + 5 * 24, psd.size);

    MemorySink sink;
    ASSERT_TRUE(writer.Write(sink).ok);
    const uint8_t* lot = UserData(sink.bytes, kLotVcdLsn);
    EXPECT_EQ(0x7E0 / 8, Be16(lot + 2 * 85));
    EXPECT_EQ(0x800 / 8, Be16(lot + 2 * 86));
    const uint8_t* first = UserData(sink.bytes, kPsdVcdLsn);
    const uint8_t* second = UserData(sink.bytes, kPsdVcdLsn + 1);
    EXPECT_EQ(std::vector<uint8_t>(8, 0), std::vector<uint8_t>(first + 2040, first + 2048));  // the gap
    EXPECT_EQ(0x10, second[0]);
    EXPECT_EQ(86, Be16(second + 2));             // its list id
    EXPECT_EQ((0x800 + 4 * 24) / 8, Be16(second + 6));  // next: list 90, four descriptors on
    EXPECT_EQ(1000, Be16(second + 14));
    EXPECT_EQ(1001, Be16(second + 16));
}

TEST(VideoCdPsd, TheSegmentAreaStartsAtTheMultipleOf75AfterThePsd)
{
    // One-item play lists take 16 bytes, 128 to a sector. 41 sectors of PSD
    // end at LSN 224; one list more spills into 225.
    const std::pair<size_t, uint32_t> cases[] = {{41 * 128, 225}, {41 * 128 + 1, 300}};
    for (const auto& [lists, firstSegment] : cases) {
        VideoCdDisc d = Slideshow(1, lists);
        d.lists.pop_back();
        VideoCdImageWriter writer(d);
        ASSERT_TRUE(writer.Plan().ok);
        EXPECT_EQ(firstSegment, writer.Layout().firstSegmentLsn) << lists << " lists";
        EXPECT_EQ(firstSegment, writer.Layout().segmentItems[0].lsn);
    }
}

TEST(VideoCdLimits, BrokenDescriptionsAreRefusedBeforeAnySectorIsWritten)
{
    struct Case {
        const char* what;
        std::function<void(VideoCdDisc&)> change;
        const char* message;  // a part of the reason
    };
    const Case cases[] = {
        {"1981 segments", [](VideoCdDisc& d) { d.segmentItems[0].segments = 1979; }, "1980"},
        {"no MPEG track", [](VideoCdDisc& d) { d.sequenceItems.clear(); }, "MPEG track"},
        {"99 MPEG tracks", [](VideoCdDisc& d) { d.sequenceItems.resize(99, d.sequenceItems[0]); }, "98"},
        {"a track of half a pack", [](VideoCdDisc& d) { d.sequenceItems[0].packs.resize(1162); }, "2324"},
        {"no list", [](VideoCdDisc& d) { d.lists.clear(); }, "play list"},
        {"list 1 rejected", [](VideoCdDisc& d) { d.lists[0].rejected = true; }, "rejected"},
        {"link to a missing list", [](VideoCdDisc& d) { d.lists[1].next = 7; }, "list 8"},
        {"missing segment item", [](VideoCdDisc& d) { d.lists[0].items[0].index = 3; }, "does not exist"},
        {"256 play items", [](VideoCdDisc& d) { d.lists[0].items.resize(256, Segment(0)); }, "255"},
        {"32768 lists", [](VideoCdDisc& d) { d.lists.resize(32768, d.lists[1]); }, "32767"},
        {"PSD beyond 16-bit offsets",
         [](VideoCdDisc& d) {
             d.lists[1].items.resize(255, Segment(0));
             d.lists.resize(1000, d.lists[1]);
         },
         "bytes"},
        {"PSD_X beyond 16-bit offsets, PSD.VCD within them",  // a selection list: 40 bytes there, 24 here
         [](VideoCdDisc& d) {
             d.lists[1].kind = VideoCdList::Kind::Selection;
             d.lists.resize(14000, d.lists[1]);
         },
         "bytes"},
        {"selection list of two items",
         [](VideoCdDisc& d) {
             d.lists[1].kind = VideoCdList::Kind::Selection;
             d.lists[1].items.push_back(Segment(0));
         },
         "shows one"},
        {"lower-case volume id", [](VideoCdDisc& d) { d.volumeId = "Slides"; }, "A-Z"},
        {"17-character album id", [](VideoCdDisc& d) { d.albumId = "ABCDEFGHIJKLMNOPQ"; }, "16"},
        {"volume 2 of 1", [](VideoCdDisc& d) { d.volumeNumber = 2; }, "volume"},
        {"month 13", [](VideoCdDisc& d) { d.created.month = 13; }, "date"},
        {"item with no segment", [](VideoCdDisc& d) { d.segmentItems[1].segments = 0; }, "segment"},
        {"1649 items in the vcdimager layout",
         [](VideoCdDisc& d) {
             d.segmentItems.resize(1649, d.segmentItems[0]);
             d.vcdimagerCompatible = true;
         },
         "1648"},
    };
    for (const Case& c : cases) {
        VideoCdDisc d = Slideshow(3);
        c.change(d);
        VideoCdImageWriter writer(d);
        const VideoCdResult planned = writer.Plan();
        EXPECT_FALSE(planned.ok) << c.what;
        EXPECT_NE(std::string::npos, planned.error.find(c.message)) << c.what << ": " << planned.error;
        MemorySink sink;
        EXPECT_FALSE(writer.Write(sink).ok) << c.what;
        EXPECT_EQ(0u, sink.Sectors()) << c.what;
    }

    // The largest of each still passes.
    VideoCdDisc largest = Slideshow(3);
    largest.segmentItems[0].segments = 1978;
    largest.lists[0].items.resize(255, Segment(0));
    VideoCdImageWriter writer(largest);
    EXPECT_TRUE(writer.Plan().ok) << writer.Plan().error;
    VideoCdDisc vcdimagerMost = Slideshow(1648);
    vcdimagerMost.vcdimagerCompatible = true;
    VideoCdImageWriter compatible(vcdimagerMost);
    EXPECT_TRUE(compatible.Plan().ok);
}

TEST(VideoCdSegments, ItemsOfOneAndTwoSegments)
{
    // A still, then the motion track's 222 packs as a two-segment item, then
    // another still: the third item starts at segment 4 (item 1003).
    VideoCdDisc d = Slideshow(3);
    d.segmentItems[1] = ItemOf(Packs("seq1.mpg"), SegmentVideo::Motion, VideoSystem::Pal, 2);
    d.segmentItems[1].audio = SegmentAudio::Stereo;
    d.lists[1].items[0] = Segment(1);
    d.lists[2].items[0] = Segment(2);
    VideoCdImageWriter writer(d);
    ASSERT_TRUE(writer.Plan().ok);
    const VideoCdLayout& layout = writer.Layout();
    EXPECT_EQ(4u, layout.segmentCount);
    EXPECT_EQ(225u + 3 * 150, layout.segmentItems[2].lsn);
    EXPECT_EQ("ITEM0004.DAT;1", SegmentItemFileName(layout.segmentItems[2]));

    MemorySink sink;
    ASSERT_TRUE(writer.Write(sink).ok);
    const uint8_t* info = UserData(sink.bytes, kInfoVcdLsn);
    EXPECT_EQ(4, Be16(info + 0x36));
    // PAL still; PAL motion with stereo, and its continuation; PAL still.
    EXPECT_EQ((std::vector<uint8_t>{0x14, 0x1E, 0x3E, 0x14, 0}), std::vector<uint8_t>(info + 0x38, info + 0x3D));
    const uint8_t* psd = UserData(sink.bytes, kPsdVcdLsn);
    EXPECT_EQ(1001, Be16(psd + 16 + 14));
    EXPECT_EQ(1003, Be16(psd + 32 + 14));
    // The motion item's pack 150 (0-based) opens its second segment; its
    // last pack ends the file.
    const uint32_t second = layout.segmentItems[1].lsn + 150;
    EXPECT_EQ(0, std::memcmp(UserData(sink.bytes, second), Packs("seq1.mpg")->data() + 150 * 2324, 2324));
    const uint8_t* lastSubheader = UserData(sink.bytes, second + 71) - 8;
    EXPECT_EQ(0x80, lastSubheader[2] & 0x80);
    EXPECT_EQ(0x60, UserData(sink.bytes, second + 72)[-6]);  // filler after it
}

TEST(VideoCdSegments, AnItemMakingMorePacksThanItsSegmentsHoldStopsTheWrite)
{
    VideoCdDisc d = Slideshow(2);
    d.segmentItems[1] = ItemOf(Packs("seq1.mpg"), SegmentVideo::Motion);  // 222 packs in one segment
    VideoCdImageWriter writer(d);
    ASSERT_TRUE(writer.Plan().ok);
    MemorySink sink;
    const VideoCdResult written = writer.Write(sink);
    EXPECT_FALSE(written.ok);
    EXPECT_EQ("Segment item 2 has 222 packs; its 1 segment(s) hold 150.", written.error);
    EXPECT_LE(sink.Sectors(), writer.Layout().segmentItems[1].lsn);
}

TEST(VideoCdWrite, ItemsAreMadeOnceEachInOrderAndOnlyWhileWriting)
{
    VideoCdDisc d = Slideshow(3);
    auto order = std::make_shared<std::vector<int>>();
    for (int i = 0; i < 3; ++i) {
        auto base = d.segmentItems[i].makePacks;
        d.segmentItems[i].makePacks = [base, order, i]() {
            order->push_back(i);
            return base();
        };
    }
    d.segmentItems[2].makePacks = [order]() {
        order->push_back(2);
        SegmentPacks failed;
        failed.error = "photo3.jpg cannot be read.";
        return failed;
    };
    VideoCdImageWriter writer(d);
    ASSERT_TRUE(writer.Plan().ok);
    EXPECT_TRUE(order->empty());
    MemorySink sink;
    const VideoCdResult written = writer.Write(sink);
    EXPECT_FALSE(written.ok);
    EXPECT_FALSE(written.cancelled);
    EXPECT_EQ("photo3.jpg cannot be read.", written.error);
    EXPECT_EQ((std::vector<int>{0, 1, 2}), *order);
    EXPECT_LE(sink.Sectors(), writer.Layout().segmentItems[2].lsn);
}

TEST(VideoCdWrite, ProgressComesOftenAndFalseStopsTheWrite)
{
    VideoCdDisc d = Slideshow(20);
    auto calls = std::make_shared<int>(0);
    for (VideoCdSegmentItem& item : d.segmentItems)
        item = ItemOf(Packs("item2.mpg"), SegmentVideo::Still, VideoSystem::Pal, 1, calls);
    VideoCdImageWriter writer(d);
    ASSERT_TRUE(writer.Plan().ok);

    MemorySink whole;
    uint32_t last = 0, largestStep = 0;
    ASSERT_TRUE(writer.Write(whole, [&](uint32_t written, uint32_t total) {
                          EXPECT_EQ(writer.TotalSectors(), total);
                          largestStep = std::max(largestStep, written - last);
                          last = written;
                          return true;
                      }).ok);
    EXPECT_EQ(writer.TotalSectors(), last);
    EXPECT_EQ(writer.TotalSectors(), whole.Sectors());
    EXPECT_LE(largestStep, 128u);

    *calls = 0;
    MemorySink part;
    const VideoCdResult stopped =
        writer.Write(part, [](uint32_t written, uint32_t) { return written < 1000; });
    EXPECT_FALSE(stopped.ok);
    EXPECT_TRUE(stopped.cancelled);
    EXPECT_GE(part.Sectors(), 1000u);
    EXPECT_LE(part.Sectors(), 1000u + 128);
    EXPECT_LE(*calls, 6);  // items up to LSN ~1100, none after the stop
}

TEST(VideoCdWrite, ASinkFailureEndsTheWriteWithItsReason)
{
    class FullDisk : public SectorSink {
    public:
        bool Put(const uint8_t*, size_t count, std::string& error) override
        {
            if ((taken += count) <= 256)
                return true;
            error = "The disk is full.";
            return false;
        }
        size_t taken = 0;
    } sink;
    VideoCdDisc d = Slideshow(3);
    VideoCdImageWriter writer(d);
    ASSERT_TRUE(writer.Plan().ok);
    const VideoCdResult written = writer.Write(sink);
    EXPECT_FALSE(written.ok);
    EXPECT_FALSE(written.cancelled);
    EXPECT_EQ("The disk is full.", written.error);
    EXPECT_EQ(384u, sink.taken);  // nothing after the failing batch
}

}  // namespace
