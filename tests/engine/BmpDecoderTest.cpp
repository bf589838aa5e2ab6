#include "engine/picture/BmpDecoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes ReadCorpusFile(const std::string& name)
{
    std::ifstream in(std::string(SNAPDISC_CORPUS_DIR) + "/" + name, std::ios::binary);
    EXPECT_TRUE(in.is_open()) << name;
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

DecodeResult Decode(const Bytes& bytes)
{
    return DecodeBmp(bytes.data(), bytes.size());
}

// Largest difference of one channel between two pictures of the same size.
int MaxDifference(const Image& a, const Image& b)
{
    int largest = 0;
    for (size_t i = 0; i < a.rgb.size() && i < b.rgb.size(); ++i)
        largest = std::max(largest, std::abs(a.rgb[i] - b.rgb[i]));
    return largest;
}

// The pixels, top row first, one letter each: Red Green Blue White blacK
// Slate (0x123456), '?' for anything else.
std::string Letters(const Image& image)
{
    const std::pair<char, uint32_t> known[] = {{'R', 0xFF0000}, {'G', 0x00FF00}, {'B', 0x0000FF},
                                               {'W', 0xFFFFFF}, {'K', 0x000000}, {'S', 0x123456}};
    std::string letters;
    for (size_t i = 0; i + 2 < image.rgb.size(); i += 3) {
        const uint32_t rgb = image.rgb[i] << 16 | image.rgb[i + 1] << 8 | image.rgb[i + 2];
        auto it = std::find_if(std::begin(known), std::end(known),
                               [&](auto& k) { return k.second == rgb; });
        letters += it == std::end(known) ? '?' : it->first;
    }
    return letters;
}

void PutU16(Bytes& b, size_t at, uint32_t v)
{
    b[at] = static_cast<uint8_t>(v);
    b[at + 1] = static_cast<uint8_t>(v >> 8);
}

void PutU32(Bytes& b, size_t at, uint32_t v)
{
    PutU16(b, at, v & 0xFFFF);
    PutU16(b, at + 2, v >> 16);
}

Bytes Patched(Bytes b, size_t at, uint32_t v)
{
    PutU32(b, at, v);
    return b;
}

// A bitmap file written field by field. Paletted ones get the colours of
// Letters in that order (index 0 red ... 5 slate), then grey.
struct TestBmp {
    TestBmp(uint16_t bpp, int32_t width, int32_t height, Bytes pixels)
        : bpp(bpp), width(width), height(height), pixels(std::move(pixels))
    {
    }
    TestBmp& Header(uint32_t size) { headerSize = size; return *this; }
    TestBmp& Compression(uint32_t c) { compression = c; return *this; }
    TestBmp& Masks(std::vector<uint32_t> m) { masks = std::move(m); return *this; }
    TestBmp& Colours(uint32_t n) { colours = n; return *this; }
    TestBmp& SizeImage(uint32_t n) { sizeImage = n; return *this; }

    Bytes Write() const
    {
        const bool core = headerSize == 12;
        Bytes b(14 + headerSize, 0);
        b[0] = 'B';
        b[1] = 'M';
        PutU32(b, 14, headerSize);
        if (core) {
            PutU16(b, 18, width);
            PutU16(b, 20, height);
            PutU16(b, 22, 1);
            PutU16(b, 24, bpp);
        } else {
            PutU32(b, 18, width);
            PutU32(b, 22, height);
            PutU16(b, 26, 1);
            PutU16(b, 28, bpp);
            PutU32(b, 30, compression);
            PutU32(b, 34, sizeImage);
            PutU32(b, 46, colours);
        }
        if (!masks.empty())
            b.resize(std::max(b.size(), 54 + 4 * masks.size()));
        for (size_t i = 0; i < masks.size(); ++i)
            PutU32(b, 54 + 4 * i, masks[i]);
        AppendPalette(b, core);
        PutU32(b, 10, static_cast<uint32_t>(b.size()));
        b.insert(b.end(), pixels.begin(), pixels.end());
        return b;
    }

    void AppendPalette(Bytes& b, bool core) const
    {
        const uint32_t six[] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0x000000, 0x123456};
        const uint32_t count = bpp > 8 ? 0 : colours ? colours : 1u << bpp;
        for (uint32_t i = 0; i < count; ++i) {
            const uint32_t rgb = i < 6 ? six[i] : 0x808080;
            b.insert(b.end(), {uint8_t(rgb), uint8_t(rgb >> 8), uint8_t(rgb >> 16)});
            if (!core)
                b.push_back(0);
        }
    }

    uint16_t bpp;
    int32_t width;
    int32_t height;
    Bytes pixels;  // as stored, padding included
    uint32_t headerSize = 40;
    uint32_t compression = 0;
    uint32_t colours = 0;
    uint32_t sizeImage = 0;
    std::vector<uint32_t> masks;  // at offset 40 of the bitmap header, inside it or after it
};

}  // namespace

