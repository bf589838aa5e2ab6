#include "engine/still/StillEncoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <iterator>

#include "StillTestSupport.h"
#include "engine/mpeg1/BitWriter.h"
#include "engine/mpeg1/ForwardDct.h"
#include "engine/mpeg1/FrameCoefficients.h"
#include "engine/mpeg1/IntraQuantiser.h"
#include "engine/mpeg1/Mpeg1Vlc.h"
#include "engine/mpeg1/SliceWriter.h"

using namespace still_test;

namespace {

const StillFormat kPalNormal{false, false}, kPalHigh{false, true}, kNtscNormal{true, false}, kNtscHigh{true, true};

// Reads the bits of a stream from a byte offset, most significant first.
struct BitReader {
    const std::vector<uint8_t>& bytes;
    size_t bit;
    uint32_t Get(int width)
    {
        uint32_t value = 0;
        for (int i = 0; i < width; ++i, ++bit)
            value = value << 1 | ((bytes.at(bit / 8) >> (7 - bit % 8)) & 1);
        return value;
    }
};

std::vector<size_t> StartCodes(const std::vector<uint8_t>& s)
{
    std::vector<size_t> at;
    for (size_t i = 0; i + 3 < s.size(); ++i)
        if (s[i] == 0 && s[i + 1] == 0 && s[i + 2] == 1)
            at.push_back(i);
    return at;
}

template <typename Write>
std::string WrittenBits(Write write)
{
    BitWriter out;
    write(out);
    const size_t count = out.BitCount();
    out.AlignWithZeros();
    std::string text;
    for (size_t i = 0; i < count; ++i)
        text += (out.Bytes()[i / 8] >> (7 - i % 8)) & 1 ? '1' : '0';
    return text;
}

// What a decoder rebuilds, written from the definitions: zig-zag order and
// default intra matrix (row = vertical frequency); DC * 8; AC level *
// quantiser * W / 8 made odd towards zero and clipped; inverse DCT; clamp.
constexpr int kZigZag[64] = {0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,
                             12, 19, 26, 33, 40, 48, 41, 34, 27, 20, 13, 6,  7,  14, 21, 28,
                             35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23, 30, 37, 44, 51,
                             58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63};
constexpr int kIntraMatrix[64] = {8,  16, 19, 22, 26, 27, 29, 34, 16, 16, 22, 24, 27, 29, 34, 37,
                                  19, 22, 26, 27, 29, 34, 34, 38, 22, 22, 26, 27, 29, 34, 37, 40,
                                  22, 26, 27, 29, 32, 35, 40, 48, 26, 27, 29, 32, 35, 40, 48, 58,
                                  26, 27, 29, 34, 38, 46, 56, 69, 27, 29, 35, 38, 46, 56, 69, 83};

void DecodeBlock(const QuantisedPicture& p, size_t block, int quantiser, uint8_t* dst, int stride)
{
    double f[64] = {p.dc[block] * 8.0};
    for (size_t i = p.AcBegin(block), pos = 0; i < p.acEnd[block]; ++i) {
        pos += p.ac[i].run + 1u;
        int value = 2 * p.ac[i].level * quantiser * kIntraMatrix[kZigZag[pos]] / 16;
        value -= value % 2 == 0 && value != 0 ? (value > 0 ? 1 : -1) : 0;
        f[kZigZag[pos]] = std::clamp(value, -2048, 2047);
    }
    static const auto basis = [] {  // basis[x][u] = C(u) / 2 * cos((2x + 1) u pi / 16)
        std::array<std::array<double, 8>, 8> b;
        for (int x = 0; x < 8; ++x)
            for (int u = 0; u < 8; ++u)
                b[x][u] = (u ? 0.5 : std::sqrt(0.125)) * std::cos((2 * x + 1) * u * std::acos(-1.0) / 16);
        return b;
    }();
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            double sum = 0;
            for (int n = 0; n < 64; ++n)
                sum += basis[x][n % 8] * basis[y][n / 8] * f[n];
            dst[y * stride + x] = static_cast<uint8_t>(std::clamp(std::lround(sum), 0L, 255L));
        }
}

