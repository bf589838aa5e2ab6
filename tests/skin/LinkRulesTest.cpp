#include "skin/LinkRules.h"

#include <gtest/gtest.h>

TEST(LinkRules, OpenErrorMessages)
{
    EXPECT_EQ("Unable to open hyperlink:\n\nA sharing violation occurred. ", OpenErrorMessage(26));
    EXPECT_EQ("Unable to open hyperlink:\n\nThe specified file was not found.", OpenErrorMessage(2));
    EXPECT_EQ("Unable to open hyperlink:\n\nUnknown Error (4) occurred.", OpenErrorMessage(4));
    EXPECT_EQ("Unable to open hyperlink:\n\nUnknown Error (-1) occurred.", OpenErrorMessage(-1));
}

TEST(LinkRules, BrowserCommandFromTheHtmlAssociation)
{
    std::string line;
    // A quoted placeholder is cut at its quotation mark: the blank before it stays.
    ASSERT_TRUE(BuildBrowserCommand("\"C:\\b\\web.exe\" -nohome \"%1\"", "http://x.example/", line));
    EXPECT_EQ("\"C:\\b\\web.exe\" -nohome  http://x.example/", line);
    ASSERT_TRUE(BuildBrowserCommand("C:\\b\\web.exe %1 -new", "a.htm", line));
    EXPECT_EQ("C:\\b\\web.exe  a.htm", line);
    ASSERT_TRUE(BuildBrowserCommand("web.exe", "a.htm", line));
    EXPECT_EQ("web.exe a.htm", line);
    // A target with blanks (a help file under Program Files) is quoted.
    ASSERT_TRUE(BuildBrowserCommand("web.exe \"%1\"", "C:\\Program Files\\Snapdisc\\Snapdisc.chm", line));
    EXPECT_EQ("web.exe  \"C:\\Program Files\\Snapdisc\\Snapdisc.chm\"", line);

    // 519 characters fit the 520-character buffer; 520 do not, and the line is left alone.
    const std::string program = "web.exe";
    std::string target(519 - program.size() - 1, 'a');
    ASSERT_TRUE(BuildBrowserCommand(program, target, line));
    EXPECT_EQ(519u, line.size());
    line = "unchanged";
    EXPECT_FALSE(BuildBrowserCommand(program, target + "a", line));
    EXPECT_EQ("unchanged", line);
}

TEST(LinkRules, FitToTextKeepsTheAlignment)
{
    // A 200-pixel window with a 1-pixel border whose text is 79 wide needs
    // 81: centred, 59 comes off each side and it ends 82 wide.
    const LinkRect window = {100, 50, 300, 70}, client = {101, 51, 299, 69};
    LinkRect centred = FitLinkToText(window, client, 79, 14, kAlignCentre, false);
    EXPECT_EQ(159, centred.left);
    EXPECT_EQ(241, centred.right);
    EXPECT_EQ(50, centred.top);
    EXPECT_EQ(66, centred.bottom);  // top kept, text height plus borders
    LinkRect left = FitLinkToText(window, client, 79, 14, kAlignLeft, false);
    EXPECT_EQ(100, left.left);
    EXPECT_EQ(181, left.right);
    LinkRect right = FitLinkToText(window, client, 79, 14, kAlignRight, true);
    EXPECT_EQ(219, right.left);
    EXPECT_EQ(300, right.right);
    EXPECT_EQ(52, right.top);  // 20 high needing 16: 2 off top and bottom
    EXPECT_EQ(68, right.bottom);
}
