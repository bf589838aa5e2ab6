// Index sheets: the built-in glyphs, the page of numbered thumbnails, and
// the sheet made a still item that ffmpeg decodes at both resolutions.
#include <gtest/gtest.h>

#include "engine/index/IndexPlan.h"
#include "engine/index/IndexSheet.h"
#include "engine/index/SheetFont.h"
#include "engine/picture/PictureReader.h"
#include "engine/still/StillItem.h"
#include "support/ExternalTool.h"
#include "support/TempDir.h"

namespace {

Image Blank(int width, int height)
{
    Image image;
    image.width = width;
    image.height = height;
    image.rgb.assign(static_cast<size_t>(width) * height * 3, 0);
    return image;
}

size_t LitPixels(const Image& image, int x0, int y0, int x1, int y1, bool (*lit)(const uint8_t*))
{
    size_t n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            n += lit(image.Row(y) + static_cast<size_t>(x) * 3);
    return n;
}

bool Yellow(const uint8_t* p)
{
    return p[0] > 200 && p[1] > 170 && p[2] < 60;
}

bool NotBackground(const uint8_t* p)
{
    return !(p[0] == 24 && p[1] == 28 && p[2] == 40);
}

}  // namespace

TEST(SheetFont, DrawsTheDigitsARangeNeedsAndSkipsTheRest)
{
    const SheetFace& face = SheetFont::Face(34);
    EXPECT_EQ(34, face.size);
    EXPECT_EQ(20, SheetFont::Face(25).size);  // the largest not above
    EXPECT_EQ(SheetFont::TextWidth(face, "4160"), SheetFont::TextWidth(face, "41x60"));  // no x: skipped
    EXPECT_GT(SheetFont::TextWidth(face, "41\u201360"), SheetFont::TextWidth(face, "4160"));

    // Each digit draws its own shape, inside its line.
    std::vector<std::vector<uint8_t>> shapes;
    for (char digit = '0'; digit <= '9'; ++digit) {
        Image image = Blank(40, face.lineHeight);
        SheetFont::Draw(image, face, 0, 0, std::string(1, digit), Rgb{255, 255, 255});
        EXPECT_GT(LitPixels(image, 0, 0, 40, face.lineHeight, [](const uint8_t* p) { return p[0] > 128; }), 40u);
        shapes.push_back(image.rgb);
    }
    for (size_t a = 0; a < shapes.size(); ++a)
        for (size_t b = a + 1; b < shapes.size(); ++b)
            EXPECT_NE(shapes[a], shapes[b]) << a << " and " << b;

    // Text running off the picture is cut, not written beyond it.
    Image small = Blank(10, 10);
    SheetFont::Draw(small, face, -5, -5, "8888", Rgb{255, 255, 255});
    EXPECT_EQ(300u, small.rgb.size());
}

TEST(IndexSheet, NumberedThumbnailsInsideTheSafeArea)
{
    DecodeResult photo = ReadPicture(std::string(SNAPDISC_CORPUS_DIR) + "/photos/kpa_snow.jpg", 400, 300);
    ASSERT_TRUE(photo.ok) << photo.error;
    const Image thumbnail = MakeThumbnail(photo.image);
    EXPECT_LE(thumbnail.width, 128);
    EXPECT_LE(thumbnail.height, 96);
    EXPECT_NEAR(double(thumbnail.width) / thumbnail.height, double(photo.image.width) / photo.image.height, 0.05);

    std::vector<SheetTile> tiles;
    for (int i = 0; i < 20; ++i)
        tiles.push_back({&thumbnail, std::to_string(i + 1), "#" + std::to_string(141 + i), ""});
    const Image sheet = MakeIndexSheet(tiles, 5, 4, "141\u2013160", "8/95");
    ASSERT_EQ(kSheetWidth, sheet.width);
    ASSERT_EQ(kSheetHeight, sheet.height);
    // Nothing drawn in the outer 5 % a television may hide.
    EXPECT_EQ(0u, LitPixels(sheet, 0, 0, kSheetWidth, 28, NotBackground));
    EXPECT_EQ(0u, LitPixels(sheet, 0, 548, kSheetWidth, kSheetHeight, NotBackground));
    EXPECT_EQ(0u, LitPixels(sheet, 0, 0, 38, kSheetHeight, NotBackground));
    EXPECT_EQ(0u, LitPixels(sheet, 731, 0, kSheetWidth, kSheetHeight, NotBackground));
    // Every tile's key stands in its corner: yellow in each of the 20 cells.
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 5; ++column) {
            const int x = 38 + column * 140, y = 75 + row * 119;
            EXPECT_GT(LitPixels(sheet, x, y, x + 60, y + 40, Yellow), 30u) << row << "," << column;
        }
}

