// The writer against two discs Debian's vcdxbuild made from the same items:
// every byte of the image (ISO 9660, the VCD files, subheaders, EDC and
// parity) and the CUE sheet must match. On a difference the message names
// the first differing sector and the region the plan put there.
#include <gtest/gtest.h>

#include <cstring>

#include "VideoCdTestSupport.h"
#include "engine/slideshow/SlideshowDisc.h"
#include "support/ExternalTool.h"
#include "support/TempDir.h"

using namespace vcd_test;

namespace {

struct GoldenCase {
    const char* name;
    VideoCdDisc (*disc)(WaitRounding);
    const char* bin;
    const char* cue;
};

std::string FirstDifference(const std::vector<uint8_t>& made, const std::vector<uint8_t>& expected,
                            const VideoCdLayout& layout)
{
    const size_t sectors = std::max(made.size(), expected.size()) / kRawSectorSize;
    for (size_t lsn = 0; lsn < sectors; ++lsn) {
        const size_t at = lsn * kRawSectorSize;
        if (at + kRawSectorSize > made.size() || at + kRawSectorSize > expected.size())
            return "the images differ in length at LSN " + std::to_string(lsn);
        if (!std::equal(made.begin() + at, made.begin() + at + kRawSectorSize, expected.begin() + at)) {
            size_t byte = 0;
            while (made[at + byte] == expected[at + byte])
                ++byte;
            const VideoCdRegion* region = layout.RegionAt(static_cast<uint32_t>(lsn));
            return "first difference in LSN " + std::to_string(lsn) + " (" + (region ? region->name : "no region") +
                   "), byte " + std::to_string(byte) + " of the sector";
        }
    }
    return {};
}

class VideoCdGoldenTest : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(VideoCdGoldenTest, ImageAndCueMatchVcdxbuild)
{
    const GoldenCase& c = GetParam();
    VideoCdDisc disc = c.disc(WaitRounding::HalfEven);
    disc.vcdimagerCompatible = true;
    VideoCdImageWriter writer(disc);
    VideoCdResult planned = writer.Plan();
    ASSERT_TRUE(planned.ok) << planned.error;
    const std::vector<uint8_t> expected = ReadData(c.bin);
    ASSERT_EQ(expected.size(), 1305 * kRawSectorSize);
    EXPECT_EQ(writer.TotalSectors(), 1305u);

