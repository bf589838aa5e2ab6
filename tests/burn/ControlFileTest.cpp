#include "burn/ControlFile.h"

#include <gtest/gtest.h>

#include "burn/VideoCdJob.h"
#include "support/TempDir.h"

TEST(ControlFile, WritesExistingPhotosOnly)
{
    TempDir dir;
    std::string a = dir.Write("a.jpg", "x"), b = dir.Write("b.bmp", "y");
    ASSERT_TRUE(WriteControlFile(dir.File("tmp.ctl"), {a, dir.File("gone.jpg"), b, ""}, {10, 20, 5, 7}));
    EXPECT_EQ(a + ",10\r\n" + b + ",5\r\n", TempDir::Read(dir.File("tmp.ctl")));
    EXPECT_FALSE(WriteControlFile(dir.File("no/such/folder/tmp.ctl"), {a}, {1}));
}

TEST(ControlFile, ReadingRules)
{
    TempDir dir;
    std::string text = "; a comment, with a comma\r\n"
                       "\r\n"
                       "C:\\a.jpg,10,\r\n"
                       "C:\\b.jpg,3\n"
                       "C:\\c.jpg,7\r\r\n"
                       "C:\\Rome, 2003\\e.jpg,9\r\n"
                       "C:\\f.jpg\n"
                       "C:\\g.jpg,12";
    std::vector<ControlEntry> entries;
    ASSERT_TRUE(ReadControlFile(dir.Write("tmp.ctl", text), entries));
    ASSERT_EQ(6u, entries.size());
    EXPECT_EQ("C:\\a.jpg", entries[0].path);
    EXPECT_EQ(10, entries[0].delaySeconds);
    EXPECT_EQ(3, entries[1].delaySeconds);  // no final comma
    EXPECT_EQ("C:\\c.jpg", entries[2].path);  // CR CR LF reads like CR LF
    EXPECT_EQ(7, entries[2].delaySeconds);
    EXPECT_EQ("C:\\Rome, 2003\\e.jpg", entries[3].path);  // commas in a path stay
    EXPECT_EQ(9, entries[3].delaySeconds);
    EXPECT_EQ("C:\\f.jpg", entries[4].path);
    EXPECT_EQ(0, entries[4].delaySeconds);
    EXPECT_EQ(12, entries[5].delaySeconds);  // last line without an end
    EXPECT_FALSE(ReadControlFile(dir.File("missing.ctl"), entries));

    // A line longer than any buffer is still one entry.
    ASSERT_TRUE(ReadControlFile(dir.Write("long.ctl", std::string(300, 'p') + ",4\r\nC:\\x.jpg,1\r\n"), entries));
    ASSERT_EQ(2u, entries.size());
    EXPECT_EQ(std::string(300, 'p'), entries[0].path);
    EXPECT_EQ(4, entries[0].delaySeconds);
}

// At most 1,900 photo lines (comments aside) of at most 32,768 bytes; past
// either the file is refused whole.
TEST(ControlFile, Limits)
{
    TempDir dir;
    std::vector<ControlEntry> entries;
    auto lines = [](size_t n) {
        std::string text = "; photos\r\n";
        for (size_t i = 0; i < n; ++i)
            text += "C:\\p.jpg,5\r\n";
        return text;
    };
    EXPECT_TRUE(ReadControlFile(dir.Write("1900.ctl", lines(1900)), entries));
    EXPECT_EQ(1900u, entries.size());
    EXPECT_FALSE(ReadControlFile(dir.Write("1901.ctl", lines(1901)), entries));
    EXPECT_TRUE(entries.empty());

    const std::string longest = std::string(32766, 'p') + ",4";
    ASSERT_TRUE(ReadControlFile(dir.Write("longest.ctl", longest + "\r\n"), entries));
    EXPECT_EQ(std::string(32766, 'p'), entries[0].path);
    EXPECT_FALSE(ReadControlFile(dir.Write("longer.ctl", "p" + longest + "\r\n"), entries));
    EXPECT_FALSE(ReadControlFile(dir.Write("endless.ctl", std::string(100000, 'p')), entries));
    // A zero byte belongs to no path: the file is damaged.
    EXPECT_FALSE(ReadControlFile(dir.Write("zero.ctl", std::string("a\0junk\r\nb,5\r\n", 13)), entries));
}

TEST(VideoCdJob, ItemsFromEntries)
{
    std::string error;
    VideoCdJobPtr job = MakeVideoCdJob({{"C:\\a.jpg", 5},
                                        {"C:\\clip.MPEG", 0},
                                        {"C:\\x.Avi", 1},
                                        {"C:\\y.mpg", 2},
                                        {"C:\\noext", 3},
                                        {"C:\\b.bmp", 99999999999LL}},
                                       error);
    ASSERT_TRUE(job) << error;
    EXPECT_EQ(0, job->superVideoCd);
    EXPECT_EQ(6, job->itemCount);
    EXPECT_EQ(nullptr, job->track);
    const int types[] = {ENGINE_ITEM_PICTURE, ENGINE_ITEM_MPEG, ENGINE_ITEM_AVI,
                         ENGINE_ITEM_MPEG, ENGINE_ITEM_PICTURE, ENGINE_ITEM_PICTURE};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(types[i], EngineJobItem(job.get(), i)->itemType) << i;
    EXPECT_EQ(375u, EngineJobItem(job.get(), 0)->pauseBlocks);
    EXPECT_STREQ("C:\\clip.MPEG", EngineJobItem(job.get(), 1)->sourcePath);
    EXPECT_EQ(0xFFFFFFFFu, EngineJobItem(job.get(), 5)->pauseBlocks);  // saturates instead of wrapping

    EXPECT_FALSE(MakeVideoCdJob({}, error));
    EXPECT_FALSE(MakeVideoCdJob({{std::string(256, 'p'), 1}}, error));
    EXPECT_NE(std::string::npos, error.find("too long"));
    EXPECT_TRUE(MakeVideoCdJob({{std::string(255, 'p'), 1}}, error));
}
