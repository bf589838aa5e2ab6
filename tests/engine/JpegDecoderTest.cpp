#include "engine/picture/JpegDecoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "JpegCorpus.h"

namespace {

using Bytes = std::vector<uint8_t>;
using corpus::StartsWith;

DecodeResult DecodeBytes(const Bytes& bytes, int boxWidth = 0, int boxHeight = 0)
{
    return DecodeJpeg(bytes.data(), bytes.size(), boxWidth, boxHeight);
}

DecodeResult DecodeFile(const std::string& file, int boxWidth = 0, int boxHeight = 0)
{
    return DecodeBytes(corpus::Bytes(file), boxWidth, boxHeight);
}

// Where the first segment with a marker in first..last starts.
size_t FindSegment(const Bytes& file, uint8_t first, uint8_t last)
{
    size_t pos = 2;
    while (file.at(pos + 1) < first || file.at(pos + 1) > last)
        pos += 2 + (file.at(pos + 2) << 8 | file.at(pos + 3));
    return pos;
}

// The first scan of a progressive file, repeated: a hostile file that
// would keep the decoder busy.
Bytes RepeatFirstScan(int times)
{
    const Bytes file = corpus::Bytes("jpeg/gen_progressive_420.jpg");
    const size_t sos = FindSegment(file, 0xDA, 0xDA);
    size_t end = sos + 2;
    while (!(file.at(end) == 0xFF && file.at(end + 1) != 0 && (file[end + 1] & 0xF8) != 0xD0))
        ++end;  // the scan data ends at the next marker that is not a restart
    Bytes out(file.begin(), file.begin() + sos);
    for (int i = 0; i < times; ++i)
        out.insert(out.end(), file.begin() + sos, file.begin() + end);
    out.insert(out.end(), {0xFF, 0xD9});
    return out;
}

struct Outcome {
    const char* file;
    bool ok;
    const char* message;  // the start of the warning or error
};

// Every other picture of jpeg/ and photos/ decodes at its declared size
// without a warning. How damaged files are shown is this program's choice.
const Outcome kOutcomes[] = {
    {"jpeg/dicom_12bit_extended_sof1.jpg", false, "12-bit JPEG pictures are not supported"},
    {"jpeg/gen_missing_eoi.jpg", true, "the JPEG end marker is missing"},
    {"jpeg/gen_truncated_half_baseline.jpg", true, "the picture is incomplete"},
    {"jpeg/gen_truncated_third_progressive.jpg", true, "the picture is incomplete"},
    {"jpeg/gen_corrupt_entropy_middle.jpg", true, "the JPEG data is damaged: "},
    {"invalid/gen_bmp_named.jpg", false, "not a JPEG file"},
    {"invalid/gen_png_named.jpg", false, "not a JPEG file"},
    {"invalid/gen_text_renamed.jpg", false, "not a JPEG file"},
    {"invalid/gen_empty.jpg", false, "not a JPEG file"},
    {"invalid/gen_bomb_20000x15000.jpg", false, "the picture is larger than 100 megapixels"},
    {"invalid/gen_bomb_65500x65500.jpg", false, "the picture is larger than 100 megapixels"},
    {"invalid/gen_bomb_progressive_20000x15000.jpg", false, "the picture is larger than 100 megapixels"},
    {"invalid/gen_cut_after_sos.jpg", false, "the JPEG file ends before the picture data"},
    {"invalid/gen_cut_in_dqt.jpg", false, "the JPEG file ends before the picture data"},
    {"invalid/goexif_max_uint32_exif.jpg", false, "the JPEG file ends before the picture data"},
    {"invalid/goexif_truncated_in_app1_IMG_0001.jpg", false, "the JPEG file ends before the picture data"},
    {"invalid/skimage_truncated.jpg", false, "the JPEG file ends before the picture data"},
    {"invalid/gen_sof_height0_dnl.jpg", false, "the picture's width or height is zero"},
    {"invalid/gen_sof_width0.jpg", false, "the picture's width or height is zero"},
    {"invalid/gen_soi_eoi_only.jpg", false, "the JPEG file holds no picture"},
};

}  // namespace

