#include "engine/still/StillPacker.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "StillTestSupport.h"
#include "engine/still/StillEncoder.h"

using namespace still_test;

namespace {

const StillFormat kPalNormal{false, false}, kPalHigh{false, true}, kNtscNormal{true, false}, kNtscHigh{true, true};

int64_t Timestamp(const uint8_t* p)
{
    return int64_t{p[0] >> 1 & 7} << 30 | int64_t{p[1]} << 22 | int64_t{p[2] >> 1} << 15 | p[3] << 7 | p[4] >> 1;
}

// What a reader of the system stream finds in an item.
struct Demuxed {
    std::string error;
    std::vector<int64_t> scr;                       // per pack
    std::map<int, std::vector<uint8_t>> streams;    // by stream id
    std::map<int, int64_t> pts, dts, lastPack;      // the first packet's timestamps, the last packet's pack
};

void ReadVideoPacket(const uint8_t* body, size_t length, int id, int64_t pack, Demuxed& d)
{
    size_t i = 0;
    while (body[i] == 0xFF)
        ++i;  // stuffing
    if ((body[i] & 0xC0) == 0x40)
        i += 2;  // STD buffer
    if ((body[i] & 0xF0) == 0x30) {
        d.pts[id] = Timestamp(body + i);
        d.dts[id] = Timestamp(body + i + 5);
        i += 10;
    } else if (body[i++] != 0x0F) {
        d.error = "unexpected packet header";
    }
    d.streams[id].insert(d.streams[id].end(), body + i, body + length);
    d.lastPack[id] = pack;
}

Demuxed Demux(const std::vector<uint8_t>& item)
{
    Demuxed d;
    const size_t packs = item.size() / kPackSize;
    if (packs == 0 || item.size() % kPackSize != 0)
        d.error = "not a whole number of packs";
    for (size_t pack = 0; d.error.empty() && pack < packs; ++pack) {
        const uint8_t* p = item.data() + pack * kPackSize;
        if (p[3] != 0xBA || p[9] != 0x80 || p[10] != 0x1B || p[11] != 0x91)  // mux rate 3528
            d.error = "bad pack header at pack " + std::to_string(pack);
        d.scr.push_back(Timestamp(p + 4));
        for (size_t i = 12; d.error.empty() && i < kPackSize; i += 6 + (p[i + 4] << 8 | p[i + 5])) {
            if (p[i] != 0 || p[i + 1] != 0 || p[i + 2] != 1)
                d.error = "no start code at byte " + std::to_string(i) + " of pack " + std::to_string(pack);
            else if (p[i + 3] == 0xB9 && (i + 4 != kPackSize || pack + 1 != packs))
                d.error = "end code before the end";
            else if (p[i + 3] == 0xB9)
                break;
            else if (i + 6 + (p[i + 4] << 8 | p[i + 5]) > kPackSize)
                d.error = "packet crosses the end of pack " + std::to_string(pack);
            else if (p[i + 3] == 0xE1 || p[i + 3] == 0xE2)
                ReadVideoPacket(p + i + 6, p[i + 4] << 8 | p[i + 5], p[i + 3], static_cast<int64_t>(pack), d);
        }
    }
    return d;
}

// A picture of B bytes takes the smallest v packs with 2294 + 2305 (v - 1) >= B.
size_t VideoPacks(size_t bytes) { return bytes <= 2294 ? 1 : 1 + (bytes - 2294 + 2304) / 2305; }

std::vector<uint8_t> Still(const StillFormat& format, Pattern pattern = Pattern::Mixed)
{
    return EncodeStillWithinBudget(MakeFrame(format, pattern, 11), format).stream;
}

// A real still padded to `bytes` with the zero stuffing decoders allow before a start code.
std::vector<uint8_t> StillOfSize(size_t bytes, const StillFormat& format = kPalNormal)
{
    std::vector<uint8_t> s = EncodeStill(MakeFrame(format, Pattern::Flat), format, 8).stream;
    s.insert(s.end() - 4, bytes - s.size(), 0);
    return s;
}

}  // namespace

