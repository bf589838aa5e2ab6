// The motion track: its elementary streams and packs read back by an
// independent parser and buffer model here, then by Debian's ffprobe,
// ffmpeg, vcdxbuild, vcd-info and vcdxrip.
#include "engine/track/MotionTrack.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "StillTestSupport.h"
#include "engine/picture/PictureReader.h"
#include "engine/still/StillFramer.h"
#include "engine/mpeg1/SystemStream.h"
#include "engine/track/MotionVideo.h"
#include "engine/track/SilentAudio.h"
#include "engine/track/UnchangedSlices.h"

using namespace still_test;

namespace {

struct System {
    const char* name;
    bool ntsc;
    int height, pictures, gop;
    int64_t frameTicks;
    const char* rate;
};
const System kPal{"PAL", false, 288, 75, 15, 3600, "25/1"};
const System kNtsc{"NTSC", true, 240, 90, 18, 3003, "30000/1001"};

int64_t Timestamp(const uint8_t* p)
{
    return int64_t{p[0] >> 1 & 7} << 30 | int64_t{p[1]} << 22 | int64_t{p[2] >> 1} << 15 | p[3] << 7 | p[4] >> 1;
}
// `count` (<= 32) bits from bit `first` on (0 = the top bit of p[0]).
uint32_t Bits(const uint8_t* p, int first, int count)
{
    uint64_t v = 0;
    const int bytes = (first + count + 7) / 8;
    for (int i = 0; i < bytes; ++i)
        v = v << 8 | p[i];
    return static_cast<uint32_t>(v >> (8 * bytes - first - count) & ((uint64_t{1} << count) - 1));
}

// What a reader of the system stream finds in the track.
struct Stamp {
    size_t at;  // stream offset of the packet's first payload byte
    int64_t pts, dts;
};
struct Demuxed {
    std::string error;
    std::map<int, std::vector<uint8_t>> es;
    std::map<int, std::vector<Stamp>> stamps;
    std::map<int, std::vector<std::pair<int, size_t>>> payloads;  // per stream: (pack, bytes)
    std::map<int, int> headerStreams;                             // system header: stream id -> STD buffer bytes, by pack
    std::vector<size_t> trailingZeros;                            // per pack
    bool endCode = false;
};

Demuxed Demux(const std::vector<uint8_t>& t)
{
    Demuxed d;
    if (t.empty() || t.size() % kPackSize != 0)
        d.error = "not a whole number of packs";
    for (size_t pack = 0; d.error.empty() && pack < t.size() / kPackSize; ++pack) {
        const uint8_t* p = t.data() + pack * kPackSize;
        if (Bits(p, 0, 32) != 0x1BA || Timestamp(p + 4) != static_cast<int64_t>(pack) * 1200 || Bits(p + 8, 9, 22) != 3528)
            d.error = "bad pack header at " + std::to_string(pack);
        size_t i = 12;
        while (d.error.empty() && i + 4 <= kPackSize && Bits(p + i, 0, 24) == 1) {
            const int id = p[i + 3];
            if (id == 0xB9) {
                d.endCode = pack + 1 == t.size() / kPackSize && i + 4 == kPackSize;
                i += 4;
                continue;
            }
            const size_t end = i + 6 + (p[i + 4] << 8 | p[i + 5]);
            if (id == 0xBB)
                d.headerStreams[p[i + 12] | static_cast<int>(pack) << 8] = Bits(p + i + 13, 3, 13) * (p[i + 13] & 0x20 ? 1024 : 128);
            if (id == 0xE0 || id == 0xC0) {
                size_t j = i + 6;
                while (p[j] == 0xFF)
                    ++j;
                if ((p[j] & 0xC0) == 0x40)
                    j += 2;  // STD buffer
                Stamp s{d.es[id].size(), -1, -1};
                if ((p[j] & 0xF0) == 0x20)
                    s.pts = s.dts = Timestamp(p + j), j += 5;
                else if ((p[j] & 0xF0) == 0x30)
                    s.pts = Timestamp(p + j), s.dts = Timestamp(p + j + 5), j += 10;
                else if (p[j++] != 0x0F)
                    d.error = "bad packet header at " + std::to_string(pack);
                if (s.pts >= 0)
                    d.stamps[id].push_back(s);
                d.es[id].insert(d.es[id].end(), p + j, p + end);
                d.payloads[id].emplace_back(static_cast<int>(pack), end - j);
            }
            i = end;
        }
        d.trailingZeros.push_back(kPackSize - i);
        for (; d.error.empty() && i < kPackSize; ++i)
            if (p[i] != 0)
                d.error = "stray bytes at the end of pack " + std::to_string(pack);
    }
    return d;
}

// Start codes of an elementary stream: (offset, code).
std::vector<std::pair<size_t, int>> StartCodes(const std::vector<uint8_t>& es)
{
    std::vector<std::pair<size_t, int>> codes;
    for (size_t i = 0; i + 3 < es.size(); ++i)
        if (es[i] == 0 && es[i + 1] == 0 && es[i + 2] == 1)
            codes.emplace_back(i, es[i + 3]);
    return codes;
}

// The player's buffer for one stream, fed pack by pack (a pack's last byte is
// in 1186 ticks after its SCR): it must never hold more than `buffer` bytes,
// and every unit must be complete by its decoding time.
void ExpectBufferHolds(const Demuxed& d, int id, const std::vector<size_t>& unitStarts,
                       const std::vector<int64_t>& decodeAt, size_t buffer)
{
    size_t delivered = 0, removed = 0, complete = 0;
    for (const auto& [pack, bytes] : d.payloads.at(id)) {
        const int64_t scr = pack * int64_t{1200};
        for (; removed < decodeAt.size() && decodeAt[removed] <= scr; ++removed)
            ASSERT_LT(removed, complete) << "unit " << removed << " of stream " << id << " incomplete when decoded";
        const size_t removedBytes = removed < unitStarts.size() ? unitStarts[removed] : d.es.at(id).size();
        ASSERT_LE(delivered + bytes - removedBytes, buffer) << "stream " << id << " overflows at pack " << pack;
        delivered += bytes;
        for (; complete < unitStarts.size() && (complete + 1 == unitStarts.size() ? d.es.at(id).size() : unitStarts[complete + 1]) <= delivered; ++complete)
            ASSERT_LE(scr + 1186, decodeAt[complete]) << "unit " << complete << " of stream " << id << " late";
    }
}

YCbCrFrame Photo(bool ntsc)
{
    return FrameStill(ReadPicture(std::string(SNAPDISC_CORPUS_DIR) + "/photos/kpa_skagen.jpg").image, StillFormat{ntsc, false});
}

}  // namespace