TEST(IndexSheet, FfmpegDecodesTheSheetAtBothResolutions)
{
    SKIP_WITHOUT_TOOL("ffmpeg");
    std::vector<SheetTile> tiles;
    for (int i = 0; i < 9; ++i)
        tiles.push_back({nullptr, std::to_string(i + 1), "", std::to_string(20 * i + 1) + "\u2013" + std::to_string(20 * i + 20)});
    const StillItem item = MakeStillItemFromImage(MakeIndexSheet(tiles, 3, 3, "1\u2013180", "1/1"), StillItemOptions{});
    ASSERT_TRUE(item.ok) << item.error;
    const TempDir dir;
    const std::string mpg = dir.Write("sheet.mpg", std::string(item.packs.begin(), item.packs.end()));
    // The normal picture (352x288) and the high-resolution one (704x576).
    const struct {
        const char* stream;
        size_t pixels;
    } pictures[] = {{"0:v:0", 352 * 288}, {"0:v:1", 704 * 576}};
    for (const auto& picture : pictures) {
        std::string errors;
        const std::string out = dir.File(std::string("v") + picture.stream[4] + ".raw");
        RunTool("ffmpeg -v error -i " + mpg + " -map " + picture.stream + " -frames:v 1 -f rawvideo -pix_fmt gray " +
                    out + " 2>&1",
                &errors);
        EXPECT_EQ("", errors) << picture.stream;
        EXPECT_EQ(picture.pixels, TempDir::Read(out).size()) << picture.stream;
    }
}

// Pages of 20 while the disc's 1,980 segments allow, then 25, 30, no
// directory pages, and no index at all; a photo is never left out.
TEST(IndexPlan, PageSizesFollowTheSegmentBudget)
{
    IndexPlan twelve = PlanIndex(12, 12);
    ASSERT_TRUE(twelve.made);
    EXPECT_EQ(20u, twelve.PerPage());
    EXPECT_TRUE(twelve.photoNumbers);
    EXPECT_EQ(1u, twelve.pages.size());
    EXPECT_TRUE(twelve.directories.empty());

    IndexPlan many = PlanIndex(150, 150);
    EXPECT_FALSE(many.photoNumbers);
    ASSERT_EQ(8u, many.pages.size());
    EXPECT_EQ(10u, many.pages.back().count);
    EXPECT_EQ(1u, many.directories.size());

    const struct {
        size_t photos, perPage, pages, directories;
    } tight[] = {{1885, 25, 76, 4}, {1900, 25, 76, 4}, {1910, 30, 64, 3}, {1915, 30, 64, 0}};
    for (const auto& t : tight) {
        const IndexPlan plan = PlanIndex(t.photos, t.photos);
        ASSERT_TRUE(plan.made) << t.photos;
        EXPECT_EQ(t.perPage, plan.PerPage()) << t.photos;
        EXPECT_EQ(t.pages, plan.pages.size()) << t.photos;
        EXPECT_EQ(t.directories, plan.directories.size()) << t.photos;
        EXPECT_LE(t.photos + plan.Stills(), kMaxDiscSegments);
    }
    EXPECT_FALSE(PlanIndex(1950, 1950).made);
    EXPECT_EQ("41\u201360", RangeText(40, 20));
    EXPECT_EQ("7", RangeText(6, 1));
}