std::vector<uint8_t> Decode(const QuantisedPicture& p)
{
    const int w = p.mbWidth * 16, h = p.mbHeight * 16;
    std::vector<uint8_t> yuv(static_cast<size_t>(w) * h * 3 / 2);
    uint8_t* cb = yuv.data() + w * h;
    uint8_t* cr = cb + w * h / 4;
    for (int mb = 0; mb < p.mbWidth * p.mbHeight; ++mb) {
        const int x = mb % p.mbWidth, y = mb / p.mbWidth;
        uint8_t* luma = yuv.data() + y * 16 * w + x * 16;
        uint8_t* targets[6] = {luma,          luma + 8,
                               luma + 8 * w,  luma + 8 * w + 8,
                               cb + y * 4 * w + x * 8, cr + y * 4 * w + x * 8};
        for (int b = 0; b < 6; ++b)
            DecodeBlock(p, mb * 6u + b, p.quantiser[mb], targets[b], b < 4 ? w : w / 2);
    }
    return yuv;
}

int LargestDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b)
{
    int largest = a.size() == b.size() ? 0 : 256;
    for (size_t i = 0; i < std::min(a.size(), b.size()); ++i)
        largest = std::max(largest, std::abs(a[i] - b[i]));
    return largest;
}

// Every run/level pair of the table with both signs and escapes of every
// form, dealt out over the blocks of a normal-resolution picture whose DC
// values jump by every size and whose macroblocks change quantiser.
QuantisedPicture EveryCodePicture()
{
    std::vector<RunLevelPair> tokens = {{0, 41},  {0, -41},  {0, 127}, {0, -127}, {0, 128}, {0, -128}, {0, 255},
                                        {0, -255}, {32, 1}, {40, -2},  {62, 1},   {17, 2},  {6, -4},   {1, 19}};
    for (const Mpeg1Vlc::RunLevelCode& e : Mpeg1Vlc::kRunLevelTable)
        for (int sign : {1, -1})
            tokens.push_back(RunLevelPair{e.run, static_cast<int16_t>(sign * e.level)});
    QuantisedPicture p;
    p.mbWidth = 22;
    p.mbHeight = 18;
    uint32_t state = 3;
    auto random = [&state]() { return (state = state * 1664525u + 1013904223u) >> 16; };
    size_t next = 0;
    for (int block = 0; block < p.mbWidth * p.mbHeight * 6; ++block) {
        if (block % 6 == 0)
            p.quantiser.push_back(static_cast<uint8_t>(1 + random() % 4));
        const uint32_t kind = random() % 4;  // the same DC again, an extreme one or any
        const uint32_t dc = kind == 0 && block ? p.dc.back() : kind == 1 ? 255 * (random() % 2) : random();
        p.dc.push_back(static_cast<uint8_t>(dc));
        for (int pos = 0; next < tokens.size() && pos + tokens[next].run < 63 && random() % 3; ++next) {
            pos += tokens[next].run + 1;
            p.ac.push_back(tokens[next]);
        }
        p.acEnd.push_back(static_cast<uint32_t>(p.ac.size()));
    }
    EXPECT_EQ(next, tokens.size());
    return p;
}

}  // namespace

TEST(StillEncoder, HeaderFieldsReadBack)
{
    struct Case {
        StillFormat format;
        Pattern pattern;
        int quantiser;
    } cases[] = {{kPalNormal, Pattern::Mixed, 5}, {kNtscNormal, Pattern::Mixed, 9}, {kPalHigh, Pattern::Mixed, 1},
                 {kNtscHigh, Pattern::Mixed, 31}, {kPalHigh, Pattern::Flat, 4}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.format.Height()) + " lines, quantiser " + std::to_string(c.quantiser));
        const std::vector<uint8_t> s = EncodeStill(MakeFrame(c.format, c.pattern), c.format, c.quantiser).stream;
        // A high-resolution picture declares its size with at least 1 KB to spare.
        const size_t vbv = c.format.high ? std::max<size_t>(23, (s.size() + 1024 + 2047) / 2048) : 23;
        // Sequence header, GOP header, picture header: {width, expected value}.
        const std::pair<int, uint32_t> fields[] = {
            {32, 0x1B3}, {12, uint32_t(c.format.Width())}, {12, uint32_t(c.format.Height())},
            {4, c.format.ntsc ? 12u : 8u}, {4, c.format.ntsc ? 4u : 3u}, {18, 0x3FFFF}, {1, 1},
            {10, uint32_t(vbv)}, {3, 0},
            {32, 0x1B8}, {12, 0}, {1, 1}, {12, 0}, {1, 1}, {1, 0}, {5, 0},
            {32, 0x100}, {10, 0}, {3, 1}, {16, 0xFFFF}, {1, 0}};
        BitReader r{s, 0};
        for (const auto& [width, value] : fields)
            EXPECT_EQ(r.Get(width), value) << "field ending at bit " << r.bit;
        EXPECT_LE(s.size() + (c.format.high ? 1024 : 0), vbv * 2048);
        // One slice per macroblock row, in order, at the quantiser; then only the end code.
        const std::vector<size_t> codes = StartCodes(s);
        const size_t rows = c.format.Height() / 16;
        ASSERT_EQ(codes.size(), 3 + rows + 1);
        for (size_t row = 0; row < rows; ++row) {
            BitReader slice{s, codes[3 + row] * 8};
            EXPECT_EQ(slice.Get(32), 0x101 + row);
            EXPECT_EQ(slice.Get(6), static_cast<uint32_t>(c.quantiser) << 1);  // and extra_bit_slice 0
        }
        EXPECT_EQ(codes.back(), s.size() - 4);
        EXPECT_EQ(s.back(), 0xB7);
    }
}