TEST(BmpCorpus, EveryFileDecodesToTheSizeInTheManifest)
{
    std::ifstream manifest(std::string(SNAPDISC_CORPUS_DIR) + "/MANIFEST.tsv");
    std::string line;
    int files = 0;
    while (std::getline(manifest, line)) {
        std::istringstream fields(line);
        std::string file, bytes, dims;
        std::getline(std::getline(std::getline(fields, file, '\t'), bytes, '\t'), dims, '\t');
        if (file.rfind("bmp/", 0) != 0)
            continue;
        ++files;
        DecodeResult r = Decode(ReadCorpusFile(file));
        ASSERT_TRUE(r.ok) << file << ": " << r.error;
        EXPECT_EQ(dims, std::to_string(r.image.width) + "x" + std::to_string(r.image.height))
            << file;
        EXPECT_EQ(size_t(r.image.width) * r.image.height * 3, r.image.rgb.size()) << file;
    }
    EXPECT_EQ(34, files);
}

// Each row is one picture stored several ways. 16-bit copies may be one
// step of a 5-bit channel away.
TEST(BmpCorpus, CopiesOfOnePictureDecodeAlike)
{
    const struct {
        const char* reference;
        int tolerance;
        std::vector<const char*> copies;
    } cases[] = {
        {"bmp/rgb24.bmp", 0,
         {"bmp/rgb24_topdown.bmp", "bmp/rgb24_v4.bmp", "bmp/rgb24_v5.bmp", "bmp/rgb24_os2_core.bmp",
          "bmp/rgb24_sizeimage0.bmp", "bmp/rgb32_bi_rgb_x0.bmp", "bmp/rgb32_bitfields_info.bmp",
          "bmp/rgb32_bitfields_rgbx_masks.bmp", "bmp/rgba32_v5_alpha.bmp" /* alpha ignored */,
          "invalid/gen_bmp_named.jpg"}},
        {"bmp/rgb24.bmp", 8,
         {"bmp/rgb16_555_bi_rgb.bmp", "bmp/rgb16_555_bitfields.bmp", "bmp/rgb16_565_bitfields.bmp",
          "bmp/rgb16_565_v5.bmp"}},
        {"bmp/pal8.bmp", 0,
         {"bmp/pal8_os2_core.bmp", "bmp/pal8_topdown.bmp", "bmp/rle8.bmp",
          "invalid/gen_bmp_clrused_huge.bmp" /* colour count taken as 256 */}},
        {"bmp/pal4.bmp", 0, {"bmp/pal4_os2_core.bmp", "bmp/rle4.bmp"}},
        {"bmp/pal1.bmp", 0, {"bmp/pal1_index0_white.bmp", "bmp/pal1_os2_core.bmp"}},
        {"bmp/goximage_yellow_rose-small.bmp", 0, {"bmp/goximage_yellow_rose-small-v5.bmp"}},
    };
    for (const auto& c : cases) {
        DecodeResult a = Decode(ReadCorpusFile(c.reference));
        ASSERT_TRUE(a.ok) << c.reference << ": " << a.error;
        for (const char* copy : c.copies) {
            DecodeResult b = Decode(ReadCorpusFile(copy));
            ASSERT_TRUE(b.ok) << copy << ": " << b.error;
            ASSERT_EQ(a.image.width, b.image.width) << copy;
            ASSERT_EQ(a.image.height, b.image.height) << copy;
            EXPECT_LE(MaxDifference(a.image, b.image), c.tolerance) << copy;
        }
    }
}