TEST(MotionTrack, SilentAudioFramesAre731Or732BytesAveragingTheBitRate)
{
    // 1152 samples at 224 kbit/s, 44.1 kHz: 731 3/7 bytes. Seven frames
    // are exactly 5120 bytes, three of them padded.
    size_t seven = 0;
    for (int j = 0; j < 7; ++j) {
        const std::vector<uint8_t> frame = SilentAudioFrame(AudioFramePadded(j));
        ASSERT_EQ(frame.size(), AudioFrameBytes(j));
        EXPECT_EQ(Bits(frame.data(), 0, 12), 0xFFFu);      // syncword
        EXPECT_EQ(Bits(frame.data(), 12, 4), 0xDu);        // MPEG-1, layer II, no CRC
        EXPECT_EQ(Bits(frame.data(), 16, 4), 11u);         // 224 kbit/s
        EXPECT_EQ(Bits(frame.data(), 20, 2), 0u);          // 44.1 kHz
        EXPECT_EQ(Bits(frame.data(), 22, 1), frame.size() == 732 ? 1u : 0u);  // padding
        EXPECT_EQ(Bits(frame.data(), 24, 2), 0u);          // stereo
        EXPECT_EQ(std::count(frame.begin() + 4, frame.end(), 0), static_cast<long>(frame.size() - 4));
        seven += frame.size();
    }
    EXPECT_EQ(seven, 5120u);
    EXPECT_EQ(AudioFramesFor(3.0), 115);  // 114.84 frames cover 3 s
    const ElementaryStream audio = MakeSilentAudio(50);
    EXPECT_EQ(audio.units[49].pts, 115200);  // 49 frames = 56 448 samples = 1.28 s exactly
    EXPECT_EQ(audio.units[48].pts, 112848);  // 112 849 rounded down
}

