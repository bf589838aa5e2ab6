#include "tools/snapburn/SampleCommand.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "engine/picture/PictureReader.h"
#include "framework/FileHelpers.h"
#include "photo/CProjectInfo.h"
#include "photo/ProjectFile.h"
#include "support/CommandOutcome.h"
#include "support/TempDir.h"

namespace {

using Outcome = CommandOutcome;

Outcome Sample(std::vector<std::string> args)
{
    return RunCommand(RunSampleCommand, std::move(args));
}

// Every file the command writes, in order, the project last.
std::vector<std::string> ReadAll(const std::string& folder)
{
    std::vector<std::string> files;
    for (const char* name : kSamplePictureFiles)
        files.push_back(TempDir::Read(folder + "/" + name));
    files.push_back(TempDir::Read(folder + "/" + kSampleProjectFile));
    return files;
}

// Mean difference per channel value of two pictures of the same size.
double MeanDifference(const Image& a, const Image& b)
{
    double sum = 0;
    for (size_t i = 0; i < a.rgb.size(); ++i)
        sum += std::abs(a.rgb[i] - b.rgb[i]);
    return sum / static_cast<double>(a.rgb.size());
}

}  // namespace

TEST(SnapburnSample, WritesTheSampleProjectAgainAndAgain)
{
    TempDir dir;
    const std::string folder = dir.File("new/Sample");  // the parent is missing too
    Outcome first = Sample({folder, "--delay", "7"});
    ASSERT_EQ(0, first.status) << first.err;
    char* resolved = realpath(folder.c_str(), nullptr);
    ASSERT_NE(nullptr, resolved);
    const std::string full = resolved;
    std::free(resolved);

    std::unique_ptr<CProjectInfo> project = ReadProjectFile(folder + "/Sample.snz");
    EXPECT_EQ("Sample", project->m_strTitle);
    EXPECT_EQ(full + "/Sample.snz", project->m_strPath);
    ASSERT_EQ(static_cast<size_t>(kSampleFileCount), project->GetRebuildCount());
    uint64_t totalKB = 0;
    std::vector<Image> pictures;
    for (int i = 0; i < kSampleFileCount; ++i) {
        const std::string& path = project->m_arrPaths[i];
        EXPECT_EQ(full + "/" + kSamplePictureFiles[i], path);
        EXPECT_EQ(7u, project->m_arrDelays[i]);
        DecodeResult picture = ReadPicture(path);
        ASSERT_TRUE(picture.ok) << path << ": " << picture.error;
        EXPECT_EQ("", picture.warning);
        EXPECT_EQ(1024, picture.image.width);
        EXPECT_EQ(768, picture.image.height);
        pictures.push_back(std::move(picture.image));
        totalKB += FileSizeKB(path);
    }
    EXPECT_EQ(kSampleFileCount, project->m_nPhotoCount);
    EXPECT_EQ(static_cast<int32_t>(totalKB), project->m_nTotalKB);
    // Clearly different pictures, not one picture with another number.
    for (size_t i = 0; i < pictures.size(); ++i)
        for (size_t j = i + 1; j < pictures.size(); ++j)
            EXPECT_GT(MeanDifference(pictures[i], pictures[j]), 20.0) << "pictures " << i + 1 << " and " << j + 1;

    const std::vector<std::string> before = ReadAll(folder);
    Outcome second = Sample({"--delay", "7", folder});
    ASSERT_EQ(0, second.status) << second.err;
    EXPECT_TRUE(before == ReadAll(folder)) << "a second run wrote other bytes";
}

TEST(SnapburnSample, RefusedArgumentsAndUnwritableFiles)
{
    TempDir dir;
    for (std::vector<std::string> args : std::vector<std::vector<std::string>>{
             {}, {dir.File("a"), "--delay"}, {dir.File("a"), "--delay", "60001"}, {dir.File("a"), "--delay", "-1"},
             {dir.File("a"), "--delay", "5s"}, {dir.File("a"), "--delay", ""}, {dir.File("a"), dir.File("b")},
             {dir.File("a"), "--quick"}}) {
        Outcome o = Sample(args);
        EXPECT_EQ(2, o.status) << o.err;
        EXPECT_EQ(1, std::count(o.err.begin(), o.err.end(), '\n')) << o.err;
    }
    EXPECT_FALSE(FileExists(dir.File("a/Sample.snz")));

    // A folder that cannot be made, and a picture whose name is taken by a folder.
    std::string file = dir.Write("file", "x");
    Outcome noFolder = Sample({file + "/Sample"});
    EXPECT_EQ(1, noFolder.status);
    EXPECT_NE(std::string::npos, noFolder.err.find(file + "/Sample")) << noFolder.err;
    std::filesystem::create_directories(dir.File("taken/Sample 1.jpg"));
    Outcome taken = Sample({dir.File("taken")});
    EXPECT_EQ(1, taken.status);
    EXPECT_NE(std::string::npos, taken.err.find("Sample 1.jpg")) << taken.err;
    EXPECT_FALSE(FileExists(dir.File("taken/Sample.snz")));
}
