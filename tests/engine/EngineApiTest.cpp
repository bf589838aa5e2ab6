// The engine through its C interface, as the program drives it.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <filesystem>
#include <thread>
#include <vector>

#ifndef _WIN32
#include <unistd.h>
#endif

#include "burn/VideoCdJob.h"
#include "engine/api/Engine.h"
#include "engine/recorder/ImageOutput.h"
#include "engine/slideshow/SlideshowBurn.h"
#include "engine/include/NeroAPI.h"
#include "engine/still/StillItem.h"
#include "support/ExternalTool.h"
#include "support/FileSizeLimit.h"
#include "support/TempDir.h"
#include "EngineApiFixture.h"

TEST(EngineApi, VersionAndDefaultsWithoutAnEngine)
{
    EXPECT_EQ(5599u, NeroGetAPIVersion());
    EXPECT_NE(0, NeroSetExpectedAPIVersionEx(5, 5, 9, 14, nullptr));
    EXPECT_NE(0, NeroSetExpectedAPIVersionEx(5, 5, 0, 0, nullptr));
    EXPECT_EQ(0, NeroSetExpectedAPIVersionEx(5, 5, 9, 15, nullptr));
    EXPECT_EQ(0, NeroSetExpectedAPIVersionEx(6, 0, 0, 0, nullptr));
    EXPECT_NE(0, NeroSetExpectedAPIVersion(5599));
    EXPECT_EQ(0, NeroSetExpectedAPIVersion(6000));

    EXPECT_EQ(1, NeroInit(nullptr, nullptr));
    EXPECT_EQ(nullptr, NeroGetAvailableDrivesEx(ENGINE_MEDIA_CD, nullptr));
    EXPECT_EQ(nullptr, NeroGetCDInfo(nullptr, 3));
    EXPECT_EQ(nullptr, NeroGetAvailableSpeeds(nullptr, 0, ENGINE_MEDIA_CD, nullptr));
    EXPECT_EQ(ENGINE_ERASE_TIME_NO_DISC, NeroGetCDRWErasingTime(nullptr, 1));
    EXPECT_NE(0, NeroEraseCDRW(nullptr, 1));
    EXPECT_EQ(ENGINE_BURN_NOT_INITIALISED, NeroBurn(nullptr, ENGINE_FORMAT_VIDEO_CD, nullptr, kWrite, 0, nullptr));
    NeroFreeMem(nullptr);
    NeroFreeIsoTrack(nullptr);
}

TEST_F(EngineApiTest, TheImageRecorderHoldsABlankCdR)
{
    const EngineRecorderInfo& r = m_list->recorders[0];
    EXPECT_EQ(ENGINE_DEVICE_RECORDER, r.deviceType);
    EXPECT_TRUE(r.driveLetter >= 'D' && r.driveLetter <= 'Z');
    EXPECT_NE(0u, r.supportedMedia & ENGINE_MEDIA_CD);
    EXPECT_EQ(0u, r.supportedMedia & (ENGINE_MEDIA_DVD_MINUS | ENGINE_MEDIA_DVD_PLUS | ENGINE_MEDIA_DVD_ROM));
    EngineRecorderList* dvd = NeroGetAvailableDrivesEx(ENGINE_MEDIA_ANY_DVD, nullptr);
    ASSERT_NE(nullptr, dvd);
    EXPECT_EQ(0, dvd->count);
    NeroFreeMem(dvd);

    EngineDiscInfo* disc = NeroGetCDInfo(m_device, 3);
    ASSERT_NE(nullptr, disc);
    EXPECT_EQ(unsigned(ENGINE_MEDIA_CDR), disc->mediaType);
    EXPECT_EQ(0, disc->trackCount);
    EXPECT_EQ(1, disc->writeable);
    NeroFreeMem(disc);

    EngineSpeedList* speeds = NeroGetAvailableSpeeds(m_device, 0, ENGINE_MEDIA_CDR, nullptr);
    ASSERT_NE(nullptr, speeds);
    ASSERT_GT(speeds->count, 0);
    EXPECT_EQ(150, speeds->baseKBs);
    for (int i = 1; i < speeds->count; ++i)
        EXPECT_GT(speeds->multiples[i], speeds->multiples[i - 1]);
    EXPECT_EQ(speeds->multiples[speeds->count - 1] * 150, speeds->speedsKBs[speeds->count - 1]);
    NeroFreeMem(speeds);
    EXPECT_EQ(nullptr, NeroGetAvailableSpeeds(m_device, 0, ENGINE_MEDIA_ANY_DVD, nullptr));

    // A CD-R cannot be erased; the tray calls do nothing harmful.
    EXPECT_EQ(ENGINE_ERASE_TIME_NOT_REWRITABLE, NeroGetCDRWErasingTime(m_device, 1));
    EXPECT_NE(ENGINE_ERASE_OK, NeroEraseCDRW(m_device, 1));
    EXPECT_EQ(0, NeroEjectLoadCD(m_device, 1));
}

