#pragma once
// A main window for tests under Wine, with its own program folder, language
// files and settings, a prompter that answers its questions and a recorded
// notification area.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "app/CSnapdiscApp.h"
#include "app/CSnapdiscDlg.h"
#include "res/resource.h"
#include "skin/CSkinElement.h"
#include "support/FakePrompter.h"
#include "support/TempDir.h"
#include "support/TestRegistry.h"
#include "support/TrayRecorder.h"

inline void Pump()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

inline RECT ClientRectOf(HWND child)
{
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

class MainWindowFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir.Write("lang.ini", "english=English\r\ngerman=Deutsch\r\n");
        m_dir.Write("lang/english.txt",
                    "title=Main Window Test\r\nFile=File\r\nDelays=Delays\r\nNoFile=(missing)\r\n"
                    "MiniTip=Snapdisc tip\r\nSureToChangeDelayTime=Apply?\r\nConfirm=Confirm\r\nSureToSave=Save?\r\n"
                    "Warning=Warning\r\nFileSize=Too many\r\nTooManyFiles=Names too long\r\nSureToClearAll=Clear?\r\n"
                    "select photo=Select one\r\n");
        m_dir.Write("lang/german.txt", "title=Main Window Test\r\nFile=Datei\r\nDelays=Dauer\r\nNoFile=(fehlt)\r\n");
        DeleteRegistryTree(Key());
        m_app.StartUp(m_dir.File("snapdisc.exe"));
        m_app.WriteProfileString(kSettingSection, kDefaultDelayEntry, "10");
        ASSERT_TRUE(m_dlg.Create());
    }
    void TearDown() override
    {
        m_dlg.EndDialog(0);
        DeleteRegistryTree(Key());
    }
    std::string Key() const { return "Software\\Larkfield_SNZ\\" + m_app.m_strAppName; }

    void Press(int element)
    {
        const CSkinElement& e = g_skinElements[static_cast<size_t>(element)];
        LPARAM at = MAKELPARAM(e.x + e.width / 2, e.y + e.height / 2);
        SendMessageA(m_dlg.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageA(m_dlg.m_hWnd, WM_LBUTTONUP, 0, at);
    }
    // n photos p0.bmp ... with delays 10, 11, ...
    void AddPhotos(int n)
    {
        for (int i = 0; i < n; ++i)
            m_dlg.AppendPhoto(m_dir.Write("p" + std::to_string(i) + ".bmp", std::string(10 + i, 'x')),
                              static_cast<uint32_t>(10 + i));
        m_dlg.UpdateElementActivity();
    }
    std::string Cell(int row, int column) { return m_dlg.m_listPhotos.GetItemText(row, column); }
    POINT CellCentre(int row, int column)
    {
        RECT r;
        m_dlg.m_listPhotos.GetSubItemRect(row, column, LVIR_BOUNDS, r);
        if (column == 0)
            r.right = r.left + 100;  // row 0's bounds span the whole row
        return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    void ClickCell(int row, int column)
    {
        POINT p = CellCentre(row, column);
        SendMessageA(m_dlg.m_listPhotos.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
        SendMessageA(m_dlg.m_listPhotos.m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
    }

    TempDir m_dir;
    CSnapdiscApp m_app;
    FakePrompter m_prompter;
    TrayRecorder m_tray;
    CSnapdiscDlg m_dlg;
};

