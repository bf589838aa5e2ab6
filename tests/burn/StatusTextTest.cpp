#include "burn/StatusText.h"

#include <gtest/gtest.h>

#include "burn/CRecorderInfo.h"
#include "burn/ProgressTexts.h"

namespace {

// Each key stands for itself in brackets, so the test sees the composition.
std::string Key(const char* key)
{
    return std::string("[") + key + "]";
}

}  // namespace

TEST(StatusText, ProjectRecorderAndDisc)
{
    CRecorderInfo cd;
    cd.m_bMediaPresent = cd.m_bWriteable = cd.m_bBlank = cd.m_bCdR = cd.m_bCdRw = 1;
    cd.m_nCdWriteMaxSpeed = 48;
    StatusFacts facts{"trip", "C:\\trip.snz", 2, 612, &cd, "E:  Recorder"};
    std::string status, info;
    ComposeStatusText(facts, Key, status, info);
    EXPECT_EQ("[Project Name]trip[Project Path]C:\\trip.snz[Photo Numbers]2[Photo Total Size]612 KBs"
              "[Device info]E:  Recorder[Disc Info][Rewritable][Blank][CD-R][CD-RW]48x [speed]    ",
              status);
    EXPECT_EQ("[Project Name]trip[Photo Numbers]2[Photo Total Size]612 KBs", info);

    CRecorderInfo dvd;
    dvd.m_bMediaPresent = dvd.m_bDvd = dvd.m_bDvdPlus = 1;
    dvd.m_bBlank = 0;
    dvd.m_nDvdBaseSpeed = 1385;
    dvd.m_nDvdMaxSpeed = 5540;
    EXPECT_EQ("[DVD][DVD+R/RW]4.0x 5540 KB/s", DiscText(&dvd, Key));
    dvd.m_nDvdBaseSpeed = 0;  // no base speed: no speed, and no division by it
    EXPECT_EQ("[DVD][DVD+R/RW]", DiscText(&dvd, Key));
    EXPECT_EQ("[No media found]", DiscText(nullptr, Key));
    dvd.m_bMediaPresent = 0;
    EXPECT_EQ("[No media found]", DiscText(&dvd, Key));
}

TEST(ProgressTexts, ClockAndPercent)
{
    EXPECT_EQ("01:01:01", ElapsedText(1, 1, 1));  // 3661 seconds
    EXPECT_EQ("00:00:00", ElapsedText(0, 0, 0));
    EXPECT_EQ("100:59:59", ElapsedText(100, 59, 59));
    EXPECT_EQ("05 %", PercentText(5, 100));
    EXPECT_EQ("37 %", PercentText(37, 100));
    EXPECT_EQ("100 %", PercentText(100, 100));
    EXPECT_EQ("50 %", PercentText(500, 1000));
    EXPECT_EQ("00 %", PercentText(10, 0));
}