// A handle kept across a restart of the engine names a recorder that is
// gone: every call refuses it (AddressSanitizer would see it followed).
TEST_F(EngineApiTest, AHandleFromBeforeARestartIsRefused)
{
    EngineSettings settings{};
    NeroDone();
    ASSERT_EQ(0, NeroInit(&settings, nullptr));
    EXPECT_EQ(nullptr, NeroGetCDInfo(m_device, 3));
    EXPECT_EQ(nullptr, NeroGetAvailableSpeeds(m_device, 0, ENGINE_MEDIA_CDR, nullptr));
    EXPECT_EQ(-1, NeroEjectLoadCD(m_device, 1));
    EXPECT_EQ(ENGINE_BURN_NOT_INITIALISED, Burn({{Corpus("bmp/rgb24.bmp"), 1}}, kWrite));
    EXPECT_FALSE(std::filesystem::exists(m_dir.File("images")));
}

TEST_F(EngineApiTest, BurnWritesTheImageWithProgressOnTheCallersThread)
{
    ASSERT_EQ(ENGINE_BURN_OK, Burn({{Corpus("photos/kpa_blackie.jpg"), 5}, {Corpus("bmp/rgb24.bmp"), 65}}, kWrite));
    EXPECT_GT(m_observer.idleCalls, 0);
    ASSERT_FALSE(m_observer.percents.empty());
    EXPECT_EQ(0u, m_observer.percents.front());
    EXPECT_EQ(100u, m_observer.percents.back());
    for (size_t i = 1; i < m_observer.percents.size(); ++i)
        EXPECT_GE(m_observer.percents[i], m_observer.percents[i - 1]);
    bool writing = false;
    for (const std::string& phase : m_observer.phases)
        writing = writing || (!phase.empty() && phase[0] == 'W');
    EXPECT_TRUE(writing);

    std::vector<std::string> files = FilesIn(m_dir.File("images"));
    ASSERT_EQ(2u, files.size());
    std::string bin = Engine::Instance().LastBin(), cue = Engine::Instance().LastCue();
    EXPECT_EQ(0u, TempDir::Read(bin).size() % 2352);
    EXPECT_NE(std::string::npos, TempDir::Read(cue).find(std::filesystem::path(bin).filename().string()));

    // A second burn in the same second gets names of its own.
    ASSERT_EQ(ENGINE_BURN_OK, Burn({{Corpus("bmp/rgb24.bmp"), 1}}, kWrite));
    EXPECT_EQ(4u, FilesIn(m_dir.File("images")).size());
}

TEST_F(EngineApiTest, SimulationAbortAndFailureLeaveNothingBehind)
{
    EXPECT_EQ(ENGINE_BURN_OK, Burn({{Corpus("photos/kpa_blackie.jpg"), 5}}, kSimulate));
    EXPECT_EQ(100u, m_observer.percents.back());
    EXPECT_TRUE(FilesIn(m_dir.File("images")).empty());

    // Stopped by any of the callbacks that may stop it while the image is
    // being written, with stills being made ahead: what was written goes,
    // and the stills' threads are done before the burn returns.
    std::vector<ControlEntry> many(60, ControlEntry{Corpus("photos/kpa_blackie.jpg"), 3});
    for (Observer::Stopper stopper : {Observer::kIdle, Observer::kProgress, Observer::kAborted}) {
        m_observer = Observer{};
        m_observer.abortWhenWritingTo = m_dir.File("images");
        m_observer.stopper = stopper;
        EXPECT_EQ(ENGINE_BURN_USER_ABORT, Burn(many, kWrite)) << stopper;
        EXPECT_LT(m_observer.percents.back(), 100u) << stopper;
        EXPECT_TRUE(FilesIn(m_dir.File("images")).empty()) << stopper;
    }

    // Stopped before it began.
    m_observer = Observer{};
    m_observer.abortAt = 0;
    EXPECT_EQ(ENGINE_BURN_USER_ABORT, Burn(many, kWrite));
    EXPECT_TRUE(FilesIn(m_dir.File("images")).empty());

    m_observer = Observer{};
    std::string broken = Corpus("invalid/gen_text_renamed.jpg");
    EXPECT_EQ(ENGINE_BURN_FAILED, Burn({{Corpus("bmp/rgb24.bmp"), 1}, {broken, 1}}, kWrite));
    EXPECT_TRUE(FilesIn(m_dir.File("images")).empty());
    char* log = NeroGetErrorLog();
    ASSERT_NE(nullptr, log);
    EXPECT_NE(nullptr, std::strstr(log, "gen_text_renamed.jpg")) << log;
    NeroFreeMem(log);
    NeroClearErrors();
    EXPECT_EQ(nullptr, NeroGetErrorLog());

    EXPECT_EQ(ENGINE_BURN_BAD_JOB, Burn({{m_dir.File("clip.Avi"), 1}}, kWrite));
}