TEST(StillEncoder, DctMatchesItsDefinition)
{
    const double pi = std::acos(-1.0);
    uint8_t block[8 * 10];  // rows 10 bytes apart
    for (int trial = 0; trial < 20; ++trial) {
        for (int i = 0; i < 80; ++i)
            block[i] = static_cast<uint8_t>(trial == 0   ? 255
                                            : trial == 1 ? (i + i / 10) % 2 * 255  // checkerboard
                                                         : (i * 73 + trial * 151) % 256);
        float scaled[64];
        ForwardDct::TransformScaled(block, 10, scaled);
        for (int n = 0; n < 64; ++n) {
            const int u = n % 8, v = n / 8;
            double sum = 0;
            for (int y = 0; y < 8; ++y)
                for (int x = 0; x < 8; ++x)
                    sum += block[y * 10 + x] * std::cos((2 * x + 1) * u * pi / 16) *
                           std::cos((2 * y + 1) * v * pi / 16);
            const double expected = (u ? 1 : std::sqrt(0.5)) * (v ? 1 : std::sqrt(0.5)) / 4 * sum;
            ASSERT_NEAR(scaled[n] * ForwardDct::DescaleFactors()[n], expected, 0.01)
                << "trial " << trial << ", u " << u << " v " << v;
        }
    }
}

TEST(StillEncoder, EscapesAndDcDifferentials)
{
    const struct {
        int run, level;
        const char* bits;
    } ac[] = {{0, 1, "110"}, {2, -1, "01011"}, {0, 41, "000001000000" "00101001"}, {32, 1, "000001100000" "00000001"},
              {62, -1, "000001111110" "11111111"}, {0, -127, "000001000000" "10000001"},
              {0, 128, "000001000000" "0000000010000000"}, {0, 255, "000001000000" "0000000011111111"},
              {0, -128, "000001000000" "1000000010000000"}, {3, -255, "000001000011" "1000000000000001"}};
    for (const auto& c : ac)
        EXPECT_EQ(WrittenBits([&](BitWriter& out) { Mpeg1Vlc::PutAc(out, c.run, c.level); }), c.bits)
            << c.run << "/" << c.level;
    const struct {
        int diff;
        bool chroma;
        const char* bits;
    } dc[] = {{0, false, "100"}, {0, true, "00"}, {1, false, "001"}, {-1, false, "000"}, {-2, true, "1001"},
              {-4, false, "101011"}, {255, false, "111111011111111"}, {-255, true, "1111111000000000"}};
    for (const auto& c : dc)
        EXPECT_EQ(WrittenBits([&](BitWriter& out) { Mpeg1Vlc::PutDcDifferential(out, c.diff, c.chroma); }), c.bits)
            << c.diff;
}

TEST(StillEncoder, EveryCodeDecodesToTheLevelsSent)
{
    SKIP_WITHOUT_TOOL("ffmpeg");
    TempDir dir;
    const QuantisedPicture picture = EveryCodePicture();
    std::vector<uint8_t> s = EncodeStill(MakeFrame(kPalNormal, Pattern::Flat), kPalNormal, 1).stream;
    s.resize(StartCodes(s)[3]);  // its headers, then our slices
    BitWriter slices;
    WriteIntraSlices(picture, 2, slices);
    s.insert(s.end(), slices.Bytes().begin(), slices.Bytes().end());
    s.insert(s.end(), {0, 0, 1, 0xB7});
    // Inverse DCTs differ by rounding only; a misread code would derail the rest of its slice.
    EXPECT_LE(LargestDifference(DecodeWithFfmpeg(dir, s, "-f mpegvideo"), Decode(picture)), 1);
    // So must the encoder's own pictures, with their quantiser changes for strong edges.
    const YCbCrFrame bars = MakeFrame(kPalNormal, Pattern::Bars);
    EXPECT_LE(LargestDifference(DecodeWithFfmpeg(dir, EncodeStill(bars, kPalNormal, 1).stream, "-f mpegvideo"),
                                Decode(FrameCoefficients(bars).Quantise(1))), 1);
}