// The photos, the JPEG cases and every JPEG-named file of invalid/.
TEST(JpegDecoder, EveryCorpusJpegGivesItsExpectedOutcome)
{
    size_t listed = 0;
    for (const corpus::Row& row : corpus::Manifest()) {
        const bool invalid = StartsWith(row.file, "invalid/");
        if (invalid ? !corpus::HasJpegName(row.file) : !StartsWith(row.file, "jpeg/") && !StartsWith(row.file, "photos/"))
            continue;
        SCOPED_TRACE(row.file);
        const auto outcome = std::find_if(std::begin(kOutcomes), std::end(kOutcomes),
                                          [&](const Outcome& o) { return row.file == o.file; });
        const DecodeResult result = DecodeFile(row.file);
        if (outcome == std::end(kOutcomes)) {
            ASSERT_FALSE(invalid) << "a new file in invalid/: say what must happen to it";
            EXPECT_TRUE(result.ok && result.warning.empty()) << result.error << result.warning;
        } else {
            ++listed;
            EXPECT_EQ(result.ok, outcome->ok);
            EXPECT_TRUE(StartsWith(result.ok ? result.warning : result.error, outcome->message))
                << "got \"" << result.warning << result.error << '"';
        }
        if (result.ok) {
            EXPECT_EQ(result.image.width, row.width);
            EXPECT_EQ(result.image.height, row.height);
            EXPECT_EQ(result.image.rgb.size(), static_cast<size_t>(row.width) * row.height * 3);
        }
    }
    EXPECT_EQ(listed, std::size(kOutcomes));
}

// These hold the DCT coefficients of gen_baseline_420.jpg, only coded or
// framed differently, so they must give the very same pixels.
TEST(JpegDecoder, CodingVariantsOfOnePictureDecodeIdentically)
{
    const DecodeResult reference = DecodeFile("jpeg/gen_baseline_420.jpg");
    for (const char* file : {"jpeg/gen_arithmetic.jpg", "jpeg/gen_arithmetic_progressive.jpg",
                             "jpeg/gen_optimized_huffman.jpg", "jpeg/gen_progressive_420.jpg",
                             "jpeg/gen_restart_every_mcu.jpg", "jpeg/gen_restart_every_row.jpg",
                             "jpeg/gen_trailing_garbage.jpg", "jpeg/gen_missing_eoi.jpg",
                             "invalid/gen_jpeg_named.bmp"}) {
        const DecodeResult result = DecodeFile(file);
        EXPECT_TRUE(result.ok && reference.ok && result.image.rgb == reference.image.rgb) << file;
    }
}

// Against a YCbCr file of the same picture: a wrong inversion or channel
// order is off by tens of levels, JPEG losses by a few. Grey files must
// come out with red = green = blue.
TEST(JpegDecoder, OtherColourSpacesGiveTheColoursOfTheYCbCrFile)
{
    const struct {
        const char* file;
        const char* reference;
        double tolerance;
    } cases[] = {
        {"jpeg/gen_cmyk_adobe.jpg", "jpeg/gen_q100_444.jpg", 4.0},  // inverted CMYK
        {"jpeg/gen_ycck_adobe.jpg", "jpeg/gen_q100_444.jpg", 4.0},
        {"jpeg/gen_rgb_no_ycc.jpg", "jpeg/gen_q100_444.jpg", 4.0},         // Adobe transform 0
        {"jpeg/go_video-001.rgb.jpeg", "jpeg/go_video-001.jpeg", 12.0},  // ids R G B, low quality
    };
    for (const auto& c : cases) {
        const DecodeResult result = DecodeFile(c.file);
        EXPECT_LT(corpus::MeanDifference(result.image, DecodeFile(c.reference).image), c.tolerance) << c.file;
    }
    for (const char* file : {"jpeg/gen_gray.jpg", "jpeg/gen_gray_progressive.jpg", "jpeg/go_video-005.gray.q50.2x2.jpeg"}) {
        const std::vector<uint8_t> rgb = DecodeFile(file).image.rgb;
        bool grey = !rgb.empty();
        for (size_t i = 0; i < rgb.size(); i += 3)
            grey = grey && rgb[i] == rgb[i + 1] && rgb[i] == rgb[i + 2];
        EXPECT_TRUE(grey) << file;
    }
}

