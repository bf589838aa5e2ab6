#include <gtest/gtest.h>

#include "app/CSnapdiscApp.h"
#include "app/CSnapdiscDlg.h"
#include "framework/CDataExchange.h"
#include "res/resource.h"
#include "support/FakePrompter.h"
#include "support/TempDir.h"
#include "support/TestRegistry.h"

namespace {

class MainDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir.Write("lang.ini", "english=English\r\n");
        m_dir.Write("lang/english.txt", "title=Snapdisc Test Window\r\nexit=Leave\r\n");
        DeleteRegistryTree("Software\\Larkfield_SNZ\\" + m_app.m_strAppName);
        m_app.StartUp(m_dir.File("snapdisc.exe"));
        m_app.WriteProfileString(kSettingSection, kDefaultDelayEntry, "25");
    }
    void TearDown() override { DeleteRegistryTree("Software\\Larkfield_SNZ\\" + m_app.m_strAppName); }

    TempDir m_dir;
    CSnapdiscApp m_app;
    FakePrompter m_prompter;
};

// Presses buttons of the running modal dialog from inside its loop.
class ScriptedDlg : public CSnapdiscDlg {
public:
    BOOL OnInitDialog() override
    {
        BOOL r = CSnapdiscDlg::OnInitDialog();
        PostMessageA(m_hWnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        PostMessageA(m_hWnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        PostMessageA(m_hWnd, WM_CLOSE, 0, 0);
        PostMessageA(m_hWnd, WM_APP, 0, 0);
        return r;
    }
    bool OnMessage(UINT msg, WPARAM w, LPARAM l, LRESULT& result) override
    {
        if (msg == WM_APP) {
            m_bStillOpen = IsWindowVisible(m_hWnd) != FALSE;
            ::SendMessageA(m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(520, 15));  // the "exit" element
            return true;
        }
        return CSnapdiscDlg::OnMessage(msg, w, l, result);
    }
    bool m_bStillOpen = false;
};

}  // namespace

TEST_F(MainDialogTest, OnlyExitEndsTheModalLoop)
{
    ScriptedDlg dlg;
    EXPECT_EQ(1, dlg.DoModal());
    EXPECT_TRUE(dlg.m_bStillOpen) << "Enter, Escape and Close must leave the window open";
    EXPECT_EQ(nullptr, dlg.m_hWnd);
    EXPECT_TRUE(m_prompter.m_messages.empty());
}

TEST_F(MainDialogTest, CaptionDelayBoxAndRangeCheck)
{
    CSnapdiscDlg dlg;
    ASSERT_TRUE(dlg.Create());
    EXPECT_EQ("Snapdisc Test Window", dlg.GetWindowText());
    EXPECT_EQ(dlg.m_hWnd, FindWindowA("#32770", "Snapdisc Test Window"));
    HWND delay = dlg.GetDlgItem(IDC_DELAY_EDIT);
    EXPECT_EQ("25", CWnd::GetWindowTextOf(delay));
    EXPECT_EQ(25u, dlg.m_nDelay);

    SetWindowTextA(delay, "60000");
    EXPECT_TRUE(dlg.UpdateData(TRUE));
    EXPECT_EQ(60000u, dlg.m_nDelay);
    EXPECT_TRUE(m_prompter.m_messages.empty());

    // Above the range: stored, then refused with the range message.
    SetWindowTextA(delay, "60001");
    EXPECT_FALSE(dlg.UpdateData(TRUE));
    EXPECT_EQ(60001u, dlg.m_nDelay);
    ASSERT_EQ(1u, m_prompter.m_messages.size());
    EXPECT_EQ(AfxRangeMessage(0, 60000), m_prompter.m_messages[0].text);
    EXPECT_EQ(UINT(MB_ICONEXCLAMATION), m_prompter.m_messages[0].type & MB_ICONMASK);
    EXPECT_EQ(delay, GetFocus());

    // Empty: the number message, and the member keeps its value.
    SetWindowTextA(delay, "");
    EXPECT_FALSE(dlg.UpdateData(TRUE));
    EXPECT_EQ(60001u, dlg.m_nDelay);
    ASSERT_EQ(2u, m_prompter.m_messages.size());
    EXPECT_EQ(AfxNumberMessage(), m_prompter.m_messages[1].text);

    // The box takes digits only.
    SetWindowTextA(delay, "");
    SendMessageA(delay, WM_CHAR, '4', 0);
    SendMessageA(delay, WM_CHAR, 'a', 0);
    SendMessageA(delay, WM_CHAR, '2', 0);
    EXPECT_EQ("42", CWnd::GetWindowTextOf(delay));
    dlg.EndDialog(0);
    EXPECT_FALSE(IsWindow(dlg.m_hWnd));
}