// nullptr: decoded after all, with runs clipped to the picture and indices
// beyond the palette black (the hand-written cases below check both).
TEST(BmpCorpus, BrokenFilesAreRefusedWithAReason)
{
    const std::pair<const char*, const char*> cases[] = {
        {"gen_bmp_bitcount_7.bmp", "bit depth"},
        {"gen_bmp_bomb_20000x15000_no_data.bmp", "100 megapixels"},  // before looking for the data
        {"gen_bmp_rle8_bomb_20000x15000.bmp", "100 megapixels"},
        {"gen_bmp_huge_dims_no_data.bmp", "100 megapixels"},
        {"gen_bmp_width_height_overflow.bmp", "32768 pixels on a side"},
        {"gen_bmp_compression_99.bmp", "unsupported compression 99"},
        {"gen_bmp_header_only.bmp", "ends before the pixel data is complete"},
        {"gen_bmp_truncated_pixels.bmp", "ends before the pixel data is complete"},
        {"gen_bmp_header_size_13.bmp", "header size (13 bytes)"},
        {"gen_bmp_height_zero.bmp", "size is zero"},
        {"gen_bmp_width_zero.bmp", "size is zero"},
        {"gen_bmp_width_negative.bmp", "negative"},
        {"gen_bmp_offbits_past_eof.bmp", "past the end"},
        {"gen_bmp_offbits_zero.bmp", "inside the bitmap header"},
        {"gen_bmp_planes_2.bmp", "planes"},
        {"gen_bmp_rle8_topdown.bmp", "top to bottom"},
        {"gen_bmp_signature_BA.bmp", "not a BMP file"},
        {"gen_empty.bmp", "not a BMP file"},
        {"gen_jpeg_named.bmp", "not a BMP file"},
        {"gen_text_bm_prefix.bmp", "header size"},
        {"gen_bmp_rle8_overrun.bmp", nullptr},
        {"gen_bmp_pal8_index_beyond_palette.bmp", nullptr},
    };
    for (const auto& [name, reason] : cases) {
        DecodeResult r = Decode(ReadCorpusFile(std::string("invalid/") + name));
        EXPECT_EQ(reason == nullptr, r.ok) << name;
        EXPECT_EQ(r.ok, !r.image.rgb.empty()) << name;
        if (reason) {
            EXPECT_NE(std::string::npos, r.error.find(reason)) << name << ": " << r.error;
        }
    }
}

