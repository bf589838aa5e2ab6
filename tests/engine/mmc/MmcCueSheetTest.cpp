#include <gtest/gtest.h>

#include "engine/mmc/MmcCueSheet.h"

// Two tracks: 1,000 sectors of track 1 after the pregap before LBA 0, then
// track 2 with a stored pregap at 1000, its data at 1150, lead-out at 1600.
TEST(MmcCueSheet, TwoTrackDiscInBothForms)
{
    const std::vector<CueTrack> tracks = {{1, std::nullopt, {0}}, {2, 1000u, {1150}}};
    const std::vector<uint8_t> expected = {
        0x41, 0x00, 0x00, 0x24, 0x00, 0x00, 0x00, 0x00,  // lead-in, made by the drive
        0x41, 0x01, 0x00, 0x20, 0x00, 0x00, 0x00, 0x00,  // track 1 pregap at LBA -150
        0x41, 0x01, 0x01, 0x20, 0x00, 0x00, 0x02, 0x00,  // track 1 at LBA 0
        0x41, 0x02, 0x00, 0x20, 0x00, 0x00, 0x0F, 0x19,  // track 2 pregap at 1000
        0x41, 0x02, 0x01, 0x20, 0x00, 0x00, 0x11, 0x19,  // track 2 at 1150
        0x41, 0xAA, 0x01, 0x24, 0x00, 0x00, 0x17, 0x19,  // lead-out at 1600
    };
    EXPECT_EQ(expected, MakeMmcCueSheet(tracks, 1600, kFormXa2336, false));

    // Whole sectors and the copy bit: only the track rows change.
    std::vector<uint8_t> raw = expected;
    for (size_t row = 1; row <= 4; ++row) {
        raw[row * 8] = 0x61;
        raw[row * 8 + 3] = 0x21;
    }
    EXPECT_EQ(raw, MakeMmcCueSheet(tracks, 1600, kFormXa2352, true));

    // An entry point of track 2 becomes its INDEX 02; times past a minute.
    const std::vector<uint8_t> withEntry =
        MakeMmcCueSheet({{1, std::nullopt, {0}}, {2, 1000u, {1150, 4650}}}, 9000, kFormXa2336, false);
    ASSERT_EQ(56u, withEntry.size());
    const std::vector<uint8_t> entry(withEntry.begin() + 40, withEntry.begin() + 48);
    EXPECT_EQ((std::vector<uint8_t>{0x41, 0x02, 0x02, 0x20, 0x00, 0x01, 0x04, 0x00}), entry);  // 4800 = 1:04:00
}