TEST(StillPacker, ReproducesItemsMadeByMplex)
{
    for (const char* name : {"item1.mpg", "item2.mpg", "itemN.mpg", "item1mix.mpg"}) {
        const std::string path = std::string(SNAPDISC_TEST_DATA_DIR) + "/still/" + name;
        const std::vector<uint8_t> reference = AsBytes(TempDir::Read(path));
        Demuxed d = Demux(reference);
        ASSERT_EQ(d.error, "") << name;
        EXPECT_TRUE(PackStillItem(d.streams[0xE1], d.streams[0xE2]) == reference) << name;
    }
}

TEST(StillPacker, PacketSizesAtPackEdges)
{
    // Around the packet boundaries: a last packet followed by a padding
    // packet, by 9 bytes (stuffed into its header instead), by nothing; and
    // the largest normal still that arrives in time.
    for (const size_t bytes : {2000u, 2284u, 2285u, 2294u, 2295u, 4599u, 4599u + 2295, 4599u + 2296, 4599u + 2304,
                               static_cast<unsigned>(kLargestNormalStill)}) {
        SCOPED_TRACE(std::to_string(bytes) + " bytes");
        const std::vector<uint8_t> still = StillOfSize(bytes);
        const std::vector<uint8_t> item = PackStillItem(still, {});
        ASSERT_EQ(item.size(), (VideoPacks(bytes) + 2) * kPackSize);
        const Demuxed d = Demux(item);
        ASSERT_EQ(d.error, "");
        EXPECT_EQ(d.streams.at(0xE1), still);
        for (size_t pack = 0; pack < d.scr.size(); ++pack)
            EXPECT_EQ(d.scr[pack], static_cast<int64_t>(pack) * 1200);
        EXPECT_EQ(d.dts.at(0xE1), 26400);
        EXPECT_EQ(d.pts.at(0xE1), 26400 + 30 * 3600);
        EXPECT_LT((d.lastPack.at(0xE1) + 1) * 1200, d.dts.at(0xE1)) << "the picture arrives in time";
    }
}

TEST(StillPacker, RefusesStreamsItCannotCarry)
{
    const std::vector<uint8_t> normal = StillOfSize(20000), high = Still(kPalHigh);
    std::vector<uint8_t> noHeader = normal, film = normal, smallHighBuffer = StillOfSize(20000, kPalHigh);
    noHeader[3] = 0xB8;
    film[7] = static_cast<uint8_t>((film[7] & 0xF0) | 2);  // 24 Hz
    smallHighBuffer[11] = static_cast<uint8_t>((smallHighBuffer[11] & 0x07) | 22 << 3);  // VBV 23 made 22
    const struct {
        const char* what;
        std::vector<uint8_t> normal, high;
    } cases[] = {
        {"nothing", {}, {}},
        {"no sequence header", noHeader, {}},
        {"a picture rate Video CDs do not use", film, {}},
        {"normal still larger than its buffer", StillOfSize(46 * 1024 + 1), {}},
        {"normal still that would arrive late", StillOfSize(kLargestNormalStill + 1), {}},
        {"high still with a 46 KB buffer that would arrive late", {}, StillOfSize(kLargestNormalStill + 1, kPalHigh)},
        {"high buffer smaller than the normal one", normal, smallHighBuffer},
        {"high still larger than its buffer", normal, StillOfSize(high.size() + 2048, kPalHigh)},
        {"PAL and NTSC mixed", normal, Still(kNtscHigh)},
    };
    for (const auto& c : cases)
        EXPECT_TRUE(PackStillItem(c.normal, c.high).empty()) << c.what;
    EXPECT_FALSE(PackStillItem(normal, high).empty());
    EXPECT_FALSE(PackStillItem({}, high).empty());
}

