#include <gtest/gtest.h>

#include "framework/MultiSelect.h"
#include "framework/UnsignedText.h"

TEST(MultiSelect, OnePathOrFolderAndNames)
{
    const char one[] = "C:\\pics\\a.jpg\0\0";
    EXPECT_EQ(std::vector<std::string>{"C:\\pics\\a.jpg"}, SplitMultiSelect(one, sizeof one));
    const char many[] = "C:\\pics\0b.jpg\0a.jpg\0\0";
    EXPECT_EQ((std::vector<std::string>{"C:\\pics\\b.jpg", "C:\\pics\\a.jpg"}), SplitMultiSelect(many, sizeof many));
    const char root[] = "C:\\\0a.bmp\0\0";
    EXPECT_EQ(std::vector<std::string>{"C:\\a.bmp"}, SplitMultiSelect(root, sizeof root));
    const char unterminated[4] = {'a', 'b', 'c', 'd'};  // never read past the buffer
    EXPECT_EQ(std::vector<std::string>{"abcd"}, SplitMultiSelect(unterminated, sizeof unterminated));
    EXPECT_TRUE(SplitMultiSelect("\0", 1).empty());
}

TEST(UnsignedText, AcceptsDigitsWithin32Bits)
{
    uint32_t v = 99;
    EXPECT_TRUE(ParseUnsignedText("0", v));
    EXPECT_EQ(0u, v);
    EXPECT_TRUE(ParseUnsignedText(" 60001 ", v));
    EXPECT_EQ(60001u, v);
    EXPECT_TRUE(ParseUnsignedText("4294967295", v));
    EXPECT_EQ(4294967295u, v);
    v = 7;
    for (const char* bad : {"", "  ", "4294967296", "99999999999999999999", "-1", "+1", "1a", "1 2", "0x10"})
        EXPECT_FALSE(ParseUnsignedText(bad, v)) << bad;
    EXPECT_EQ(7u, v);  // left alone when refused
}

TEST(UnsignedText, LeadingDigitsSaturate)
{
    EXPECT_EQ(12u, LeadingDigitsValue("12abc"));
    EXPECT_EQ(0u, LeadingDigitsValue(""));
    EXPECT_EQ(0u, LeadingDigitsValue("-5"));
    EXPECT_EQ(4294967295u, LeadingDigitsValue("4294967295"));
    // One more, or many more digits, hold at the largest value instead of wrapping.
    EXPECT_EQ(4294967295u, LeadingDigitsValue("4294967296"));
    EXPECT_EQ(4294967295u, LeadingDigitsValue("99999999999999999999999"));
}
