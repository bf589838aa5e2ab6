#include "photo/PreviewPicture.h"

#include <gtest/gtest.h>

#include "app/SlideshowPeriod.h"

namespace {

void ExpectRect(const PreviewRect& r, int left, int top, int right, int bottom, const char* what)
{
    EXPECT_EQ(left, r.left) << what;
    EXPECT_EQ(top, r.top) << what;
    EXPECT_EQ(right, r.right) << what;
    EXPECT_EQ(bottom, r.bottom) << what;
}

}  // namespace

TEST(PreviewPicture, FitsTheLongerSideOnly)
{
    // The standard 187 x 175 area: landscape fitted by width, portrait by height.
    PreviewLayout wide = LayOutPreview(187, 175, 1600, 1200);
    ExpectRect(wide.background, 0, 0, 177, 165, "background");
    ExpectRect(wide.shadow, 8, 22, 175, 148, "landscape shadow");
    ExpectRect(wide.picture, 5, 19, 172, 144, "landscape picture");
    PreviewLayout tall = LayOutPreview(187, 175, 1200, 1600);
    ExpectRect(tall.shadow, 33, 8, 149, 163, "portrait shadow");
    ExpectRect(tall.picture, 30, 5, 146, 160, "portrait picture");

    // A square goes by height; in a nearly square area a very wide picture
    // still takes W - 20 and a very tall one H - 20, whatever the other side.
    EXPECT_EQ(155, LayOutPreview(187, 175, 500, 500).picture.Height());
    EXPECT_EQ(155, LayOutPreview(187, 175, 500, 500).picture.Width());
    EXPECT_EQ(180, LayOutPreview(200, 190, 4000, 100).picture.Width());
    EXPECT_EQ(4, LayOutPreview(200, 190, 4000, 100).picture.Height());
    EXPECT_EQ(170, LayOutPreview(200, 190, 100, 4000).picture.Height());
}

TEST(PreviewPicture, ScalingAveragesAndKeepsFlatColour)
{
    Image checker;
    checker.width = 4;
    checker.height = 2;
    for (int i = 0; i < 8; ++i) {
        uint8_t v = ((i % 4) + i / 4) % 2 ? 200 : 0;
        checker.rgb.insert(checker.rgb.end(), {v, v, v});
    }
    Image half = ScalePicture(checker, 2, 1);
    ASSERT_EQ(2, half.width);
    ASSERT_EQ(1, half.height);
    EXPECT_EQ(100, half.rgb[0]);
    EXPECT_EQ(100, half.rgb[3]);

    Image flat;
    flat.width = 3;
    flat.height = 3;
    for (int i = 0; i < 9; ++i)
        flat.rgb.insert(flat.rgb.end(), {10, 200, 30});
    Image big = ScalePicture(flat, 7, 5);  // enlarging interpolates: still the same colour
    for (size_t i = 0; i < big.rgb.size(); i += 3)
        ASSERT_EQ((std::vector<uint8_t>{10, 200, 30}), std::vector<uint8_t>(&big.rgb[i], &big.rgb[i] + 3)) << i;
    EXPECT_EQ(0, ScalePicture(flat, 0, 5).width);
}

TEST(SlideshowPeriod, SecondsToTimerMillisecondsWithoutWrapping)
{
    EXPECT_EQ(0u, SlideshowPeriodMs(0));
    EXPECT_EQ(5000u, SlideshowPeriodMs(5));
    EXPECT_EQ(2147483000u, SlideshowPeriodMs(2147483));
    // 4294968 s would wrap 32 bits to 704 ms; it is held at the timer's limit.
    EXPECT_EQ(kMaxTimerPeriodMs, SlideshowPeriodMs(2147484));
    EXPECT_EQ(kMaxTimerPeriodMs, SlideshowPeriodMs(4294968));
    EXPECT_EQ(kMaxTimerPeriodMs, SlideshowPeriodMs(0xFFFFFFFFu));
}