TEST(StillEncoder, QualityFollowsTheQuantiser)
{
    SKIP_WITHOUT_TOOL("ffmpeg");
    TempDir dir;
    // Luminance PSNR measured with ffmpeg 5.1 (PAL and NTSC within 0.1 dB), less about 1 dB.
    const struct {
        Pattern pattern;
        int quantiser;
        double psnr;
    } cases[] = {{Pattern::Mixed, 1, 47}, {Pattern::Mixed, 2, 43.5}, {Pattern::Mixed, 4, 38}, {Pattern::Mixed, 8, 32.5},
                 {Pattern::Mixed, 16, 27}, {Pattern::Mixed, 31, 22}, {Pattern::Bars, 1, 50}};
    for (const StillFormat& format : {kPalNormal, kNtscNormal})
        for (const auto& c : cases) {
            const YCbCrFrame frame = MakeFrame(format, c.pattern);
            const std::vector<uint8_t> stream = EncodeStill(frame, format, c.quantiser).stream;
            EXPECT_GE(PsnrY(frame, DecodeWithFfmpeg(dir, stream, "-f mpegvideo")), c.psnr)
                << format.Height() << " lines, quantiser " << c.quantiser;
        }
}

TEST(StillEncoder, PhotosKeepTheirDetailWithinBudget)
{
    SKIP_WITHOUT_TOOL("ffmpeg");
    TempDir dir;
    // goexif_sample1 is the most detailed of the corpus photos.
    const std::pair<const char*, StillFormat> cases[] = {{"goexif_sample1.jpg", kPalNormal},
                                                         {"goexif_sample1.jpg", kPalHigh},
                                                         {"kpa_snow.jpg", kNtscHigh},
                                                         {"mate_Wood.jpg", kPalHigh}};
    for (const auto& [photo, format] : cases) {
        SCOPED_TRACE(std::string(photo) + ", " + std::to_string(format.Height()) + " lines");
        // Fitted into the 4:3 canvas and resampled to the raster, as the framer does it.
        const std::string raster = std::to_string(format.Width()) + ":" + std::to_string(format.Height());
        const std::string canvas = format.ntsc ? "640:480" : "768:576", yuv = dir.File("photo.yuv");
        ASSERT_TRUE(RunQuietly("ffmpeg -v error -y -i " + std::string(SNAPDISC_CORPUS_DIR) + "/photos/" + photo +
                               " -vf 'scale=" + canvas + ":force_original_aspect_ratio=decrease,pad=" + canvas +
                               ":(ow-iw)/2:(oh-ih)/2,scale=" + raster +
                               ":flags=lanczos,format=yuv420p' -f rawvideo " + yuv));
        const std::string bytes = TempDir::Read(yuv);
        YCbCrFrame frame = MakeFrame(format, Pattern::Flat);
        ASSERT_EQ(bytes.size(), frame.y.size() * 3 / 2);
        const auto cb = bytes.begin() + frame.y.size(), cr = cb + frame.cb.size();
        frame.y.assign(bytes.begin(), cb), frame.cb.assign(cb, cr), frame.cr.assign(cr, bytes.end());
        const EncodedStill still = EncodeStillWithinBudget(frame, format);
        EXPECT_LE(still.stream.size(), StillBudgetFor(format).target);
        EXPECT_GE(PsnrY(frame, DecodeWithFfmpeg(dir, still.stream, "-f mpegvideo")), 38.0);
    }
}

