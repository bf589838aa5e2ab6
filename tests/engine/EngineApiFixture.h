// The engine started with an observer behind every callback, and a burn
// through NeroBurn as the program makes one; shared by the engine's C
// interface tests.
#pragma once
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <string>
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

// Callbacks that came on another thread than the burn's caller, or after
// NeroBurn returned. Kept apart from the observers, which tests replace
// between burns, and checked when each test ends.
std::atomic<int> g_strayCalls{0};

// What the program's callbacks saw during one burn.
struct Observer {
    std::thread::id caller = std::this_thread::get_id();
    bool returned = false;
    int idleCalls = 0;
    std::vector<unsigned int> percents;
    std::vector<std::string> phases;
    std::vector<std::string> warnings;  // log lines of the warning kind
    unsigned int abortAt = 101;  // ask to stop once progress reaches this
    // Or once an unfinished image shows in this folder, by the idle (the
    // default), progress or aborted callback.
    std::string abortWhenWritingTo;
    enum Stopper { kIdle, kProgress, kAborted } stopper = kIdle;

    void Check()
    {
        if (std::this_thread::get_id() != caller || returned)
            ++g_strayCalls;
    }
    bool StopsHere(Stopper where) const;
};

bool WritingInto(const std::string& folder)
{
    for (const std::string& name : FilesIn(folder))
        if (name.size() > 5 && name.substr(name.size() - 5) == ".part")
            return true;
    return false;
}

bool Observer::StopsHere(Stopper where) const
{
    return where == stopper && !abortWhenWritingTo.empty() && WritingInto(abortWhenWritingTo);
}

int OnIdle(void* data)
{
    auto* o = static_cast<Observer*>(data);
    o->Check();
    ++o->idleCalls;
    return o->StopsHere(Observer::kIdle) || (!o->percents.empty() && o->percents.back() >= o->abortAt);
}

int OnProgress(void* data, unsigned int percent)
{
    auto* o = static_cast<Observer*>(data);
    o->Check();
    o->percents.push_back(percent);
    return percent >= o->abortAt || o->StopsHere(Observer::kProgress);
}

int OnAborted(void* data)
{
    auto* o = static_cast<Observer*>(data);
    o->Check();
    return o->StopsHere(Observer::kAborted);
}

void OnPhase(void* data, const char* text)
{
    auto* o = static_cast<Observer*>(data);
    o->Check();
    o->phases.push_back(text);
}

void OnLogLine(void* data, int kind, const char* text)
{
    auto* o = static_cast<Observer*>(data);
    o->Check();
    if (kind == ENGINE_LOG_WARNING)
        o->warnings.push_back(text);
}

int OnUserDialog(void* data, int, void*)
{
    static_cast<Observer*>(data)->Check();
    return 0;
}

// Starts the engine with the observer as every callback's user data.
class EngineApiTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        EngineSettings settings{};
        settings.idle = OnIdle;
        settings.idleUserData = &m_observer;
        settings.userDialog = OnUserDialog;
        settings.userDialogUserData = &m_observer;
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
        EXPECT_EQ(0, g_strayCalls.exchange(0)) << "callbacks on another thread or after NeroBurn returned";
    }

    int Burn(const std::vector<ControlEntry>& entries, unsigned int flags)
    {
        std::string error;
        VideoCdJobPtr job = MakeVideoCdJob(entries, error);
        EngineProgress progress{};
        progress.progress = OnProgress;
        progress.aborted = OnAborted;
        progress.addLogLine = OnLogLine;
        progress.setPhase = OnPhase;
        progress.userData = &m_observer;
        m_observer.returned = false;
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