TEST(MotionTrack, RefusesWhatItCannotMake)
{
    const YCbCrFrame pal = MakeFrame(StillFormat{false, false}, Pattern::Mixed);
    EXPECT_TRUE(MakeMotionTrack(pal, true).empty()) << "a PAL raster is not an NTSC picture";
    EXPECT_TRUE(MakeMotionTrack(pal, false, 0.9).empty());
    EXPECT_TRUE(MakeMotionTrack(pal, false, 60.1).empty());
    EXPECT_TRUE(MakeMotionTrack(pal, false, std::nan("")).empty());
    EXPECT_FALSE(MakeMotionTrack(pal, false, 1.0).empty());

    // Asked to stop at any of its steps, it stops there with nothing.
    for (int stopAt = 1; stopAt <= 3; ++stopAt) {
        int asked = 0;
        EXPECT_TRUE(MakeMotionTrack(pal, false, 1.0, [&] { return ++asked == stopAt; }).empty()) << stopAt;
        EXPECT_EQ(stopAt, asked);
    }
}

// The sequence header, the groups and the constant-rate buffer model of
// the video, as a decoder reads them from the elementary stream.
TEST(MotionTrack, VideoIsConstantRateAndFitsTheBuffer)
{
    for (const System& sys : {kPal, kNtsc}) {
        for (const Pattern pattern : {Pattern::Flat, Pattern::Mixed, Pattern::HardNoise}) {
            SCOPED_TRACE(std::string(sys.name) + " pattern " + std::to_string(static_cast<int>(pattern)));
            const MotionVideo video = EncodeMotionVideo(MakeFrame(StillFormat{sys.ntsc, false}, pattern), sys.ntsc, sys.pictures);
            const std::vector<uint8_t>& es = video.stream.bytes;
            ASSERT_GE(es.size(), 12u);
            EXPECT_EQ(Bits(&es[4], 0, 24), (352u << 12) | static_cast<uint32_t>(sys.height));
            EXPECT_EQ(Bits(&es[4], 24, 8), sys.ntsc ? 0xC4u : 0x83u);  // pel aspect 12 / 8, 29.97 / 25 Hz
            EXPECT_EQ(Bits(&es[8], 0, 18), 2875u);                      // 1 150 000 bit/s
            EXPECT_EQ(Bits(&es[8], 19, 10), 20u);                       // 40 KB VBV buffer
            EXPECT_EQ(Bits(&es[8], 29, 1), 1u);                         // constrained parameters
            EXPECT_LE(video.intraBytes, kMotionIntraBudget);

            std::vector<size_t> pictures, ends;  // a picture's data ends at the next picture, sequence or end code
            for (const auto& [at, code] : StartCodes(es)) {
                if (code == 0x00)
                    pictures.push_back(at);
                if (code == 0x00 || code == 0xB3 || code == 0xB7)
                    ends.push_back(at);
            }
            ASSERT_EQ(pictures.size(), static_cast<size_t>(sys.pictures));
            EXPECT_EQ(Bits(&es[es.size() - 4], 0, 32), 0x1B7u);
            double occupancyBits = 0;  // vbv_delay * R: what the buffer holds at decoding time
            for (size_t k = 0; k < pictures.size(); ++k) {
                const uint8_t* h = &es[pictures[k] + 4];
                EXPECT_EQ(Bits(h, 0, 10), k % sys.gop) << "temporal reference of " << k;
                EXPECT_EQ(Bits(h, 10, 3), k % sys.gop == 0 ? 1u : 2u) << "an I picture starts every group";
                const double delayBits = Bits(h, 13, 16) * 1150000.0 / 90000;
                const size_t end = *std::upper_bound(ends.begin(), ends.end(), pictures[k]);
                EXPECT_LE(8.0 * (end - pictures[k] - 4), delayBits + 13) << "picture " << k << " arrives late";
                EXPECT_LE(delayBits + 8 * 24, 40 * 1024 * 8.0) << "picture " << k << " overflows the VBV";
                if (k > 0) {  // constant rate: one picture period brings what it says, less what the last picture took
                    const double expected = occupancyBits - 8.0 * (pictures[k] - pictures[k - 1]) + sys.frameTicks * 1150000.0 / 90000;
                    EXPECT_NEAR(delayBits, expected, 26) << "picture " << k;
                }
                occupancyBits = delayBits;
            }
            EXPECT_NEAR(es.size() * 8.0, sys.pictures * sys.frameTicks * 1150000.0 / 90000, 8 * 16)
                << "the stream lasts as long as its pictures at the bit rate";
        }
    }
}