TEST(StillPacker, MplexWritesTheSameItems)
{
    SKIP_WITHOUT_TOOL("mplex");
    TempDir dir;
    const struct {
        const char* what;
        std::vector<uint8_t> normal, high;
    } cases[] = {
        {"PAL normal", Still(kPalNormal), {}},
        {"NTSC normal + high", Still(kNtscNormal), Still(kNtscHigh)},
        {"PAL normal + high", Still(kPalNormal), Still(kPalHigh)},
        {"PAL high alone", {}, Still(kPalHigh)},
        {"flat pictures: the 46 KB high buffer", Still(kPalNormal, Pattern::Flat), Still(kPalHigh, Pattern::Flat)},
        {"hard noise: the largest pictures", Still(kPalNormal, Pattern::HardNoise),
         Still(kPalHigh, Pattern::HardNoise)},
        {"last packet stuffed", StillOfSize(4599 + 2296), {}},
        {"both just over 20 packs", StillOfSize(kLargestNormalStill), StillOfSize(kLargestNormalStill + 1, kPalHigh)},
    };
    for (const auto& c : cases) {
        std::string inputs, out = dir.File("mplex.mpg");
        if (!c.normal.empty())
            inputs += " " + dir.Write("normal.m1v", AsString(c.normal));
        if (!c.high.empty())
            inputs += " " + dir.Write("high.m1v", AsString(c.high));
        std::remove(out.c_str());
        ASSERT_TRUE(RunQuietly("mplex -v 0 -f 6 -o " + out + inputs)) << c.what;
        const std::string theirs = TempDir::Read(out);
        EXPECT_FALSE(theirs.empty()) << c.what;
        EXPECT_TRUE(AsString(PackStillItem(c.normal, c.high)) == theirs) << c.what;
    }
}

TEST(StillPacker, FfprobeSeesVideoCdStills)
{
    SKIP_WITHOUT_TOOL("ffprobe");
    SKIP_WITHOUT_TOOL("ffmpeg");
    TempDir dir;
    for (const bool ntsc : {false, true})
        for (const bool withHigh : {false, true}) {
            SCOPED_TRACE(std::string(ntsc ? "NTSC" : "PAL") + (withHigh ? " normal + high" : " normal"));
            const StillFormat formats[2] = {{ntsc, false}, {ntsc, true}};
            const YCbCrFrame frames[2] = {MakeFrame(formats[0], Pattern::Mixed), MakeFrame(formats[1], Pattern::Mixed)};
            const std::vector<uint8_t> normal = EncodeStillWithinBudget(frames[0], formats[0]).stream;
            const std::vector<uint8_t> high = withHigh ? EncodeStillWithinBudget(frames[1], formats[1]).stream
                                                       : std::vector<uint8_t>();
            const std::vector<uint8_t> item = PackStillItem(normal, high);
            const std::string path = dir.Write("item.mpg", AsString(item)), probe = "ffprobe -v error -of csv=p=0 ";
            const std::string ids = Capture(probe + "-show_entries stream=id " + path);  // in either order
            EXPECT_EQ(std::count(ids.begin(), ids.end(), '\n'), withHigh ? 2 : 1) << ids;
            for (int i = 0; i < (withHigh ? 2 : 1); ++i) {
                const std::string id = i ? "0x1e2" : "0x1e1";
                int width = 0, height = 0, darW = 0, darH = 1;
                const std::string line = Capture(probe + "-select_streams i:" + id +
                                                 " -show_entries stream=width,height,display_aspect_ratio " + path);
                ASSERT_EQ(std::sscanf(line.c_str(), "%d,%d,%d:%d", &width, &height, &darW, &darH), 4) << line;
                EXPECT_EQ(width, formats[i].Width());
                EXPECT_EQ(height, formats[i].Height());
                EXPECT_NEAR(static_cast<double>(darW) / darH, 4.0 / 3.0, 0.01) << line;
                EXPECT_GT(PsnrY(frames[i], DecodeWithFfmpeg(dir, item, "", "-map 0:i:" + id)), 35.0) << id;
            }
        }
}