namespace {

struct PixelCase {
    const char* name;
    TestBmp bmp;
    const char* expected;  // Letters of the decoded picture
};

// Hand-written files of every layout. Bytes 0xEE are row padding or unused
// bits that must not show.
std::vector<PixelCase> PixelCases()
{
    const Bytes bgrUp = {0xFF, 0xFF, 0xFF, 0, 0, 0, 0x56, 0x34, 0x12, 0xEE, 0xEE, 0xEE,
                         0, 0, 0xFF, 0, 0xFF, 0, 0xFF, 0, 0, 0xEE, 0xEE, 0xEE};
    const Bytes bgrDown = {0, 0, 0xFF, 0, 0xFF, 0, 0xFF, 0, 0, 0xEE, 0xEE, 0xEE,
                           0xFF, 0xFF, 0xFF, 0, 0, 0, 0x56, 0x34, 0x12, 0xEE, 0xEE, 0xEE};
    const Bytes bgrx = {0xFF, 0xFF, 0xFF, 0xEE, 0, 0, 0, 0xEE, 0x56, 0x34, 0x12, 0xEE,
                        0, 0, 0xFF, 0xEE, 0, 0xFF, 0, 0xEE, 0xFF, 0, 0, 0xEE};
    const Bytes index8 = {3, 4, 5, 0xEE, 0, 1, 2, 0xEE};
    const Bytes index4 = {0x34, 0x5E, 0xEE, 0xEE, 0x01, 0x2E, 0xEE, 0xEE};
    const Bytes rgb565 = {0x00, 0xF8, 0xE0, 0x07, 0x1F, 0x00, 0xEE, 0xEE};
    const std::vector<uint32_t> masks565 = {0xF800, 0x07E0, 0x001F};
    return {
        {"24 bits", TestBmp(24, 3, 2, bgrUp), "RGBWKS"},
        {"24 bits, top-down", TestBmp(24, 3, -2, bgrDown), "RGBWKS"},
        {"24 bits, OS/2", TestBmp(24, 3, 2, bgrUp).Header(12), "RGBWKS"},
        {"32 bits, fourth byte unused", TestBmp(32, 3, 2, bgrx), "RGBWKS"},
        {"8 bits", TestBmp(8, 3, 2, index8), "RGBWKS"},
        {"8 bits, V5", TestBmp(8, 3, 2, index8).Header(124), "RGBWKS"},
        {"8 bits, OS/2", TestBmp(8, 3, 2, index8).Header(12), "RGBWKS"},
        {"8 bits, 2 colours", TestBmp(8, 4, 1, {0, 1, 2, 255}).Colours(2), "RGKK"},
        {"4 bits", TestBmp(4, 3, 2, index4), "RGBWKS"},
        {"1 bit, 1x1", TestBmp(1, 1, 1, {0x80, 0, 0, 0}), "G"},
        {"1 bit, unused bits set", TestBmp(1, 1, 1, {0x7F, 0xEE, 0xEE, 0xEE}), "R"},
        {"1 bit, 9 wide", TestBmp(1, 9, 1, {0xB0, 0x80, 0, 0}), "GRGGRRRRG"},
        {"5-5-5, top bit unused", TestBmp(16, 3, 1, {0, 0xFC, 0xE0, 0x83, 0x1F, 0x80, 0, 0}),
         "RGB"},
        {"5-6-5 after the header", TestBmp(16, 3, 1, rgb565).Compression(3).Masks(masks565), "RGB"},
        {"5-6-5, V4", TestBmp(16, 3, 1, rgb565).Header(108).Compression(3).Masks(masks565), "RGB"},
        {"B-G-R masks, 52-byte header",
         TestBmp(32, 3, 1, {0xFF, 0, 0, 0, 0, 0xFF, 0, 0, 0, 0, 0xFF, 0})
             .Header(52).Compression(3).Masks({0xFF, 0xFF00, 0xFF0000}),
         "RGB"},
        {"R-G-B-A masks after the header",
         TestBmp(32, 3, 1, {0xEE, 0, 0, 0xFF, 0xEE, 0, 0xFF, 0, 0xEE, 0xFF, 0, 0})
             .Compression(6).Masks({0xFF000000, 0xFF0000, 0xFF00, 0xFF}),
         "RGB"},
        {"10-10-10-2, 56-byte header",
         TestBmp(32, 3, 1, {0, 0, 0xF0, 0xFF, 0, 0xFC, 0x0F, 0xC0, 0xFF, 0x03, 0, 0xC0})
             .Header(56).Compression(6).Masks({0x3FF00000, 0xFFC00, 0x3FF, 0xC0000000}),
         "RGB"},
        // RLE codes: n c = a run; 0 0 = end of line; 0 1 = end of bitmap;
        // 0 2 dx dy = move; 0 n (n >= 3) = n literal indices, padded to a word.
        {"RLE8: runs, literals, a move, clipping",
         TestBmp(8, 4, 3, {10, 0, 0, 0, 0, 3, 1, 2, 1, 0xEE, 0, 2, 0, 1, 1, 2, 0, 1})
             .Compression(1),
         "KKKBGBGKRRRR"},
        {"RLE4: odd literals, run past the edge",
         TestBmp(4, 6, 1, {0, 5, 0x01, 0x20, 0x1E, 0xEE, 2, 0x20, 0, 1}).Compression(2), "RGBRGB"},
        {"RLE8: early end of bitmap", TestBmp(8, 2, 2, {2, 0, 0, 1, 2, 1}).Compression(1), "KKRR"},
    };
}

bool IsRle(const TestBmp& bmp)
{
    return bmp.compression == 1 || bmp.compression == 2;
}

// Decoded or refused, never half of each.
void ExpectWholeResult(const DecodeResult& r, const std::string& what)
{
    EXPECT_EQ(r.ok, r.error.empty()) << what;
    if (r.ok) {
        EXPECT_GT(r.image.width, 0) << what;
        EXPECT_GT(r.image.height, 0) << what;
        EXPECT_EQ(size_t(r.image.width) * r.image.height * 3, r.image.rgb.size()) << what;
    }
}

}  // namespace

TEST(BmpDecoder, HandWrittenFilesGiveTheirPixels)
{
    for (const PixelCase& c : PixelCases()) {
        DecodeResult r = Decode(c.bmp.Write());
        ASSERT_TRUE(r.ok) << c.name << ": " << r.error;
        EXPECT_EQ(c.expected, Letters(r.image)) << c.name;
    }
}

TEST(BmpDecoder, BrokenHeadersAreRefusedWithAReason)
{
    const Bytes rgb = TestBmp(24, 3, 2, Bytes(24, 0)).Write();
    const Bytes paletted = TestBmp(8, 3, 2, Bytes(8, 0)).Write();
    auto masks = [](std::vector<uint32_t> m) {
        return TestBmp(16, 3, 2, Bytes(16, 0)).Compression(3).Masks(m).Write();
    };
    const struct {
        const char* name;
        Bytes file;
        const char* reason;
    } cases[] = {
        {"RLE8 at 24 bits", Patched(rgb, 30, 1), "compression 1 cannot be used with 24 bits"},
        {"height -2^31", Patched(rgb, 22, 0x80000000), "32768 pixels"},
        {"pixels past the end", Patched(rgb, 10, uint32_t(rgb.size() + 1)), "past the end"},
        {"pixels inside the palette", Patched(paletted, 10, 60), "inside the bitmap header"},
        {"cut in the palette", Bytes(paletted.begin(), paletted.begin() + 100), "colour table"},
        {"16 bits, OS/2", TestBmp(16, 3, 2, Bytes(16, 0)).Header(12).Write(), "bit depth"},
        {"gaps in a mask", masks({0xF000, 0x0F00, 0x00F5}), "colour masks"},
        {"overlapping masks", masks({0xF800, 0x0FE0, 0x001F}), "colour masks"},
        {"mask beyond 16 bits", masks({0x1F0000, 0x07E0, 0x001F}), "colour masks"},
    };
    for (const auto& c : cases) {
        DecodeResult r = Decode(c.file);
        EXPECT_FALSE(r.ok) << c.name;
        EXPECT_NE(std::string::npos, r.error.find(c.reason)) << c.name << ": " << r.error;
    }
}

