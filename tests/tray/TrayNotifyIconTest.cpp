// The animated notification icon with its helper windows, against a
// recorded shell.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "support/TrayRecorder.h"
#include "tray/CTrayNotifyIcon.h"
#include "tray/CTrayRessurectionWnd.h"
#include "tray/CTrayTimerWnd.h"

namespace {

// Four distinct icons standing for the animation frames.
struct Frames {
    Frames()
    {
        for (int i = 0; i < 4; ++i)
            icons[i] = CreateIcon(GetModuleHandleA(nullptr), 16, 16, 1, 1, mask, mask);
    }
    ~Frames()
    {
        for (HICON icon : icons)
            DestroyIcon(icon);
    }
    BYTE mask[32] = {};
    HICON icons[4];
};

}  // namespace

TEST(TrayNotifyIcon, HideShowAndTheAnimationOrder)
{
    TrayRecorder shell;
    Frames frames;
    HWND owner = GetDesktopWindow();
    HWND timerWindow = nullptr;
    {
        CTrayNotifyIcon icon;
        ASSERT_TRUE(icon.Create(owner, 7, "Burning", frames.icons, 4, 500, 0x464));
        ASSERT_EQ(1u, shell.m_calls.size());
        const NOTIFYICONDATAA& added = shell.m_calls[0].record;
        EXPECT_EQ(DWORD(NIM_ADD), shell.m_calls[0].message);
        EXPECT_EQ(DWORD(NOTIFYICONDATAA_V1_SIZE), added.cbSize);
        EXPECT_EQ(frames.icons[0], added.hIcon);
        EXPECT_EQ(UINT(NIF_MESSAGE | NIF_ICON | NIF_TIP), added.uFlags);
        EXPECT_STREQ("Burning", added.szTip);
        ASSERT_NE(nullptr, icon.m_pTimerWnd);
        timerWindow = icon.m_pTimerWnd->m_hWnd;
        EXPECT_FALSE(IsWindowVisible(timerWindow));

        // A Show that follows no Hide, and a second Hide, ask the shell nothing.
        EXPECT_FALSE(icon.Show());
        EXPECT_TRUE(icon.Hide());
        EXPECT_TRUE(icon.Hide());
        EXPECT_EQ(2u, shell.m_calls.size());
        EXPECT_EQ(DWORD(NIM_DELETE), shell.m_calls[1].message);

        // The animation ticks on while hidden; Show puts back the frame it reached.
        auto tick = [&] { SendMessageA(timerWindow, WM_TIMER, 1, 0); };
        tick(), tick();
        EXPECT_TRUE(icon.Show());
        tick(), tick(), tick();
        const int expected[] = {1, 2, -1, 3, 0, 1};  // -1: the Show
        ASSERT_EQ(8u, shell.m_calls.size());
        for (size_t i = 0; i < 6; ++i) {
            const TrayRecorder::Call& call = shell.m_calls[2 + i];
            if (expected[i] < 0) {
                EXPECT_EQ(DWORD(NIM_ADD), call.message);
                EXPECT_EQ(frames.icons[2], call.record.hIcon);
                continue;
            }
            EXPECT_EQ(DWORD(NIM_MODIFY), call.message) << i;
            EXPECT_EQ(UINT(NIF_ICON), call.record.uFlags) << i;
            EXPECT_EQ(frames.icons[expected[i]], call.record.hIcon) << i;
        }
    }
    // Destroyed: the helper windows are closed and the icon removed.
    EXPECT_FALSE(IsWindow(timerWindow));
    EXPECT_EQ(DWORD(NIM_DELETE), shell.m_calls.back().message);
}

TEST(TrayNotifyIcon, ComesBackWithANewTaskbarUnlessHidden)
{
    TrayRecorder shell;
    Frames frames;
    CTrayNotifyIcon icon;
    ASSERT_TRUE(icon.Create(GetDesktopWindow(), 1, "Tip", frames.icons[0], 0x464));
    ASSERT_NE(nullptr, icon.m_pResurrectionWnd);
    HWND resurrection = icon.m_pResurrectionWnd->m_hWnd;
    SendMessageA(resurrection, TaskbarCreatedMessage(), 0, 0);
    ASSERT_EQ(3u, shell.m_calls.size());
    EXPECT_EQ(DWORD(NIM_DELETE), shell.m_calls[1].message);
    EXPECT_EQ(DWORD(NIM_ADD), shell.m_calls[2].message);
    EXPECT_FALSE(icon.IsHidden());

    icon.Hide();
    SendMessageA(resurrection, TaskbarCreatedMessage(), 0, 0);
    EXPECT_EQ(4u, shell.m_calls.size());
    EXPECT_TRUE(icon.IsHidden());
}

TEST(TrayNotifyIcon, FailuresAndLongTips)
{
    TrayRecorder shell;
    shell.m_result = FALSE;
    Frames frames;
    CTrayNotifyIcon icon;
    std::string tip(80, 'x');
    EXPECT_FALSE(icon.Create(GetDesktopWindow(), 1, tip.c_str(), frames.icons[0], 0x464));
    EXPECT_EQ(std::string(63, 'x'), shell.m_calls[0].record.szTip);
    // Not created: Hide and Show still keep their state, removal asks nothing.
    icon.Hide();
    EXPECT_TRUE(icon.IsHidden());
    icon.Show();
    EXPECT_FALSE(icon.IsHidden());
    size_t calls = shell.m_calls.size();
    EXPECT_FALSE(icon.RemoveIcon());
    EXPECT_EQ(calls, shell.m_calls.size());
}