// A photo cut short is burned as far as it goes, and the program hears of
// it both while the burn runs and in the error log after it.
TEST_F(EngineApiTest, APhotoWithAFaultIsBurnedWithAWarningNamingIt)
{
    const std::string cut = Corpus("jpeg/gen_truncated_half_baseline.jpg");
    ASSERT_EQ(ENGINE_BURN_OK, Burn({{Corpus("bmp/rgb24.bmp"), 1}, {cut, 1}}, kWrite));
    ASSERT_EQ(1u, m_observer.warnings.size());
    EXPECT_EQ(0u, m_observer.warnings[0].find(cut + ": ")) << m_observer.warnings[0];
    char* log = NeroGetErrorLog();
    ASSERT_NE(nullptr, log);
    EXPECT_EQ(m_observer.warnings[0] + "\n", log);
    NeroFreeMem(log);
}

// A bad photo at the end of a long list, and a job larger than the medium,
// are found before any still is made or anything is written.
TEST_F(EngineApiTest, FaultsAreFoundBeforeAnyStillIsMade)
{
    const std::string broken = Corpus("invalid/gen_text_renamed.jpg");
    std::vector<ControlEntry> photos(1899, ControlEntry{Corpus("bmp/tiny_1x1_24.bmp"), 1});
    photos.push_back({broken, 1});
    EXPECT_EQ(ENGINE_BURN_FAILED, Burn(photos, kWrite));
    EXPECT_EQ(std::vector<std::string>{"Checking the photos"}, m_observer.phases);
    EXPECT_FALSE(std::filesystem::exists(m_dir.File("images")));
    char* log = NeroGetErrorLog();
    ASSERT_NE(nullptr, log);
    EXPECT_EQ("Photo 1900 of 1900: " + broken + ": the file is not a BMP or JPEG picture\n", std::string(log));
    NeroFreeMem(log);
    NeroClearErrors();

    // A medium of a minute, and one of four seconds, for a disc of a few seconds.
    std::string error;
    VideoCdJobPtr job = MakeVideoCdJob({{Corpus("bmp/rgb24.bmp"), 1}}, error);
    m_observer.returned = false;
    ImageOutput output(m_dir.File("images"));
    EXPECT_EQ(ENGINE_BURN_OK, BurnSlideshow(*job, true, 60 * 75, output, nullptr));
    EXPECT_EQ(ENGINE_BURN_FAILED, BurnSlideshow(*job, true, 4 * 75, output, nullptr));
    m_observer.returned = true;
    log = NeroGetErrorLog();
    ASSERT_NE(nullptr, log);
    EXPECT_NE(nullptr, std::strstr(log, " seconds; the disc in the recorder holds 4 seconds. Leave out")) << log;
    NeroFreeMem(log);
}

TEST_F(EngineApiTest, AJobBeyondTheFormatIsRefusedBeforeAnythingIsWritten)
{
    // 1981 stills: one more than a Video CD has segments for.
    std::vector<ControlEntry> tooMany(1981, ControlEntry{Corpus("bmp/tiny_1x1_24.bmp"), 1});
    EXPECT_EQ(ENGINE_BURN_FAILED, Burn(tooMany, kWrite));
    EXPECT_TRUE(FilesIn(m_dir.File("images")).empty());
    EXPECT_FALSE(std::filesystem::exists(m_dir.File("images")));  // not even the folder
    char* log = NeroGetErrorLog();
    ASSERT_NE(nullptr, log);
    EXPECT_NE(nullptr, std::strstr(log, "1980")) << log;
    NeroFreeMem(log);
}

