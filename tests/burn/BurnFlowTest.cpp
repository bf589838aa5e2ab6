// The start command, the burn dialog and the burn job under Wine, with the
// program folder's engine and its image recorder.
#include <gtest/gtest.h>

#include <filesystem>

#include "burn/CBurnProgressDlg.h"
#include "burn/CBurner.h"
#include "support/MainWindowFixture.h"

namespace {

const char kEngineKey[] = "Software\\Larkfield_SNZ\\NeroAPI";
const char kCorpus[] = SNAPDISC_CORPUS_DIR;

// Presses Abort in the burn dialog once the burn is under way.
void CALLBACK PressAbort(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND dialog = FindWindowA("#32770", "BurnTitle");
    if (dialog && SendDlgItemMessageA(dialog, IDC_PROGRESS, PBM_GETPOS, 0, 0) > 0) {
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        KillTimer(nullptr, id);
    }
}

class BurnFlowTest : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        m_images = m_dir.File("images");
        std::filesystem::create_directory(m_images);
        HKEY key;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, kEngineKey, 0, nullptr, 0, KEY_SET_VALUE,
                                                 nullptr, &key, nullptr));
        RegSetValueExA(key, "ImageFolder", 0, REG_SZ, reinterpret_cast<const BYTE*>(m_images.c_str()),
                       static_cast<DWORD>(m_images.size() + 1));
        RegCloseKey(key);
        m_dlg.m_project.m_strTitle = "trip";  // saved, so the checks need no save
        m_dlg.m_project.m_strPath = m_dir.Write("trip.snz", "");
    }
    void TearDown() override
    {
        RegDeleteTreeA(HKEY_CURRENT_USER, kEngineKey);
        MainWindowFixture::TearDown();
    }
    void AddPhoto(const std::string& path, uint32_t delay)
    {
        m_dlg.AppendPhoto(path, delay);
        m_dlg.UpdateElementActivity();
    }
    // Files the burn left in the image folder.
    size_t ImageFiles()
    {
        size_t n = 0;
        for (const auto& entry : std::filesystem::directory_iterator(m_images))
            n += entry.is_regular_file();
        return n;
    }
    const FakePrompter::Message& Last() { return m_prompter.m_messages.back(); }

    std::string m_images;
};

}  // namespace

TEST_F(BurnFlowTest, ABurnWritesTheImageAndSaysSo)
{
    AddPhoto(std::string(kCorpus) + "\\photos\\kpa_snow.jpg", 5);
    // A folder with a comma: the control file keeps the whole path.
    std::filesystem::create_directory(m_dir.File("Rome, 2003"));
    std::filesystem::copy_file(std::string(kCorpus) + "\\photos\\kpa_skagen.jpg", m_dir.File("Rome, 2003\\s.jpg"));
    AddPhoto(m_dir.File("Rome, 2003\\s.jpg"), 2);
    m_prompter.m_messageAnswers = {IDYES};  // "Ready"
    Press(kElementStart);
    ASSERT_EQ(2u, m_prompter.m_messages.size());
    EXPECT_EQ("Ready", m_prompter.m_messages[0].text);
    EXPECT_EQ(UINT(MB_YESNO | MB_ICONINFORMATION), m_prompter.m_messages[0].type);
    EXPECT_EQ("SuccessToBurn", Last().text);
    EXPECT_EQ(UINT(MB_OK | MB_ICONINFORMATION), Last().type);
    EXPECT_EQ(2u, ImageFiles());  // the BIN and its CUE
    EXPECT_FALSE(m_dlg.m_bBurning);
    EXPECT_TRUE(std::filesystem::exists(CBurnProgressDlg::ControlFilePath()));
    // The tray: the resident icon made way for the burning one and came back.
    ASSERT_GE(m_tray.m_calls.size(), 4u);
    EXPECT_EQ(2, m_tray.Count(NIM_ADD, 149));
    EXPECT_EQ(DWORD(NIM_ADD), m_tray.m_calls.back().message);
}

TEST_F(BurnFlowTest, AbortLeavesNothingAndSaysNothing)
{
    // Long enough that the Abort always comes while the engine works.
    for (int i = 0; i < 150; ++i)
        AddPhoto(std::string(kCorpus) + "\\photos\\kpa_snow.jpg", 1);
    m_prompter.m_messageAnswers = {IDYES};
    UINT_PTR timer = SetTimer(nullptr, 0, 50, &PressAbort);
    Press(kElementStart);
    KillTimer(nullptr, timer);
    ASSERT_EQ(1u, m_prompter.m_messages.size()) << Last().text;  // only "Ready"
    EXPECT_EQ(0u, ImageFiles());
}