// A file cut short shows the rows its data reaches and grey below them;
// damaged data still shows the rows before the damage.
TEST(JpegDecoder, DamagedFilesShowWhatTheirDataHolds)
{
    const Image whole = DecodeFile("jpeg/gen_baseline_420.jpg").image;
    const Image half = DecodeFile("jpeg/gen_truncated_half_baseline.jpg").image;
    const Image corrupt = DecodeFile("jpeg/gen_corrupt_entropy_middle.jpg").image;
    ASSERT_EQ(half.rgb.size(), whole.rgb.size());
    ASSERT_EQ(corrupt.rgb.size(), whole.rgb.size());
    const size_t topQuarter = whole.rgb.size() / 4;
    EXPECT_TRUE(std::equal(whole.rgb.begin(), whole.rgb.begin() + topQuarter, half.rgb.begin()));
    EXPECT_TRUE(std::equal(whole.rgb.begin(), whole.rgb.begin() + topQuarter, corrupt.rgb.begin()));
    EXPECT_TRUE(std::all_of(half.Row(half.height - 1), half.rgb.data() + half.rgb.size(),
                            [](uint8_t v) { return v == 128; }));

    // The early scans of a progressive file already give the whole picture, blurred.
    const Image full = DecodeFile("jpeg/gen_progressive_420.jpg").image;
    const Image third = DecodeFile("jpeg/gen_truncated_third_progressive.jpg").image;
    Image grey = full;
    std::fill(grey.rgb.begin(), grey.rgb.end(), uint8_t{128});
    EXPECT_LT(corpus::MeanDifference(third, full), corpus::MeanDifference(grey, full) / 4);
}

TEST(JpegDecoder, ScalesToTheSmallestEighthsThatFillTheBoxAsked)
{
    const struct {
        const char* file;
        int boxWidth, boxHeight, width, height;
    } cases[] = {
        {"photos/mate_Wood.jpg", 0, 0, 2560, 1920},    // nothing asked: full size
        {"photos/mate_Wood.jpg", 1, 1, 320, 240},      // 1/8
        {"photos/mate_Wood.jpg", 640, 480, 640, 480},  // 2/8 exactly
        {"photos/mate_Wood.jpg", 641, 481, 960, 720},  // one pixel more each way: 3/8
        {"photos/mate_Wood.jpg", 900, 480, 640, 480},  // a wider box: its height decides
        {"photos/mate_Wood.jpg", 320, 900, 320, 240},  // a taller box: its width decides
        {"photos/mate_Wood.jpg", 0, 481, 960, 720},    // only the height asked
        {"photos/mate_Wood.jpg", 2561, 1921, 2880, 2160},     // 9/8: enlarged
        {"photos/mate_FreshFlower.jpg", 400, 300, 400, 301},  // 1203 * 2/8 rounds up
        {"jpeg/gen_tiny_1x1.jpg", 3, 3, 2, 2},  // out of reach: the largest scale, 16/8
    };
    for (const auto& c : cases) {
        const DecodeResult result = DecodeFile(c.file, c.boxWidth, c.boxHeight);
        EXPECT_TRUE(result.ok && result.image.width == c.width && result.image.height == c.height &&
                    result.image.rgb.size() == static_cast<size_t>(c.width) * c.height * 3)
            << c.file << " asked " << c.boxWidth << "x" << c.boxHeight << ", got " << result.image.width
            << "x" << result.image.height << " " << result.error;
    }
}

// The limits apply to the size the header declares, whatever scale is asked.
TEST(JpegDecoder, SizeLimitsAreCheckedOnTheDeclaredSize)
{
    const struct {
        int width, height;
        const char* error;  // empty: decodes
    } cases[] = {
        {32768, 1, ""},
        {32769, 1, "the picture is more than 32768 pixels wide or high"},
        {1, 32769, "the picture is more than 32768 pixels wide or high"},
        {10000, 10000, ""},
        {10000, 10001, "the picture is larger than 100 megapixels"},
    };
    const Bytes original = corpus::Bytes("jpeg/gen_wide_2000x1.jpg");
    const size_t sof = FindSegment(original, 0xC0, 0xC2);
    for (const auto& c : cases) {
        Bytes file = original;
        const uint8_t size[] = {uint8_t(c.height >> 8), uint8_t(c.height), uint8_t(c.width >> 8), uint8_t(c.width)};
        std::copy(size, size + 4, file.begin() + sof + 5);  // FF Cn, length, precision, height, width
        const DecodeResult result = DecodeBytes(file, 1, 1);
        EXPECT_EQ(result.ok, c.error[0] == '\0') << c.width << "x" << c.height;
        EXPECT_EQ(result.error, c.error);
    }
}

TEST(JpegDecoder, RefusesEndlessScansButShowsAFewRepeatedOnes)
{
    EXPECT_TRUE(DecodeBytes(RepeatFirstScan(20)).ok);
    EXPECT_EQ(DecodeBytes(RepeatFirstScan(1001)).error, "the JPEG data is damaged: it has too many scans");
}
