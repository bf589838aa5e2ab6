// The engine through its C interface, as the program drives it.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <thread>
#include <vector>

#include "burn/VideoCdJob.h"
#include "engine/api/Engine.h"
#include "engine/include/NeroAPI.h"
#include "support/TempDir.h"

namespace {

std::string Corpus(const std::string& name)
{
    return std::string(SNAPDISC_CORPUS_DIR) + "/" + name;
}

std::vector<std::string> FilesIn(const std::string& folder)
{
    std::vector<std::string> names;
    if (std::filesystem::exists(folder))
        for (const auto& e : std::filesystem::directory_iterator(folder))
            names.push_back(e.path().filename().string());
    return names;
}

// What the program's callbacks saw during one burn.
struct Observer {
    std::thread::id caller = std::this_thread::get_id();
    bool wrongThread = false;
    bool afterReturn = false;
    bool returned = false;
    int idleCalls = 0;
    std::vector<unsigned int> percents;
    std::vector<std::string> phases;
    unsigned int abortAt = 101;  // ask to stop once progress reaches this
    std::string abortWhenWritingTo;  // or once an unfinished image shows in this folder

    void Check()
    {
        wrongThread = wrongThread || std::this_thread::get_id() != caller;
        afterReturn = afterReturn || returned;
    }
};

bool WritingInto(const std::string& folder)
{
    for (const std::string& name : FilesIn(folder))
        if (name.size() > 5 && name.substr(name.size() - 5) == ".part")
            return true;
    return false;
}

int OnIdle(void* data)
{
    auto* o = static_cast<Observer*>(data);
    o->Check();
    ++o->idleCalls;
    if (!o->abortWhenWritingTo.empty() && WritingInto(o->abortWhenWritingTo))
        return 1;
    return !o->percents.empty() && o->percents.back() >= o->abortAt;
}

int OnProgress(void* data, unsigned int percent)
{
    auto* o = static_cast<Observer*>(data);
    o->Check();
    o->percents.push_back(percent);
    return percent >= o->abortAt;
}

void OnPhase(void* data, const char* text)
{
    auto* o = static_cast<Observer*>(data);
    o->Check();
    o->phases.push_back(text);
}

// Starts the engine with the observer as every callback's user data.
class EngineApiTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        EngineSettings settings{};
        settings.idle = OnIdle;
        settings.idleUserData = &m_observer;
        ASSERT_EQ(0, NeroInit(&settings, nullptr));
        Engine::Instance().Config().imageFolder = m_dir.File("images");
        Engine::Instance().Config().normalOnly = true;  // quicker, and just as much a disc
        m_list = NeroGetAvailableDrivesEx(ENGINE_MEDIA_CD, nullptr);
        ASSERT_NE(nullptr, m_list);
        ASSERT_EQ(1, m_list->count);
        m_device = NeroOpenDevice(&m_list->recorders[0]);
        ASSERT_NE(nullptr, m_device);
    }
    void TearDown() override
    {
        NeroCloseDevice(m_device);
        NeroFreeMem(m_list);
        NeroClearErrors();
        NeroDone();
    }

    int Burn(const std::vector<ControlEntry>& entries, unsigned int flags)
    {
        std::string error;
        VideoCdJobPtr job = MakeVideoCdJob(entries, error);
        EngineProgress progress{};
        progress.progress = OnProgress;
        progress.setPhase = OnPhase;
        progress.userData = &m_observer;
        int result = NeroBurn(m_device, ENGINE_FORMAT_VIDEO_CD, job.get(), flags, 0, &progress);
        m_observer.returned = true;
        return result;
    }

    TempDir m_dir;
    Observer m_observer;
    EngineRecorderList* m_list = nullptr;
    EngineDeviceHandle m_device = nullptr;
};

const unsigned int kWrite = ENGINE_BURN_WRITE | ENGINE_BURN_DISC_AT_ONCE | ENGINE_BURN_CLOSE_SESSION;
const unsigned int kSimulate = ENGINE_BURN_SIMULATE | ENGINE_BURN_DISC_AT_ONCE | ENGINE_BURN_CLOSE_SESSION;

}  // namespace

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

TEST_F(EngineApiTest, BurnWritesTheImageWithProgressOnTheCallersThread)
{
    ASSERT_EQ(ENGINE_BURN_OK, Burn({{Corpus("photos/kpa_blackie.jpg"), 5}, {Corpus("bmp/rgb24.bmp"), 65}}, kWrite));
    EXPECT_FALSE(m_observer.wrongThread);
    EXPECT_FALSE(m_observer.afterReturn);
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

    // Stopped while the image is being written: what was written goes.
    m_observer = Observer{};
    m_observer.abortWhenWritingTo = m_dir.File("images");
    std::vector<ControlEntry> many(60, ControlEntry{Corpus("photos/kpa_blackie.jpg"), 3});
    EXPECT_EQ(ENGINE_BURN_USER_ABORT, Burn(many, kWrite));
    EXPECT_LT(m_observer.percents.back(), 100u);
    EXPECT_TRUE(FilesIn(m_dir.File("images")).empty());

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