// The packs, read back: layout, timestamps, and both buffers replayed.
TEST(MotionTrack, PacksAreVideoCdSectorsWithBuffersThatHold)
{
    for (const System& sys : {kPal, kNtsc}) {
        SCOPED_TRACE(sys.name);
        const YCbCrFrame frame = MakeFrame(StillFormat{sys.ntsc, false}, Pattern::Mixed);
        const std::vector<uint8_t> track = MakeMotionTrack(frame, sys.ntsc, 3.0);
        const Demuxed d = Demux(track);
        ASSERT_EQ(d.error, "");
        EXPECT_TRUE(d.endCode);
        EXPECT_EQ(d.headerStreams, (std::map<int, int>{{0xE0, 46 * 1024}, {0xC0 | 1 << 8, 4096}}));
        EXPECT_EQ(d.es.at(0xE0), EncodeMotionVideo(frame, sys.ntsc, sys.pictures).stream.bytes);
        EXPECT_EQ(d.es.at(0xC0), MakeSilentAudio(AudioFramesFor(3.0)).bytes);
        for (const auto& [pack, bytes] : d.payloads.at(0xC0))
            EXPECT_EQ(d.trailingZeros[static_cast<size_t>(pack)], 20u) << "audio pack " << pack;

        // Every picture is stamped by the packet it starts in, a frame period apart.
        std::vector<size_t> units;
        std::vector<int64_t> decodeAt;
        int previous = -1;
        for (const auto& [at, code] : StartCodes(d.es.at(0xE0))) {
            if ((code == 0xB3 || code == 0x00) && previous != 0xB8 && previous != 0xB3)
                units.push_back(at);
            if (code == 0x00)
                decodeAt.push_back(decodeAt.empty() ? 0 : decodeAt.back() + sys.frameTicks);
            previous = code;
        }
        const std::vector<Stamp>& video = d.stamps.at(0xE0);
        ASSERT_EQ(video.size(), static_cast<size_t>(sys.pictures));
        for (size_t k = 0; k < video.size(); ++k) {
            EXPECT_EQ(video[k].dts, video[0].dts + decodeAt[k]);
            EXPECT_EQ(video[k].pts, video[k].dts + sys.frameTicks);
            decodeAt[k] = video[k].dts;
        }
        ExpectBufferHolds(d, 0xE0, units, decodeAt, 46 * 1024);

        // Sound starts with the first picture shown; every packet stamps its first frame.
        std::vector<size_t> frames;
        std::vector<int64_t> heardAt;
        for (size_t at = 0, j = 0; at < d.es.at(0xC0).size(); at += AudioFrameBytes(static_cast<int64_t>(j++))) {
            frames.push_back(at);
            heardAt.push_back(video[0].pts + static_cast<int64_t>(j) * 1152 * 90000 / 44100);
        }
        for (const Stamp& s : d.stamps.at(0xC0)) {
            const size_t j = static_cast<size_t>(std::lower_bound(frames.begin(), frames.end(), s.at) - frames.begin());
            EXPECT_EQ(s.pts, heardAt[j]) << "audio packet at " << s.at;
        }
        ExpectBufferHolds(d, 0xC0, frames, heardAt, 4096);
    }
}