TEST_F(BurnFlowTest, FailuresAndWarningsAreTold)
{
    // A damaged photo burns, and the user hears of it.
    AddPhoto(std::string(kCorpus) + "\\jpeg\\gen_truncated_half_baseline.jpg", 3);
    m_prompter.m_messageAnswers = {IDYES};
    Press(kElementStart);
    EXPECT_EQ(0u, Last().text.find("SuccessToBurn\n\nBurnWarnings\n"));
    EXPECT_NE(std::string::npos, Last().text.find("gen_truncated_half_baseline.jpg")) << Last().text;

    // A job the engine refuses: the engine's own reason, stop icon.
    m_dlg.AppendPhoto(m_dir.Write("clip.avi", "not really"), 1);
    m_prompter.m_messageAnswers = {IDYES};
    Press(kElementStart);
    EXPECT_EQ(0u, Last().text.find("BurnFailed\n\n"));
    EXPECT_NE(std::string::npos, Last().text.find("AVI")) << Last().text;
    EXPECT_EQ(UINT(MB_OK | MB_ICONSTOP), Last().type);
}

TEST_F(BurnFlowTest, StartChecks)
{
    m_dlg.StartBurnChecks();  // an empty list: said, not silently nothing
    EXPECT_EQ("NoPhotos", Last().text);
    AddPhoto(std::string(kCorpus) + "\\photos\\kpa_snow.jpg", 5);
    m_prompter.m_messageAnswers = {IDNO};
    Press(kElementStart);
    EXPECT_EQ("Ready", Last().text);
    EXPECT_EQ(0u, ImageFiles());

    // Never saved: the burn dialog's text says so, with the list's count.
    m_dlg.m_project.m_strTitle.clear();
    m_dlg.m_project.m_strPath.clear();
    m_prompter.m_messageAnswers = {IDYES};
    Press(kElementStart);
    ASSERT_TRUE(m_dlg.m_pBurnDialog);
    EXPECT_EQ("Project NameNotSavePhoto Numbers1Photo Total Size106 KBs", m_dlg.m_pBurnDialog->m_strInfo);

    // 1900 photos pass, 1901 do not.
    m_dlg.m_listPhotos.SetRedraw(FALSE);
    for (int i = 1; i < 1900; ++i)
        m_dlg.AppendPhoto("C:\\none.jpg", 1);
    m_dlg.m_listPhotos.SetRedraw(TRUE);
    m_prompter.m_messageAnswers = {IDNO};
    Press(kElementStart);
    EXPECT_EQ("Ready", Last().text);
    m_dlg.AppendPhoto("C:\\none.jpg", 1);
    Press(kElementStart);
    EXPECT_EQ("SizeTooBig", Last().text);
}

namespace {

// A machine without the engine: its registration is taken away for the test.
class BurnWithoutEngineTest : public MainWindowFixture {
protected:
    void SetUp() override
    {
        m_registered = MachineValue(kShared, "NeroAPI");
        RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, kShared, "NeroAPI");
        MainWindowFixture::SetUp();
    }
    void TearDown() override
    {
        MainWindowFixture::TearDown();
        SetMachineValue(kShared, "NeroAPI", m_registered);
    }
    static constexpr const char* kShared = "SOFTWARE\\ahead\\Shared";
    std::string m_registered;
};

}  // namespace

TEST_F(BurnWithoutEngineTest, StartSaysThereIsNoRecorder)
{
    ASSERT_EQ(1u, m_prompter.m_messages.size());
    EXPECT_EQ("Corrupt files!Please reinstall.", m_prompter.m_messages[0].text);
    EXPECT_EQ(UINT(MB_ICONSTOP), m_prompter.m_messages[0].type & MB_ICONMASK);
    HWND combo = m_dlg.GetDlgItem(IDC_RECORDERS);
    EXPECT_FALSE(IsWindowVisible(combo));
    EXPECT_FALSE(IsWindowEnabled(combo));
    AddPhotos(1);
    Press(kElementStart);
    EXPECT_EQ("NoDevice", m_prompter.m_messages.back().text);
}

namespace {

class IdleHost : public CBurnProgressDlg::Host {
public:
    void BurnStarting() override { ++m_nStarted; }
    void BurnEnded() override {}
    CRecorderInfo* BurnRecorder() override { return nullptr; }
    int BurnSpeed() override { return 0; }
    void BurnPhotos(std::vector<std::string>&, std::vector<uint32_t>&) override {}
    int m_nStarted = 0;
};

}  // namespace

TEST(BurnProgressDialog, ClockPercentAndKeys)
{
    IdleHost host;
    CBurner burner;
    CBurnProgressDlg dialog(nullptr, host, burner);
    ASSERT_TRUE(dialog.Create());
    EXPECT_EQ(1, host.m_nStarted);
    for (int second = 0; second < 3661; ++second)
        SendMessageA(dialog.m_hWnd, WM_TIMER, 2, 0);
    EXPECT_EQ("01:01:01", CWnd::GetWindowTextOf(dialog.GetDlgItem(IDC_ELAPSED_VALUE)));
    SendMessageA(dialog.GetDlgItem(IDC_PROGRESS), PBM_SETPOS, 5, 0);
    SendMessageA(dialog.m_hWnd, WM_TIMER, 2, 0);
    EXPECT_EQ("05 %", CWnd::GetWindowTextOf(dialog.GetDlgItem(IDC_PERCENT_VALUE)));
    // Escape does nothing; Abort only raises the flag.
    SendMessageA(dialog.m_hWnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    SendMessageA(dialog.m_hWnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_TRUE(IsWindow(dialog.m_hWnd));
    EXPECT_EQ(1, burner.m_bAbort);
    dialog.EndDialog(0);
}
