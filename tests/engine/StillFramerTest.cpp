#include "engine/still/StillFramer.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

Image Solid(int w, int h, uint8_t r, uint8_t g, uint8_t b)
{
    Image img;
    img.width = w;
    img.height = h;
    img.rgb.resize(static_cast<size_t>(w) * h * 3);
    for (size_t i = 0; i < img.rgb.size(); i += 3)
        img.rgb[i] = r, img.rgb[i + 1] = g, img.rgb[i + 2] = b;
    return img;
}

int Y(const YCbCrFrame& f, int x, int y)
{
    return f.y[static_cast<size_t>(y) * f.width + x];
}

// Columns (or rows) of the frame whose middle line is brighter than black.
int LitSpan(const YCbCrFrame& f, bool across, int* first)
{
    int n = across ? f.width : f.height, count = 0;
    *first = -1;
    for (int i = 0; i < n; ++i) {
        int v = across ? Y(f, i, f.height / 2) : Y(f, f.width / 2, i);
        if (v > 16) {
            if (*first < 0)
                *first = i;
            ++count;
        }
    }
    return count;
}

const StillFormat kPalNormal{false, false}, kPalHigh{false, true}, kNtscNormal{true, false}, kNtscHigh{true, true};

}  // namespace

TEST(StillFramer, PhotosKeepTheirShapeOnTheNonSquareRaster)
{
    struct Case {
        const char* what;
        int w, h;
        StillFormat format;
        bool across;  // where the black bars are: left/right (pillarbox) or top/bottom
        int first, span;
    } cases[] = {
        {"4:3 fills PAL", 1600, 1200, kPalNormal, true, 0, 352},
        {"4:3 fills PAL rows", 1600, 1200, kPalNormal, false, 0, 288},
        {"2:3 portrait, PAL", 400, 600, kPalNormal, true, 88, 176},
        {"2:3 portrait, NTSC", 400, 600, kNtscNormal, true, 88, 176},
        {"16:9, PAL", 1920, 1080, kPalNormal, false, 36, 216},
        {"16:9, PAL high", 1920, 1080, kPalHigh, false, 72, 432},
        {"16:9, NTSC high", 1920, 1080, kNtscHigh, false, 60, 360},
    };
    for (const Case& c : cases) {
        YCbCrFrame f = FrameStill(Solid(c.w, c.h, 255, 255, 255), c.format);
        ASSERT_EQ(c.format.Width(), f.width);
        ASSERT_EQ(c.format.Height(), f.height);
        int first;
        EXPECT_EQ(c.span, LitSpan(f, c.across, &first)) << c.what;
        EXPECT_EQ(c.first, first) << c.what;
        EXPECT_EQ(235, Y(f, f.width / 2, f.height / 2)) << c.what;
    }
}

TEST(StillFramer, SafeAreaLeavesAFivePercentMargin)
{
    YCbCrFrame f = FrameStill(Solid(800, 600, 255, 255, 255), kPalNormal, FramingOptions{true});
    int first;
    int across = LitSpan(f, true, &first);
    EXPECT_NEAR(352 * 0.9, across, 1.5);
    EXPECT_NEAR(352 * 0.05, first, 1.5);
    int down = LitSpan(f, false, &first);
    EXPECT_NEAR(288 * 0.9, down, 1.5);
    EXPECT_EQ(16, Y(f, 0, 0));
}

TEST(StillFramer, StudioRangeColours)
{
    struct {
        uint8_t r, g, b;
        int y, cb, cr;
    } colours[] = {
        {255, 255, 255, 235, 128, 128}, {0, 0, 0, 16, 128, 128},  {255, 0, 0, 81, 90, 240},
        {0, 255, 0, 145, 54, 34},       {0, 0, 255, 41, 240, 110}, {128, 128, 128, 126, 128, 128},
    };
    for (const auto& c : colours) {
        YCbCrFrame f = FrameStill(Solid(64, 48, c.r, c.g, c.b), kPalNormal);
        EXPECT_NEAR(c.y, Y(f, 100, 100), 1) << int(c.r) << "," << int(c.g) << "," << int(c.b);
        EXPECT_NEAR(c.cb, f.cb[50 * 176 + 50], 1);
        EXPECT_NEAR(c.cr, f.cr[50 * 176 + 50], 1);
    }
}

TEST(StillFramer, AveragesLightNotItsEncodedValues)
{
    // A one-pixel checkerboard halved in both directions is half the light:
    // encoded 0.735, not the 0.5 that averaging the encoded values gives.
    Image checker = Solid(1408, 1056, 0, 0, 0);
    for (int y = 0; y < checker.height; ++y)
        for (int x = (y & 1); x < checker.width; x += 2)
            std::fill_n(checker.Row(y) + x * 3, 3, uint8_t(255));
    YCbCrFrame f = FrameStill(checker, kPalHigh);
    EXPECT_NEAR(16 + 219 * 0.7354, Y(f, 300, 300), 1.5);
    // No ringing: nothing above white or below black anywhere.
    for (uint8_t v : f.y)
        ASSERT_TRUE(v >= 16 && v <= 235);
}

TEST(StillFramer, SmallAndExtremePictures)
{
    YCbCrFrame tiny = FrameStill(Solid(4, 3, 200, 100, 50), kPalNormal);  // enlarged
    int first;
    EXPECT_EQ(352, LitSpan(tiny, true, &first));
    EXPECT_EQ(Y(tiny, 1, 1), Y(tiny, 200, 150));

    YCbCrFrame tall = FrameStill(Solid(1, 2000, 255, 255, 255), kPalNormal);
    EXPECT_EQ(16, Y(tall, 0, 144));
    EXPECT_GT(Y(tall, 175, 144), 16);  // a sliver in the middle, dimmed by its coverage

    YCbCrFrame none = FrameStill(Image{}, kNtscNormal);
    EXPECT_EQ(352u * 240u, none.y.size());
    EXPECT_EQ(16, Y(none, 10, 10));
}