// Debian's tools: ffprobe sees a Video CD stream, ffmpeg decodes the photo
// in the first and last pictures and silence, vcdxbuild takes the track as
// a sequence item and vcdxrip gives back the same bytes.
TEST(MotionTrackTools, FfprobeAndFfmpegSeeTheVideoCdStreams)
{
    SKIP_WITHOUT_TOOL("ffprobe");
    SKIP_WITHOUT_TOOL("ffmpeg");
    for (const System& sys : {kPal, kNtsc}) {
        SCOPED_TRACE(sys.name);
        const TempDir dir;
        const YCbCrFrame photo = Photo(sys.ntsc);
        const std::string mpg = dir.Write("track.mpg", AsString(MakeMotionTrack(photo, sys.ntsc, 3.0)));
        const std::string probe = Capture("ffprobe -v error -count_frames -of default=nw=1 -show_entries "
                                          "stream=codec_name,width,height,r_frame_rate,display_aspect_ratio,sample_rate,"
                                          "channels,bit_rate,nb_read_frames:format=duration " + mpg);
        const std::string height = std::to_string(sys.height), count = std::to_string(sys.pictures);
        for (const std::string& line : std::vector<std::string>{"codec_name=mpeg1video", "width=352", "height=" + height,
                                        "r_frame_rate=" + std::string(sys.rate), "bit_rate=1150000", "nb_read_frames=" + count,
                                        "codec_name=mp2", "sample_rate=44100", "channels=2", "bit_rate=224000"})
            EXPECT_NE(probe.find(line + "\n"), std::string::npos) << line << " missing in\n" << probe;
        int darW = 0, darH = 1;
        double duration = 0;
        std::sscanf(probe.c_str() + probe.find("display_aspect_ratio="), "display_aspect_ratio=%d:%d", &darW, &darH);
        std::sscanf(probe.c_str() + probe.find("\nduration="), "\nduration=%lf", &duration);
        EXPECT_NEAR(static_cast<double>(darW) / darH, 4.0 / 3, 0.01);
        EXPECT_NEAR(duration, 3.0, 0.05);

        std::string errors;
        const std::string yuv = dir.File("all.yuv"), pcm = dir.File("all.pcm");
        RunTool("ffmpeg -v error -i " + mpg + " -map 0:v -f rawvideo -pix_fmt yuv420p " + yuv +
                " -map 0:a -f s16le " + pcm + " 2>&1", &errors);
        EXPECT_EQ(errors, "");
        const std::string decoded = TempDir::Read(yuv), sound = TempDir::Read(pcm);
        const size_t frameBytes = photo.y.size() * 3 / 2;
        ASSERT_EQ(decoded.size(), frameBytes * sys.pictures);
        const std::vector<uint8_t> first = AsBytes(decoded.substr(0, frameBytes));
        EXPECT_GT(PsnrY(photo, first), 35.0);
        EXPECT_EQ(decoded.substr(decoded.size() - frameBytes), decoded.substr(0, frameBytes)) << "P pictures change nothing";
        EXPECT_GE(sound.size(), 3 * 44100 * 4u);
        EXPECT_EQ(sound.find_first_not_of('\0'), std::string::npos) << "the sound is silence";
    }
}

