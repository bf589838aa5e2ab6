// Recorders, discs and burns against the stand-in engine, whose answers the
// tests set: what the program makes of the engine's list, written discs,
// erasing, the speeds, failures and the rules for older engines.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "burn/EngineBinding.h"
#include "burn/testengine/TestEngineScript.h"
#include "support/MainWindowFixture.h"

namespace {

const char kShared[] = "SOFTWARE\\ahead\\Shared";

void SetShared(const std::string& folder)
{
    SetMachineValue(kShared, "NeroAPI", folder);
}

TestRecorder Recorder(char drive, const char* name, int type, unsigned disc, int tracks, int writeable,
                      int cdWriteMax, int discMax)
{
    TestRecorder r = {};
    r.driveLetter = drive;
    std::strncpy(r.name, name, sizeof r.name - 1);
    r.deviceType = type;
    r.supportedMedia = ENGINE_MEDIA_CDR;
    r.discType = disc;
    r.trackCount = tracks;
    r.writeable = writeable;
    r.cdWriteMax = cdWriteMax;
    r.discSpeedMax = discMax;
    return r;
}

// The main window and the recorder whose disc is erased.
HWND g_hMainWindow = nullptr;
TestRecorder* g_pErasedRecorder = nullptr;

// While the burn dialog erases: the disc is reported gone (a device notice
// the window must leave alone while the dialog is up), then Abort is pressed.
void CALLBACK AbortTheErase(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND dialog = FindWindowA("#32770", "BurnTitle");
    char state[64] = "";
    if (dialog && GetDlgItemTextA(dialog, IDC_BURN_STATE, state, sizeof state) && std::strcmp(state, "Erasing") == 0) {
        g_pErasedRecorder->discType = 0;
        SendMessageA(g_hMainWindow, WM_DEVICECHANGE, 0x8000, 0);
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        KillTimer(nullptr, id);
    }
}

// The window over the stand-in engine: a device without a drive letter, a
// writer with a written CD-RW, a "DVD" drive with a written CD-R, a reader.
class TestEngineTest : public MainWindowFixture {
protected:
    void SetUp() override
    {
        m_registered = MachineValue(kShared, "NeroAPI");
        std::string folder = std::string(SNAPDISC_TEST_ENGINES) + "\\testengine";
        SetShared(folder);
        m_hEngine = LoadLibraryA((folder + "\\NeroAPI.dll").c_str());  // keeps the script alive
        ASSERT_NE(nullptr, m_hEngine);
        auto scriptOf = reinterpret_cast<TestEngineScriptFunction>(
            reinterpret_cast<void*>(GetProcAddress(m_hEngine, "TestEngineScriptOf")));
        m_script = scriptOf();
        *m_script = TestEngineScript{};
        m_script->version = ENGINE_PACKED_VERSION;
        m_script->acceptVersion = 1;
        m_script->burnSteps = 4;
        m_script->recorderCount = 4;
        m_script->recorders[0] = Recorder(0, "Phantom", ENGINE_DEVICE_RECORDER, 0, 0, 0, 8, 0);
        m_script->recorders[1] = Recorder('e', "  Writer CD", ENGINE_DEVICE_RECORDER, ENGINE_MEDIA_CDRW, 1, 1, 52, 24);
        m_script->recorders[2] = Recorder('f', "Some DVD-RAM", ENGINE_DEVICE_RECORDER, ENGINE_MEDIA_CDR, 2, 0, 7, 0);
        m_script->recorders[3] = Recorder('g', "Reader", 0, 0, 0, 0, 0, 0);
        MainWindowFixture::SetUp();
    }
    void TearDown() override
    {
        MainWindowFixture::TearDown();
        EngineUnload();
        FreeLibrary(m_hEngine);
        SetShared(m_registered);
    }
    void Choose(int line)
    {
        HWND box = m_dlg.GetDlgItem(IDC_RECORDERS);
        SendMessageA(box, CB_SETCURSEL, static_cast<WPARAM>(line), 0);
        SendMessageA(m_dlg.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_RECORDERS, CBN_SELCHANGE), reinterpret_cast<LPARAM>(box));
    }
    void Start(std::initializer_list<int> answers)
    {
        m_prompter.m_messageAnswers = answers;
        Press(kElementStart);
    }
    std::string Texts()
    {
        std::string all;
        for (const auto& m : m_prompter.m_messages)
            all += m.text + "|";
        return all;
    }

    std::string m_registered;
    HMODULE m_hEngine = nullptr;
    TestEngineScript* m_script = nullptr;
};

}  // namespace

