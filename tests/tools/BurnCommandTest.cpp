#include "tools/snapburn/BurnCommand.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "photo/CProjectInfo.h"
#include "photo/ProjectFile.h"
#include "support/CommandOutcome.h"
#include "support/TempDir.h"

namespace {

using Outcome = CommandOutcome;

Outcome BurnWith(std::vector<std::string> args)
{
    return RunCommand(RunBurnCommand, std::move(args));
}

std::string Corpus(const std::string& name)
{
    return std::string(SNAPDISC_CORPUS_DIR) + "/" + name;
}

size_t FileCount(const std::string& folder)
{
    if (!std::filesystem::exists(folder))
        return 0;
    return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
}

}  // namespace

TEST(SnapburnBurn, ProjectToImage)
{
    TempDir dir;
    CProjectInfo project;
    // The last photo is cut short: burned, with a warning that names it.
    project.m_arrPaths = {Corpus("bmp/rgb24.bmp"), Corpus("photos/kpa_blackie.jpg"),
                          Corpus("jpeg/gen_truncated_half_baseline.jpg")};
    project.m_arrDelays = {3, 4, 5};
    project.PrepareForSave();
    WriteProjectFile(dir.File("trip.snz"), project);

    Outcome ok = BurnWith({dir.File("trip.snz"), "--out", dir.File("images"), "--ntsc"});
    ASSERT_EQ(0, ok.status) << ok.err;
    EXPECT_NE(std::string::npos, ok.out.find("100%"));
    EXPECT_NE(std::string::npos, ok.out.find("cue: " + dir.File("images")));
    EXPECT_NE(std::string::npos, ok.out.find("bin: " + dir.File("images")));
    EXPECT_EQ(2u, FileCount(dir.File("images")));
    EXPECT_NE(std::string::npos, ok.err.find("snapburn: warning: " + Corpus("jpeg/gen_truncated_half_baseline.jpg") + ": "))
        << ok.err;
    EXPECT_EQ(std::string::npos, ok.err.find("kpa_blackie")) << ok.err;

    // Without the index page the disc holds one still fewer.
    Outcome plain = BurnWith({dir.File("trip.snz"), "--out", dir.File("plain"), "--ntsc", "--no-index"});
    ASSERT_EQ(0, plain.status) << plain.err;
    auto binSize = [](const std::string& folder) {
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            if (entry.path().extension() == ".bin")
                return std::filesystem::file_size(entry.path());
        return std::uintmax_t{0};
    };
    EXPECT_LT(binSize(dir.File("plain")), binSize(dir.File("images")));

    Outcome simulated = BurnWith({"--delay", "2", Corpus("bmp/rgb24.bmp"), "--simulate", "--out", dir.File("sim")});
    EXPECT_EQ(0, simulated.status) << simulated.err;
    EXPECT_EQ(0u, FileCount(dir.File("sim")));
}

TEST(SnapburnBurn, ExitStatusOfFailures)
{
    TempDir dir;
    EXPECT_EQ(2, BurnWith({}).status);
    EXPECT_EQ(2, BurnWith({"--delay"}).status);
    EXPECT_EQ(2, BurnWith({"--delay", "60001", Corpus("bmp/rgb24.bmp")}).status);
    EXPECT_EQ(2, BurnWith({"--bogus", Corpus("bmp/rgb24.bmp")}).status);
    Outcome unreadable = BurnWith({dir.Write("bad.snz", "not a project")});
    EXPECT_EQ(2, unreadable.status);
    EXPECT_NE(std::string::npos, unreadable.err.find("bad.snz"));

    Outcome refused = BurnWith({"--delay", "1", Corpus("invalid/gen_empty.jpg"), "--out", dir.File("images")});
    EXPECT_EQ(1, refused.status);
    EXPECT_NE(std::string::npos, refused.err.find("gen_empty.jpg")) << refused.err;
    EXPECT_EQ(0u, FileCount(dir.File("images")));
}

// The simulated drive records, dated alike, the disc the image recorder
// writes; a drive that refuses whole sectors makes the same disc; one
// without a disc fails and says so.
TEST(SnapburnBurn, SimulatedDriveRecordsTheImagesDisc)
{
    TempDir dir;
    setenv("SOURCE_DATE_EPOCH", "1700000000", 1);
    const std::vector<std::string> photos = {"--delay", "2", Corpus("bmp/rgb24.bmp"), Corpus("photos/kpa_snow.jpg")};
    auto burn = [&](std::vector<std::string> extra) {
        std::vector<std::string> args = photos;
        args.insert(args.end(), extra.begin(), extra.end());
        return BurnWith(args);
    };
    Outcome image = burn({"--out", dir.File("image")});
    Outcome drive = burn({"--out", dir.File("drive"), "--device", "simulated"});
    Outcome fallback = burn({"--out", dir.File("fallback"), "--device", "simulated:raw-refused"});
    Outcome empty = burn({"--out", dir.File("empty"), "--device", "simulated:no-medium"});
    unsetenv("SOURCE_DATE_EPOCH");
    ASSERT_EQ(0, image.status) << image.err;
    ASSERT_EQ(0, drive.status) << drive.err;
    ASSERT_EQ(0, fallback.status) << fallback.err;
    std::string bin;
    for (const auto& entry : std::filesystem::directory_iterator(dir.File("image")))
        if (entry.path().extension() == ".bin")
            bin = TempDir::Read(entry.path().string());
    ASSERT_FALSE(bin.empty());
    EXPECT_TRUE(bin == TempDir::Read(dir.File("drive/Snapdisc simulated drive.bin")));
    EXPECT_TRUE(bin == TempDir::Read(dir.File("fallback/Snapdisc simulated drive.bin")));
    EXPECT_NE(std::string::npos, TempDir::Read(dir.File("drive/Snapdisc simulated drive.cue")).find("TRACK 02 MODE2/2352"));

    EXPECT_EQ(1, empty.status);
    EXPECT_NE(std::string::npos, empty.err.find("There is no disc in the recorder.")) << empty.err;
    EXPECT_EQ(0u, FileCount(dir.File("empty")));
}