// One slice for the whole P picture: 395 macroblocks skipped at once need
// eleven macroblock escapes before the increment's code.
TEST(MotionTrackTools, FfmpegDecodesSlicesWithEscapedIncrements)
{
    SKIP_WITHOUT_TOOL("ffmpeg");
    const TempDir dir;
    const YCbCrFrame frame = MakeFrame(StillFormat{false, false}, Pattern::Mixed);
    std::vector<uint8_t> es = EncodeMotionVideo(frame, false, 2).stream.bytes;
    std::vector<size_t> pictures;
    for (const auto& [at, code] : StartCodes(es))
        if (code == 0x00)
            pictures.push_back(at);
    ASSERT_EQ(pictures.size(), 2u);
    BitWriter slices;
    WriteUnchangedSlices(22, 18, 8, slices, 18);
    es.resize(pictures[1] + 9);  // the P picture's header
    es.insert(es.end(), slices.Bytes().begin(), slices.Bytes().end());
    es.insert(es.end(), {0, 0, 1, 0xB7});
    const std::string out = dir.File("two.yuv");
    std::string errors;
    RunTool("ffmpeg -v error -f mpegvideo -i " + dir.Write("two.m1v", AsString(es)) + " -f rawvideo -pix_fmt yuv420p " +
            out + " 2>&1", &errors);
    EXPECT_EQ(errors, "");
    const std::string decoded = TempDir::Read(out);
    ASSERT_EQ(decoded.size(), 2 * frame.y.size() * 3 / 2);
    EXPECT_EQ(decoded.substr(0, decoded.size() / 2), decoded.substr(decoded.size() / 2));
}

TEST(MotionTrackTools, VcdimagerTakesItAsTheSequenceItem)
{
    SKIP_WITHOUT_TOOL("vcdxbuild");
    SKIP_WITHOUT_TOOL("vcd-info");
    const TempDir dir;
    const std::vector<uint8_t> track = MakeMotionTrack(Photo(false), false, 3.0);
    dir.Write("seq.mpg", AsString(track));
    dir.Write("item.mpg", TempDir::Read(std::string(SNAPDISC_TEST_DATA_DIR) + "/still/item2.mpg"));
    dir.Write("disc.xml", R"(<?xml version="1.0"?>
<!DOCTYPE videocd PUBLIC "-//GNU//DTD VideoCD//EN" "http://www.gnu.org/software/vcdimager/videocd.dtd">
<videocd xmlns="http://www.gnu.org/software/vcdimager/1.0/" class="vcd" version="2.0">
<info><album-id>TRACK</album-id><volume-count>1</volume-count><volume-number>1</volume-number><restriction>0</restriction></info>
<pvd><volume-id>TRACK</volume-id><system-id>CD-RTOS CD-BRIDGE</system-id></pvd>
<segment-items><segment-item src="item.mpg" id="seg-1"/></segment-items>
<sequence-items><sequence-item src="seq.mpg" id="seq-1"><default-entry id="entry-1"/></sequence-item></sequence-items>
<pbc><playlist id="lid-1"><next ref="lid-2"/><wait>5</wait><play-item ref="seg-1"/></playlist>
     <playlist id="lid-2"><prev ref="lid-1"/><wait>-1</wait><play-item ref="seq-1"/></playlist></pbc></videocd>)");
    const std::string in = "cd " + dir.Path() + " && ";
    std::string said;
    ASSERT_EQ(RunTool(in + "vcdxbuild -c disc.cue -b disc.bin disc.xml 2>&1", &said), 0) << said;
    EXPECT_EQ(said.find("WARN"), std::string::npos) << said;
    std::string info;
    EXPECT_EQ(RunTool(in + "vcd-info -c disc.cue 2>&1", &info), 0);
    EXPECT_EQ(info.find("WARN"), std::string::npos) << info;
    EXPECT_NE(info.find("ENTRY[00]: track#  1 (SEQUENCE[0])"), std::string::npos) << info;
    // 30 sectors of front margin, the packs, 45 of rear margin.
    const std::string size = std::to_string((30 + track.size() / kPackSize + 45) * kPackSize);
    EXPECT_NE(info.find(size + " ("), std::string::npos) << "AVSEQ01.DAT of " << size << " bytes in\n" << info;
    if (HaveTool("vcdxrip")) {
        ASSERT_TRUE(RunQuietly(in + "mkdir rip && cd rip && vcdxrip -c ../disc.cue -o rip.xml"));
        EXPECT_TRUE(TempDir::Read(dir.File("rip/avseq01.mpg")) == AsString(track)) << "the packs come back unchanged";
    }
}