TEST_F(TestEngineTest, RecordersFromTheEnginesList)
{
    HWND box = m_dlg.GetDlgItem(IDC_RECORDERS);
    ASSERT_EQ(2, SendMessageA(box, CB_GETCOUNT, 0, 0));  // no drive letter: no record; a reader: not listed
    char line[200];
    SendMessageA(box, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(line));
    EXPECT_STREQ("E:  Writer CD", line);
    const auto& records = m_app.m_arrRecorders;
    ASSERT_EQ(3u, records.size());
    EXPECT_EQ(1, records[0]->m_nEngineIndex);  // its own entry's place, the phantom counted
    EXPECT_EQ(3, records[2]->m_nEngineIndex);
    EXPECT_EQ(0, records[0]->m_bDvdCapable);
    EXPECT_EQ(1, records[1]->m_bDvdCapable);  // "DV" in its name
    EXPECT_EQ(1, records[0]->m_bCdR);         // a CD-RW is a CD-R too
    EXPECT_EQ(1, records[0]->m_bCdRw);
    EXPECT_EQ(records[0].get(), m_dlg.m_pCurrentRecorder);
    EXPECT_EQ(52, m_dlg.m_nChosenSpeed);
    Choose(1);
    EXPECT_EQ(records[1].get(), m_dlg.m_pCurrentRecorder);
    EXPECT_EQ(6, m_dlg.m_nChosenSpeed);
    // A device notice refreshes the disc; during a burn it is left alone.
    m_script->recorders[2].discType = 0;
    SendMessageA(m_dlg.m_hWnd, WM_DEVICECHANGE, 0x8000, 0);
    EXPECT_EQ(0, m_dlg.m_pCurrentRecorder->m_bMediaPresent);
    AddPhotos(1);
    Start({});
    EXPECT_EQ("No Disc in the Device", m_prompter.m_messages.back().text);
}

TEST_F(TestEngineTest, WrittenDiscsAndTheErase)
{
    AddPhotos(2);  // delays 10 and 11
    m_dlg.m_project.m_strPath = m_dir.Write("trip.snz", "");
    Start({IDYES, IDNO});  // ready, but do not erase
    EXPECT_EQ("Ready|SureToErase|", Texts());
    EXPECT_EQ(0, m_script->eraseCalls);

    m_prompter.m_messages.clear();
    Start({IDYES, IDYES});
    EXPECT_EQ("Ready|SureToErase|SuccessToBurn|", Texts());
    EXPECT_EQ(1, m_script->eraseCalls);
    EXPECT_EQ(1, m_script->trayCalls);  // the tray closed again after the erase
    EXPECT_EQ(1, m_script->burnCalls);
    EXPECT_EQ(52u, m_script->lastBurnSpeed);  // 52 is faster than the disc: the recorder's maximum
    EXPECT_EQ(unsigned(ENGINE_BURN_WRITE | ENGINE_BURN_DISC_AT_ONCE | ENGINE_BURN_CLOSE_SESSION),
              m_script->lastBurnFlags);
    EXPECT_EQ(2, m_script->lastItemCount);
    EXPECT_EQ(750u, m_script->lastPauses[0]);
    EXPECT_EQ(825u, m_script->lastPauses[1]);

    Choose(1);  // a written CD-R
    m_prompter.m_messages.clear();
    Start({IDYES});
    EXPECT_EQ("Ready|Need a blank CDR|", Texts());
}

TEST_F(TestEngineTest, AbortDuringTheEraseMeansNoBurn)
{
    AddPhotos(1);
    m_dlg.m_project.m_strPath = m_dir.Write("trip.snz", "");
    m_script->eraseSteps = 40;
    g_hMainWindow = m_dlg.m_hWnd;
    g_pErasedRecorder = &m_script->recorders[1];
    UINT_PTR timer = SetTimer(nullptr, 0, 30, &AbortTheErase);
    Start({IDYES, IDYES});
    KillTimer(nullptr, timer);
    EXPECT_EQ(1, m_script->eraseCalls);
    EXPECT_EQ(0, m_script->burnCalls);
    EXPECT_EQ("Ready|SureToErase|", Texts());  // and nothing after
    EXPECT_FALSE(m_dlg.m_bBurning);
    EXPECT_EQ(1, m_dlg.m_pCurrentRecorder->m_bMediaPresent);  // the notice did not ask the engine
}