// The size limits at and just past them: a header within them goes on to
// look for its pixels (which these files lack), one beyond is refused first.
TEST(BmpDecoder, SizeLimits)
{
    const Bytes rgb = TestBmp(24, 3, 2, Bytes(24, 0)).Write();
    auto sized = [&](int32_t width, int32_t height) {
        return Patched(Patched(rgb, 18, uint32_t(width)), 22, uint32_t(height));
    };
    const struct {
        int32_t width, height;
        const char* reason;
    } cases[] = {
        {32768, 1, "ends before the pixel data is complete"},
        {32769, 1, "larger than 32768 pixels on a side"},
        {1, -32768, "ends before the pixel data is complete"},
        {1, -32769, "larger than 32768 pixels on a side"},
        {10000, 10000, "ends before the pixel data is complete"},
        {10000, 10001, "larger than 100 megapixels"},
    };
    for (const auto& c : cases) {
        DecodeResult r = Decode(sized(c.width, c.height));
        EXPECT_NE(std::string::npos, r.error.find(c.reason)) << c.width << "x" << c.height << ": " << r.error;
    }
}

// RLE data must reach the last line; the end-of-bitmap code may be missing.
TEST(BmpDecoder, RleDataThatStopsShortIsRefused)
{
    const struct {
        Bytes codes;
        uint32_t sizeImage;  // 0: up to the end of the file
        bool ok;
    } cases[] = {
        {{2, 1, 0, 0, 2, 2}, 0, true},        // last line full, no end code
        {{2, 1, 0, 0, 2, 2, 0, 0}, 0, true},  // ends with an end of line
        {{2, 1, 0, 0, 2, 2, 0, 1}, 6, true},  // the coded size leaves out the end code
        {{2, 1, 0, 0, 2, 2, 0, 1}, 4, false},
        {{2, 1, 0, 0, 2, 2, 0, 1}, 9, false},  // coded size past the end of the file
        {{2, 1, 0, 0}, 0, false},
        {{2, 1, 0, 0, 0, 3, 1}, 0, false},  // literals cut short
        {{2, 1, 0, 2, 0}, 0, false},        // move cut short
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        TestBmp bmp = TestBmp(8, 2, 2, cases[i].codes).Compression(1).SizeImage(cases[i].sizeImage);
        DecodeResult r = Decode(bmp.Write());
        EXPECT_EQ(cases[i].ok, r.ok) << "case " << i << ": " << r.error;
        if (!cases[i].ok) {
            EXPECT_EQ("the file ends before the pixel data is complete", r.error) << "case " << i;
        }
    }
}

// Under the address sanitizer these also find any read past the buffer:
// each cut file is a buffer of its own.
TEST(BmpDecoder, EveryTruncationIsHandled)
{
    for (const PixelCase& c : PixelCases()) {
        const Bytes file = c.bmp.Write();
        for (size_t length = 0; length < file.size(); ++length) {
            DecodeResult r = Decode(Bytes(file.begin(), file.begin() + length));
            ExpectWholeResult(r, std::string(c.name) + ", length " + std::to_string(length));
            if (!IsRle(c.bmp)) {
                EXPECT_FALSE(r.ok) << c.name << ", length " << length;
            }
        }
    }
}

TEST(BmpDecoder, EveryChangedHeaderByteIsHandled)
{
    std::vector<Bytes> files = {ReadCorpusFile("bmp/goximage_yellow_rose-small-v5.bmp")};
    for (const PixelCase& c : PixelCases())
        files.push_back(c.bmp.Write());
    for (const Bytes& file : files) {
        for (size_t i = 0; i < std::min<size_t>(file.size(), 160); ++i) {
            const uint8_t values[] = {0x00, 0xFF, 0x80, uint8_t(file[i] ^ 0x01)};
            for (uint8_t value : values) {
                Bytes changed = file;
                changed[i] = value;
                ExpectWholeResult(Decode(changed), "byte " + std::to_string(i));
            }
        }
    }
}
