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
// by a selection list and a rejected one after the end list, against
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

}  // namespace
