// The about box and its link under Wine.
#include <gtest/gtest.h>

#include "app/CAboutDlg.h"
#include "lang/CLang.h"
#include "skin/OpenLink.h"
#include "support/MainWindowFixture.h"

using AboutBoxTest = MainWindowFixture;

TEST_F(AboutBoxTest, CaptionVersionAndLink)
{
    CAboutDlg about(&m_dlg);
    ASSERT_TRUE(about.Create());
    EXPECT_EQ("About Snapdisc", about.GetWindowText());
    HWND link = about.GetDlgItem(IDC_WEB_LINK);
    EXPECT_EQ(link, about.m_link.m_hWnd);
    EXPECT_EQ(CAboutDlg::kWebAddress, about.m_link.m_strTarget);
    EXPECT_EQ(CAboutDlg::kWebAddress, CWnd::GetWindowTextOf(link));
    EXPECT_TRUE(GetWindowLongA(link, GWL_STYLE) & SS_NOTIFY);

    // The link's colour answers the parent's colour query: blue, red while
    // hovered, transparent background.
    HDC dc = GetDC(link);
    SendMessageA(about.m_hWnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(link));
    EXPECT_EQ(RGB(0, 0, 238), GetTextColor(dc));
    EXPECT_EQ(TRANSPARENT, GetBkMode(dc));
    SendMessageA(link, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    EXPECT_TRUE(about.m_link.m_bHovering);
    SendMessageA(about.m_hWnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(link));
    EXPECT_EQ(RGB(255, 0, 0), GetTextColor(dc));
    ReleaseDC(link, dc);
    about.EndDialog(IDOK);

    // The same box, caption and all, from the system menu in another
    // language; a timer closes it once it is up.
    m_app.GetLang()->SetLangIndex(1);
    static bool s_found;
    s_found = false;
    UINT_PTR timer = SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR, DWORD) {
        HWND box = FindWindowA("#32770", "About Snapdisc");
        if (box) {
            s_found = true;
            PostMessageA(box, WM_COMMAND, IDOK, 0);
        }
    });
    SendMessageA(m_dlg.m_hWnd, WM_SYSCOMMAND, 16, 0);
    KillTimer(nullptr, timer);
    EXPECT_TRUE(s_found);
}

TEST(OpenLink, FailureIsReportedWithTheShellsReason)
{
    FakePrompter prompter;
    ReportOpenError(26);
    ReportOpenError(4);
    ASSERT_EQ(2u, prompter.m_messages.size());
    EXPECT_EQ("Unable to open hyperlink:\n\nA sharing violation occurred. ", prompter.m_messages[0].text);
    EXPECT_EQ(UINT(MB_OK | MB_ICONEXCLAMATION), prompter.m_messages[0].type);
    EXPECT_EQ("Unable to open hyperlink:\n\nUnknown Error (4) occurred.", prompter.m_messages[1].text);
}
