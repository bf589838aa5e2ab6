#include "engine/recorder/ImageFiles.h"

#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <fstream>

#include "support/TempDir.h"

namespace {

// The files (not folders) in a folder.
size_t FileCount(const std::string& folder)
{
    size_t n = 0;
    for (const auto& e : std::filesystem::directory_iterator(folder))
        n += e.is_regular_file();
    return n;
}

}  // namespace

// The steps after the image's sectors, each failing in turn (a folder in
// the way of the file it makes): the step reports it naming the file the
// user would have got, and no file of the burn is left.
TEST(ImageFiles, AFailedCueSheetOrRenameLeavesNoFile)
{
    enum Step { kCueSheet, kBinName, kCueName };
    for (Step step : {kCueSheet, kBinName, kCueName}) {
        TempDir dir;
        std::string error, named;
        {
            ImageFiles files;
            ASSERT_TRUE(files.Prepare(dir.Path(), std::time(nullptr), error)) << error;
            std::ofstream(files.TempBinPath(), std::ios::binary) << std::string(2352, '\0');
            std::string inTheWay = step == kCueSheet ? files.TempCuePath()
                                   : step == kBinName ? files.BinPath()
                                                      : files.CuePath();
            std::filesystem::create_directories(inTheWay + "/x");
            named = step == kBinName ? files.BinPath() : files.CuePath();
            EXPECT_FALSE(files.WriteCueSheet("FILE \"" + files.BinFileName() + "\" BINARY\n", error) &&
                         files.Commit(error))
                << step;
        }
        EXPECT_NE(std::string::npos, error.find(named)) << step << ": " << error;
        EXPECT_EQ(0u, FileCount(dir.Path())) << step;
    }
}
