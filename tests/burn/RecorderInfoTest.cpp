#include "burn/CRecorderInfo.h"

#include <gtest/gtest.h>

TEST(RecorderInfo, MediaTypes)
{
    struct {
        unsigned type;
        int present, cdr, cdrw, dvd, rewritableDvd, minus, plus;
    } cases[] = {
        {0, 0, 0, 0, 0, 0, 0, 0},          {0x101, 1, 1, 0, 0, 0, 0, 0},  {0x81, 1, 1, 1, 0, 0, 0, 0},
        {0x4, 1, 0, 0, 1, 0, 1, 0},        {0x804, 1, 0, 0, 1, 0, 1, 0},  {0x1004, 1, 0, 0, 1, 1, 1, 0},
        {0x8, 1, 0, 0, 1, 0, 0, 1},        {0x2008, 1, 0, 0, 1, 0, 0, 1}, {0x4008, 1, 0, 0, 1, 1, 0, 1},
        {0x200, 1, 0, 0, 1, 0, 0, 0},      {0x1, 1, 0, 0, 0, 0, 0, 0},
    };
    for (const auto& c : cases) {
        CRecorderInfo r;
        r.m_bMediaPresent = 1;
        r.SetMediaType(c.type);
        EXPECT_EQ(c.present, r.m_bMediaPresent) << std::hex << c.type;
        EXPECT_EQ(c.cdr, r.m_bCdR) << std::hex << c.type;
        EXPECT_EQ(c.cdrw, r.m_bCdRw) << std::hex << c.type;
        EXPECT_EQ(c.dvd, r.m_bDvd) << std::hex << c.type;
        EXPECT_EQ(c.rewritableDvd, r.m_bRewritableDvd) << std::hex << c.type;
        EXPECT_EQ(c.minus, r.m_bDvdMinus) << std::hex << c.type;
        EXPECT_EQ(c.plus, r.m_bDvdPlus) << std::hex << c.type;
    }
}

TEST(RecorderInfo, ChosenAndBurnSpeeds)
{
    CRecorderInfo r;
    EXPECT_EQ(8, r.ChooseSpeed(8));  // no maximum known: the speed stays
    for (auto [max, chosen] : {std::pair{52, 52}, {7, 6}, {1, 1}, {2, 2}, {3, 2}}) {
        r.m_nCdWriteMaxSpeed = max;
        EXPECT_EQ(chosen, r.ChooseSpeed(0)) << max;
    }
    r.m_nCdWriteMaxSpeed = 48;
    r.m_nCdMediaMaxSpeed = 24;
    EXPECT_EQ(24, r.BurnSpeed(24));
    EXPECT_EQ(0, r.BurnSpeed(32));   // faster than the disc: the recorder decides
    EXPECT_EQ(0, r.BurnSpeed(-1));
    r.m_bDvd = 1;
    EXPECT_EQ(0, r.BurnSpeed(8));    // a DVD takes no CD speed
    r.m_bDvd = 0;
    r.m_nCdWriteMaxSpeed = -1;
    EXPECT_EQ(0, r.BurnSpeed(24));
}