TEST_F(TestEngineTest, BurnsThatCannotStartSayWhy)
{
    AddPhotos(1);
    m_dlg.m_project.m_strPath = m_dir.Write("trip.snz", "");
    m_script->recorders[1].trackCount = 0;  // a blank CD-RW
    auto refused = [this](const char* key) {
        EXPECT_EQ(std::string("Ready|") + key + "|", Texts());
        EXPECT_EQ(UINT(MB_OK | MB_ICONSTOP), m_prompter.m_messages.back().type);
        m_prompter.m_messages.clear();
    };

    // The photo's file went away after it was added.
    std::filesystem::remove(m_dir.File("p0.bmp"));
    Start({IDYES});
    refused("NoPhotoLeft");
    m_dir.Write("p0.bmp", "picture");

    // The restarted engine lists another drive where the recorder was.
    m_script->recorders[1].driveLetter = 'x';
    Start({IDYES});
    refused("RecorderNotOpened");
    EXPECT_EQ(0, m_script->burnCalls);
    m_script->recorders[1].driveLetter = 'e';
    ASSERT_EQ(0, m_dlg.RefreshRecorders());

    // The engine does not start again.
    m_script->initResult = 2;
    Start({IDYES});
    refused("EngineRestartFailed");
    EXPECT_EQ(0, m_script->burnCalls);
}

TEST_F(TestEngineTest, FailedBurnSaysWhatTheEngineSaid)
{
    AddPhotos(1);
    m_dlg.m_project.m_strPath = m_dir.Write("trip.snz", "");
    m_script->recorders[1].trackCount = 0;  // blank
    m_script->burnResult = ENGINE_BURN_FAILED;
    std::strcpy(m_script->burnLog, "The laser is tired\n");
    Start({IDYES});
    EXPECT_EQ("Ready|BurnFailed\n\nThe laser is tired|", Texts());
    EXPECT_EQ(UINT(MB_OK | MB_ICONSTOP), m_prompter.m_messages.back().type);
}

TEST_F(TestEngineTest, OlderEnginesAndStartFailures)
{
    // 5.5.6.5 is not told that it is done.
    m_script->version = 5565;
    m_dlg.RefreshRecorders();
    int done = m_script->doneCalls;
    m_dlg.ReleaseRecorders();
    EXPECT_EQ(done, m_script->doneCalls);

    // An engine that refuses the version, or fails to start.
    m_script->version = ENGINE_PACKED_VERSION;
    m_script->acceptVersion = 0;
    EXPECT_EQ(-1, m_dlg.RefreshRecorders());
    EXPECT_EQ("Corrupt files!Please reinstall.", m_prompter.m_messages.back().text);
    m_script->acceptVersion = 1;
    m_script->initResult = 2;
    EXPECT_EQ(-1, m_dlg.RefreshRecorders());
    EXPECT_EQ("Startup failed,Please restart windows.", m_prompter.m_messages.back().text);
    m_script->initResult = 0;

    // An engine without the "Ex" entries: pinned by the packed number, its
    // recorders listed the old way.
    std::string old = std::string(SNAPDISC_TEST_ENGINES) + "\\oldengine";
    SetShared(old);
    HMODULE oldEngine = LoadLibraryA((old + "\\NeroAPI.dll").c_str());
    ASSERT_NE(nullptr, oldEngine);
    auto scriptOf = reinterpret_cast<TestEngineScriptFunction>(
        reinterpret_cast<void*>(GetProcAddress(oldEngine, "TestEngineScriptOf")));
    TestEngineScript* oldScript = scriptOf();
    *oldScript = *m_script;
    oldScript->version = 5500;
    EXPECT_EQ(0, m_dlg.RefreshRecorders());
    EXPECT_EQ(2, SendMessageA(m_dlg.GetDlgItem(IDC_RECORDERS), CB_GETCOUNT, 0, 0));
    m_dlg.ReleaseRecorders();
    FreeLibrary(oldEngine);
}

TEST(DvdVideo, BothFirstFilesMakeAFilm)
{
    TempDir dir;
    dir.Write("dvd\\video_ts\\video_ts.ifo", "ifo");
    EXPECT_FALSE(CBurner::HoldsDvdVideo(dir.File("dvd")));
    dir.Write("dvd\\video_ts\\vts_01_0.ifo", "ifo");
    EXPECT_TRUE(CBurner::HoldsDvdVideo(dir.File("dvd") + "\\"));  // a trailing separator is dropped
    EXPECT_FALSE(CBurner::HoldsDvdVideo("Q:"));  // an empty drive: no system box, just no film
}