TEST(StillEncoder, ChoosesTheFinestQuantiserThatFits)
{
    const struct {
        StillFormat format;
        Pattern pattern;
    } cases[] = {{kPalNormal, Pattern::Flat}, {kPalNormal, Pattern::Mixed}, {kPalNormal, Pattern::Noise},
                 {kNtscNormal, Pattern::Mixed}, {kPalHigh, Pattern::Mixed}, {kPalHigh, Pattern::Noise},
                 {kNtscHigh, Pattern::Bars}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.format.Height()) + " lines, pattern " +
                     std::to_string(static_cast<int>(c.pattern)));
        const YCbCrFrame frame = MakeFrame(c.format, c.pattern);
        const EncodedStill chosen = EncodeStillWithinBudget(frame, c.format);
        const size_t target = StillBudgetFor(c.format).target;
        ASSERT_GE(chosen.quantiser, 1);
        EXPECT_LE(chosen.stream.size(), target);
        EXPECT_EQ(chosen.stream, EncodeStill(frame, c.format, chosen.quantiser).stream);
        if (chosen.quantiser > 1) {
            EXPECT_GT(EncodeStill(frame, c.format, chosen.quantiser - 1).stream.size(), target);
        } else if (c.pattern == Pattern::Flat) {  // DC differences of 0 and end of block: 5 bits a block
            EXPECT_LT(chosen.stream.size(), frame.y.size() * 3 / 2 / 64 + 1024);
        }
        // The search counts sizes without writing: the counts are the written sizes.
        const FrameCoefficients coefficients(frame);
        for (const IntraQuantisation q : {IntraQuantisation{1, 64}, IntraQuantisation{7, 64}, IntraQuantisation{31, 6}})
            EXPECT_EQ(IntraSlicesBytes(coefficients, q), WriteIntraSlices(coefficients, q).size()) << q.quantiser;
    }
}

TEST(StillEncoder, WorstContentStillMakesValidStills)
{
    // Normal resolution cannot take hard noise even at quantiser 31: it
    // drops high frequencies until the picture fits.
    const YCbCrFrame hardNoise = MakeFrame(kPalNormal, Pattern::HardNoise);
    ASSERT_GT(EncodeStill(hardNoise, kPalNormal, 31).stream.size(), StillBudgetFor(kPalNormal).limit);
    const EncodedStill normal = EncodeStillWithinBudget(hardNoise, kPalNormal);
    EXPECT_EQ(normal.quantiser, 31);
    EXPECT_LT(normal.coefficients, 64);
    EXPECT_LE(normal.stream.size(), StillBudgetFor(kPalNormal).target);
    const EncodedStill noise = EncodeStillWithinBudget(MakeFrame(kPalNormal, Pattern::Noise), kPalNormal);
    EXPECT_LE(noise.stream.size(), 46u * 1024);
    const EncodedStill high = EncodeStillWithinBudget(MakeFrame(kPalHigh, Pattern::HardNoise), kPalHigh);
    EXPECT_LE(high.stream.size(), StillBudgetFor(kPalHigh).limit);

    SKIP_WITHOUT_TOOL("mplex");
    SKIP_WITHOUT_TOOL("ffmpeg");
    TempDir dir;
    for (const EncodedStill* still : {&normal, &noise, &high}) {
        EXPECT_FALSE(DecodeWithFfmpeg(dir, still->stream, "-f mpegvideo").empty());
        const std::string in = dir.Write("still.m1v", AsString(still->stream)), out = dir.File("still.mpg");
        EXPECT_TRUE(RunQuietly("mplex -v 0 -f 6 -o " + out + " " + in) && !TempDir::Read(out).empty());
    }
}

TEST(StillEncoder, IsDeterministic)
{
    const YCbCrFrame frame = MakeFrame(kPalHigh, Pattern::Mixed);
    const std::vector<uint8_t> first = EncodeStillWithinBudget(frame, kPalHigh).stream;
    std::vector<std::vector<uint8_t>> junk(32, std::vector<uint8_t>(300000, 0xA5));  // so that unwritten memory shows
    junk.clear();
    EXPECT_EQ(EncodeStillWithinBudget(YCbCrFrame(frame), kPalHigh).stream, first);
}

TEST(StillEncoder, RejectsFramesAndQuantisersItCannotCode)
{
    const YCbCrFrame good = MakeFrame(kPalNormal, Pattern::Mixed);
    YCbCrFrame shortChroma = good;
    shortChroma.cr.pop_back();
    EXPECT_TRUE(EncodeStill(MakeFrame(kNtscNormal, Pattern::Flat), kPalNormal, 4).stream.empty());
    EXPECT_TRUE(EncodeStillWithinBudget(good, kPalHigh).stream.empty());
    EXPECT_TRUE(EncodeStillWithinBudget(shortChroma, kPalNormal).stream.empty());
    EXPECT_TRUE(EncodeStill(good, kPalNormal, 0).stream.empty());
    EXPECT_TRUE(EncodeStill(good, kPalNormal, 32).stream.empty());
    EXPECT_FALSE(EncodeStill(good, kPalNormal, 31).stream.empty());
}
