#include <gtest/gtest.h>

#include "engine/mmc/SenseData.h"

namespace {

ScsiResult CheckCondition(std::initializer_list<uint8_t> bytes)
{
    ScsiResult result;
    result.delivered = true;
    result.status = 0x02;
    for (uint8_t b : bytes)
        result.sense[result.senseLength++] = b;
    return result;
}

}  // namespace

TEST(SenseData, FixedAndDescriptorFormatsAndProgress)
{
    // Fixed format, blanking under way at half: key 2, 04/07, progress bytes valid.
    ScsiResult busy = CheckCondition({0x70, 0, 0x02, 0, 0, 0, 0, 10, 0, 0, 0, 0, 0x04, 0x07, 0, 0x80, 0x80, 0x00});
    SenseData sense = DecodeSense(busy);
    EXPECT_TRUE(sense.Is(2, 0x04, 0x07));
    EXPECT_EQ(0x8000, sense.progress);
    EXPECT_EQ("2/04/07", sense.Code());

    // Descriptor format: no medium; no progress.
    sense = DecodeSense(CheckCondition({0x72, 0x02, 0x3A, 0x01}));
    EXPECT_TRUE(sense.Is(2, 0x3A, 0x01));
    EXPECT_EQ(-1, sense.progress);

    // Sense cut short: what is there is read, nothing beyond it.
    sense = DecodeSense(CheckCondition({0x70, 0, 0x03}));
    EXPECT_TRUE(sense.Is(3, 0, 0));
}

TEST(SenseData, OutcomesInTheUsersTerms)
{
    EXPECT_EQ("there is no disc in the drive (2/3A/02)",
              DescribeOutcome(CheckCondition({0x72, 0x02, 0x3A, 0x02})));
    EXPECT_EQ("the drive ran out of data while writing (buffer underrun) (3/0C/09)",
              DescribeOutcome(CheckCondition({0x72, 0x03, 0x0C, 0x09})));
    EXPECT_EQ("the drive could not write the disc (3/0C/00)",
              DescribeOutcome(CheckCondition({0x72, 0x03, 0x0C, 0x00})));
    EXPECT_EQ("the drive reported an error (5/99/01)", DescribeOutcome(CheckCondition({0x72, 0x05, 0x99, 0x01})));
    ScsiResult lost;
    lost.transportError = 1117;
    EXPECT_EQ("the drive did not answer (system error 1117)", DescribeOutcome(lost));
}