TEST_F(EngineApiTest, VideoCdMpegFilesAreTakenAndOthersRefused)
{
    std::string vcdMpeg = std::string(SNAPDISC_TEST_DATA_DIR) + "/vcd/seq1.mpg";
    EXPECT_EQ(ENGINE_BURN_OK, Burn({{vcdMpeg, 2}, {Corpus("bmp/rgb24.bmp"), 3}}, kSimulate));

    std::string stillItem = std::string(SNAPDISC_TEST_DATA_DIR) + "/vcd/item1.mpg";
    std::string renamed = m_dir.Write("photo.mpg", TempDir::Read(Corpus("bmp/rgb24.bmp")));
    for (const std::string& bad : {stillItem, renamed}) {
        NeroClearErrors();
        EXPECT_EQ(ENGINE_BURN_FAILED, Burn({{bad, 2}}, kWrite)) << bad;
        char* log = NeroGetErrorLog();
        ASSERT_NE(nullptr, log);
        EXPECT_NE(nullptr, std::strstr(log, "not a Video CD MPEG file")) << log;
        NeroFreeMem(log);
    }
    EXPECT_TRUE(FilesIn(m_dir.File("images")).empty());
}

#ifndef _WIN32
// A disk that is full from the start of the image or only at its very last
// byte, and folders where the image cannot be made: the burn fails, the
// error log says why, and no file is left.
TEST_F(EngineApiTest, AFullDiskOrAnUnwritableFolderFailsTheBurnAndLeavesNothing)
{
    auto errorLog = [] {
        char* log = NeroGetErrorLog();
        std::string text = log ? log : "";
        NeroFreeMem(log);
        NeroClearErrors();
        return text;
    };
    const std::vector<ControlEntry> job = {{Corpus("photos/kpa_blackie.jpg"), 5}, {Corpus("bmp/rgb24.bmp"), 3}};
    ASSERT_EQ(ENGINE_BURN_OK, Burn(job, kWrite));
    const uintmax_t imageBytes = std::filesystem::file_size(Engine::Instance().LastBin());

    const std::string full = m_dir.File("full");
    Engine::Instance().Config().imageFolder = full;
    for (uintmax_t room : {uintmax_t(64 * 1024), imageBytes - 1}) {
        m_observer = Observer{};
        {
            FileSizeLimit limit(room);
            ASSERT_TRUE(limit.Ok());
            EXPECT_EQ(ENGINE_BURN_FAILED, Burn(job, kWrite)) << room;
        }
        EXPECT_TRUE(FilesIn(full).empty()) << room;
        EXPECT_NE(std::string::npos, errorLog().find("disk full")) << room;
    }

    // A folder that cannot be made, below a file.
    Engine::Instance().Config().imageFolder = m_dir.Write("file", "x") + "/images";
    EXPECT_EQ(ENGINE_BURN_FAILED, Burn(job, kWrite));
    EXPECT_NE(std::string::npos, errorLog().find("cannot be created"));

    // A folder the user may not write in (the superuser may write anywhere).
    if (geteuid() != 0) {
        const std::string locked = m_dir.File("locked");
        std::filesystem::create_directory(locked);
        std::filesystem::permissions(locked, std::filesystem::perms::owner_write, std::filesystem::perm_options::remove);
        Engine::Instance().Config().imageFolder = locked;
        EXPECT_EQ(ENGINE_BURN_FAILED, Burn(job, kWrite));
        EXPECT_NE(std::string::npos, errorLog().find("cannot be created"));
        EXPECT_TRUE(FilesIn(locked).empty());
        std::filesystem::permissions(locked, std::filesystem::perms::owner_write, std::filesystem::perm_options::add);
    }
}
#endif