    MemorySink sink;
    VideoCdResult written = writer.Write(sink);
    ASSERT_TRUE(written.ok) << written.error;
    EXPECT_EQ(FirstDifference(sink.bytes, expected, writer.Layout()), "");
    EXPECT_EQ(writer.CueSheet(c.bin), ReadText(DataPath(c.cue)));
}

INSTANTIATE_TEST_SUITE_P(ReferenceDiscs, VideoCdGoldenTest,
                         ::testing::Values(GoldenCase{"PalStills", ReferenceDisc, "ref.bin", "ref.cue"},
                                           GoldenCase{"NtscAndMixedStills", ReferenceDisc2, "ref2.bin", "ref2.cue"}),
                         [](const ::testing::TestParamInfo<GoldenCase>& info) { return info.param.name; });

// Has vcdxbuild author xml as name.bin and name.cue, and expects the
// writer to make the same of disc in vcdimager's layout.
void ExpectTheImageVcdxbuildMakes(const std::string& xml, const std::string& name, VideoCdDisc disc)
{
    TempDir dir;
    dir.Write(name + ".xml", xml);
    ASSERT_EQ(0, RunTool("cd " + dir.Path() + " && vcdxbuild -c " + name + ".cue -b " + name + ".bin " + name +
                         ".xml >/dev/null 2>&1"));
    disc.vcdimagerCompatible = true;
    VideoCdImageWriter writer(disc);
    ASSERT_TRUE(writer.Plan().ok);
    MemorySink sink;
    ASSERT_TRUE(writer.Write(sink).ok);
    const std::string expected = ReadText(dir.File(name + ".bin"));
    EXPECT_EQ(FirstDifference(sink.bytes, std::vector<uint8_t>(expected.begin(), expected.end()), writer.Layout()), "");
    EXPECT_EQ(writer.CueSheet(name + ".bin"), ReadText(dir.File(name + ".cue")));
}

// ref.xml with a motion item of two segments (the motion track's packs) in
// place of the second still, authored by vcdxbuild while the test runs.
TEST(VideoCdGoldenMotionItem, TwoSegmentItemMatchesVcdxbuild)
{
    SKIP_WITHOUT_TOOL("vcdxbuild");
    std::string xml = ReadText(DataPath("ref.xml"));
    ASSERT_FALSE(xml.empty());
    for (const char* name : {"item1.mpg", "item3.mpg", "seq1.mpg"})
        xml.replace(xml.find(std::string("\"") + name), std::strlen(name) + 1, "\"" + DataPath(name));
    xml.replace(xml.find("\"item2.mpg"), 10, "\"" + DataPath("seq1.mpg"));

    VideoCdDisc disc = ReferenceDisc(WaitRounding::HalfEven);
    disc.segmentItems[1] = ItemFromFile("seq1.mpg", SegmentVideo::Motion);
    disc.segmentItems[1].segments = 2;
    disc.segmentItems[1].audio = SegmentAudio::Stereo;
    ExpectTheImageVcdxbuildMakes(xml, "motion", disc);
}

// A slideshow of 5, 2500 and 7 s as the program makes it, the 2500 s shown
// by a selection list and a rejected one before the end list, against
// chain.xml: vcdxbuild's selection lists in PSD.VCD and its extended ones
// in PSD_X.VCD, which move the lists after them, and LOT_X.VCD to match.
TEST(VideoCdGoldenChain, SelectionListsOfALongDelayMatchVcdxbuild)
{
    SKIP_WITHOUT_TOOL("vcdxbuild");
    std::string xml = ReadText(DataPath("chain.xml"));
    ASSERT_FALSE(xml.empty());
    for (size_t at = 0; (at = xml.find("src=\"", at)) != std::string::npos; at += 5)
        xml.insert(at + 5, DataPath(""));

    EngineConfig config;
    config.normalOnly = true;
    SlideshowTracks tracks;
    tracks.motionTrack = ReadData("seq1.mpg");
    VideoCdDisc disc = MakeSlideshowDisc({{"a.jpg", 5}, {"b.jpg", 2500}, {"c.jpg", 7}}, config, 0, std::move(tracks),
                                         [](size_t picture) {
                                             StillItem still;
                                             still.ok = true;
                                             still.packs = ReadData(picture == 1 ? "item2.mpg" : "item1.mpg");
                                             return still;
                                         });
    disc.volumeId = "SLIDESHOW";
    ExpectTheImageVcdxbuildMakes(xml, "chain", disc);
}

// Twelve photos and two index pages (index/index.xml): selection lists
// whose numbers lead to the photos, NEXT and PREVIOUS between the pages,
// the hot spots of the thumbnails in PSD_X.VCD.
TEST(VideoCdGoldenIndex, IndexPagesMatchVcdxbuild)
{
    SKIP_WITHOUT_TOOL("vcdxbuild");
    std::string xml = ReadText(DataPath("index/index.xml"));
    ASSERT_FALSE(xml.empty());
    for (size_t at = 0; (at = xml.find("src=\"", at)) != std::string::npos; at += 5)
        xml.insert(at + 5, DataPath("index/"));

    const uint32_t photos = 12, page1 = 12, page2 = 13, end = 14;
    VideoCdDisc disc;
    disc.albumId = "SLIDES";
    disc.volumeId = "SLIDESHOW";
    disc.preparerId = "RESEARCH";
    char name[32];
    for (uint32_t i = 1; i <= photos; ++i) {
        std::snprintf(name, sizeof name, "index/photo%04u.mpg", i);
        disc.segmentItems.push_back(ItemFromFile(name, SegmentVideo::Still));
    }
    for (const char* sheet : {"index/index01.mpg", "index/index02.mpg"})
        disc.segmentItems.push_back(ItemFromFile(sheet, SegmentVideo::StillWithHigh));
    disc.sequenceItems.push_back({VideoSystem::Pal, ReadData("seq1.mpg"), {}});
    for (uint32_t i = 0; i < photos; ++i)
        disc.lists.push_back(PlayList(Segment(i), 5, i ? std::optional<uint32_t>(i - 1) : std::nullopt,
                                      i + 1 < photos ? i + 1 : end, i < 9 ? page1 : page2, false));
    for (uint32_t page = 0; page < 2; ++page) {
        VideoCdList index;
        index.kind = VideoCdList::Kind::Selection;
        index.items = {Segment(photos + page)};
        index.previous = page ? std::optional<uint32_t>(page1) : std::nullopt;
        index.next = page ? std::nullopt : std::optional<uint32_t>(page2);
        index.back = page ? page1 : end;
        index.defaultTarget = page ? 9 : 0;
        index.waitCode = kWaitForever;
        index.delayedKeys = true;
        index.hotSpots.resize(photos);
        for (uint32_t i = 0; i < photos; ++i) {
            index.selections.push_back(i);
            const uint32_t tile = i - 9 * page;
            if (tile < 9 && i / 9 == page) {
                static const uint8_t x[] = {21, 97, 174}, right[] = {81, 157, 233};
                static const uint8_t y[] = {36, 99, 162}, bottom[] = {96, 159, 222};
                index.hotSpots[i] = {x[tile % 3], y[tile / 3], right[tile % 3], bottom[tile / 3]};
            }
        }
        disc.lists.push_back(index);
    }
    disc.lists.push_back(EndList());
    ExpectTheImageVcdxbuildMakes(xml, "index", disc);
}

}  // namespace
