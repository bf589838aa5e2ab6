#include "tools/snapburn/ShowCommand.h"

#include <gtest/gtest.h>

#include "support/TempDir.h"

namespace {

struct Output {
    int status;
    std::string out, err;
};

Output Show(const std::string& path)
{
    TempDir dir;
    std::FILE* out = std::fopen(dir.File("out").c_str(), "wb");
    std::FILE* err = std::fopen(dir.File("err").c_str(), "wb");
    int status = RunShowCommand(path, out, err);
    std::fclose(out);
    std::fclose(err);
    return {status, TempDir::Read(dir.File("out")), TempDir::Read(dir.File("err"))};
}

}  // namespace

TEST(SnapburnShow, PrintsTheStoredProject)
{
    TempDir dir;
    // 3 stored photos, but 2 paths and 3 delays: two photo lines. The title
    // is narrow text with a byte from 0x80 up, printed as stored.
    std::string file = std::string("\xff\xff\x01\x00\x0c\x00" "CProjectInfo", 18) + "\x04" "Caf\xe9" "\x0b" "D:\\trip.snz" +
                       std::string("\x03\x00\x00\x00\x64\x02\x00\x00", 8) + std::string("\x02\x00", 2) +
                       "\x05" "a.jpg" "\x05" "b.bmp" + std::string("\x03\x00", 2) +
                       std::string("\x0a\x00\x00\x00\xff\xff\xff\xff\x05\x00\x00\x00", 12);
    Output o = Show(dir.Write("p.snz", file));
    EXPECT_EQ(0, o.status);
    EXPECT_EQ("title: Caf\xe9\n"
              "path: D:\\trip.snz\n"
              "photos: 3\n"
              "total-kb: 612\n"
              "paths: 2\n"
              "delays: 3\n"
              "1: 10 a.jpg\n"
              "2: 4294967295 b.bmp\n",
              o.out);
    EXPECT_EQ("", o.err);
}

TEST(SnapburnShow, UnreadableFileGivesOneLineAndStatus2)
{
    TempDir dir;
    for (const std::string& path : {dir.File("missing.snz"), dir.Write("short.snz", "\xff\xff\x01")}) {
        Output o = Show(path);
        EXPECT_EQ(2, o.status);
        EXPECT_EQ("", o.out);
        EXPECT_EQ(0u, o.err.find("snapburn: ")) << o.err;
        EXPECT_NE(std::string::npos, o.err.find(path)) << o.err;
        EXPECT_EQ(1, std::count(o.err.begin(), o.err.end(), '\n'));
    }
}