// The image of a slideshow of corpus photos, read by Debian's tools.
TEST_F(EngineApiTest, ReadingToolsSeeTheSlideshow)
{
    SKIP_WITHOUT_TOOL("vcd-info");
    SKIP_WITHOUT_TOOL("vcdxrip");
    SKIP_WITHOUT_TOOL("ffprobe");
    std::vector<std::string> photos = {Corpus("photos/kpa_blackie.jpg"), Corpus("jpeg/gen_orient_6.jpg"),
                                       Corpus("bmp/pal8.bmp")};
    Engine::Instance().Config().normalOnly = false;
    ASSERT_EQ(ENGINE_BURN_OK, Burn({{photos[0], 5}, {photos[1], 65}, {photos[2], 2500}}, kWrite));
    std::string cue = Engine::Instance().LastCue();

    std::string report;
    ASSERT_EQ(0, RunTool("vcd-info -i '" + cue + "' 2>&1", &report));
    EXPECT_NE(std::string::npos, report.find("VCD 2.0 detected"));
    EXPECT_NE(std::string::npos, report.find("number of segments: 4"));  // the photos and their index page
    EXPECT_EQ(std::string::npos, report.find("WARN")) << report;
    EXPECT_EQ(std::string::npos, report.find("ERROR")) << report;
    // 2500 s is shown by two selection lists, whose waits vcd-info prints in "secs".
    for (const char* wait : {"wait: 5s", "wait: 70s", "wait: 2000 secs", "wait: 500 secs"})
        EXPECT_NE(std::string::npos, report.find(wait)) << wait;
    EXPECT_EQ(4, [&] {
        int n = 0;
        for (size_t at = 0; (at = report.find("PAL still (lo+hires)", at)) != std::string::npos; ++at)
            ++n;
        return n;
    }());

    if (HaveTool("cd-info")) {
        std::string tracks;
        RunTool("cd-info --no-device-info --no-disc-mode --cue-file '" + cue + "' 2>&1", &tracks);
        EXPECT_NE(std::string::npos, tracks.find("  1: 00:02:00")) << tracks;
        EXPECT_NE(std::string::npos, tracks.find("  2: ")) << tracks;
        EXPECT_NE(std::string::npos, tracks.find("Video CD")) << tracks;
    }

    std::string rip = m_dir.File("rip");
    std::filesystem::create_directories(rip);
    ASSERT_EQ(0, RunTool("cd '" + rip + "' && vcdxrip -q -c '" + cue + "' 2>&1"));
    for (size_t i = 0; i < photos.size(); ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "/item%04zu.mpg", i + 1);
        StillItem still = MakeStillItem(photos[i], StillItemOptions{false, false, false});
        EXPECT_EQ(std::string(still.packs.begin(), still.packs.end()), TempDir::Read(rip + name)) << name;
        std::string streams;
        EXPECT_EQ(0, RunTool("ffprobe -v error -show_entries stream=id,width -of csv=p=0 '" + rip + name + "'",
                             &streams));
        EXPECT_NE(std::string::npos, streams.find("352,0x1e1")) << streams;
        EXPECT_NE(std::string::npos, streams.find("704,0x1e2")) << streams;
    }
}

#ifdef _WIN32
#include <windows.h>

// Where images go and the video system: Documents\Snapdisc Images and the
// region's system, unless the engine's settings say otherwise.
TEST(EngineConfig, DefaultsAndStoredSettings)
{
    const char* key = "Software\\Larkfield_SNZ\\NeroAPI";
    RegDeleteTreeA(HKEY_CURRENT_USER, key);
    EngineConfig defaults = DefaultEngineConfig();
    const std::string tail = "\\Snapdisc Images";
    ASSERT_GT(defaults.imageFolder.size(), tail.size());
    EXPECT_EQ(tail, defaults.imageFolder.substr(defaults.imageFolder.size() - tail.size()));

    HKEY k;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_WRITE, nullptr, &k, nullptr));
    RegSetValueExA(k, "ImageFolder", 0, REG_SZ, reinterpret_cast<const BYTE*>("C:\\Images"), 10);
    const char* other = defaults.ntsc ? "PAL" : "NTSC";
    RegSetValueExA(k, "VideoSystem", 0, REG_SZ, reinterpret_cast<const BYTE*>(other), DWORD(strlen(other) + 1));
    RegSetValueExA(k, "IndexPages", 0, REG_SZ, reinterpret_cast<const BYTE*>("Off"), 4);
    RegCloseKey(k);
    EngineConfig stored = DefaultEngineConfig();
    RegDeleteTreeA(HKEY_CURRENT_USER, key);
    EXPECT_EQ("C:\\Images", stored.imageFolder);
    EXPECT_NE(defaults.ntsc, stored.ntsc);
    EXPECT_TRUE(defaults.index);
    EXPECT_FALSE(stored.index);

    char letter = FreeDriveLetter();
    EXPECT_TRUE(letter >= 'D' && letter <= 'Z');
    EXPECT_FALSE(GetLogicalDrives() & (1u << (letter - 'A')));
}
#endif
