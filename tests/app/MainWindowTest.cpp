// The main window under Wine with real messages: its controls, the photo
// list's drag and delay editor, the delay command, the language switch,
// element activity, the slideshow and the resident tray icon.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include "app/CSnapdiscApp.h"
#include "app/CSnapdiscDlg.h"
#include "app/CSplashDlg.h"
#include "framework/CDataExchange.h"
#include "res/resource.h"
#include "skin/CSkinElement.h"
#include "support/FacePixel.h"
#include "support/FakePrompter.h"
#include "support/TempDir.h"
#include "support/MainWindowFixture.h"
#include "support/TestRegistry.h"
#include "support/TrayRecorder.h"

using MainWindowTest = MainWindowFixture;

TEST_F(MainWindowTest, OpensWithItsControlsOnTheirElements)
{
    HWND list = m_dlg.m_listPhotos.m_hWnd, preview = m_dlg.m_staticPreview.m_hWnd;
    HWND combo = m_dlg.GetDlgItem(IDC_RECORDERS), delay = m_dlg.GetDlgItem(IDC_DELAY_EDIT);
    struct {
        HWND control;
        int element;
    } placed[] = {{list, kElementPicList}, {preview, kElementPicStatic}, {combo, kElementDevices},
                  {delay, kElementDelayEdit}};
    for (const auto& p : placed) {
        const CSkinElement& e = g_skinElements[static_cast<size_t>(p.element)];
        RECT r = ClientRectOf(p.control);
        EXPECT_EQ(e.x, r.left) << e.m_strName;
        EXPECT_EQ(e.y, r.top) << e.m_strName;
        EXPECT_EQ(e.width, r.right - r.left) << e.m_strName;
    }
    EXPECT_TRUE(IsWindowVisible(list));
    EXPECT_TRUE(IsWindowVisible(preview));
    // The program folder's engine lists its image recorder, which names its folder.
    EXPECT_TRUE(IsWindowVisible(combo));
    EXPECT_TRUE(IsWindowEnabled(combo));
    EXPECT_NE(std::string::npos, CWnd::GetWindowTextOf(combo).find("Disc images in")) << CWnd::GetWindowTextOf(combo);
    EXPECT_NE(nullptr, m_dlg.m_pCurrentRecorder);
    EXPECT_EQ("10", CWnd::GetWindowTextOf(delay));

    // The list: label editing for the delay editor, several rows selectable,
    // grid lines, header drag and drop, full-row select, the five columns.
    LONG style = GetWindowLongA(list, GWL_STYLE);
    EXPECT_EQ(LVS_EDITLABELS | LVS_NOLABELWRAP | LVS_REPORT,
              style & (LVS_EDITLABELS | LVS_NOLABELWRAP | LVS_TYPEMASK | LVS_SINGLESEL));
    EXPECT_EQ(0x31u, m_dlg.m_listPhotos.GetExtendedStyle() & 0x31u);
    const char* titles[] = {"File", "Delays", "Date", "Bytes", "Path"};
    const int widths[] = {128, 64, 128, 64, 512};
    for (int i = 0; i < 5; ++i) {
        char text[32] = "";
        LVCOLUMNA col = {};
        col.mask = LVCF_TEXT | LVCF_WIDTH;
        col.pszText = text;
        col.cchTextMax = sizeof text;
        ASSERT_TRUE(SendMessageA(list, LVM_GETCOLUMNA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&col)));
        EXPECT_STREQ(titles[i], text);
        EXPECT_EQ(widths[i], col.cx);
    }

    // The about item of the system menu.
    char about[64] = "";
    GetMenuStringA(GetSystemMenu(m_dlg.m_hWnd, FALSE), 16, about, sizeof about, MF_BYCOMMAND);
    EXPECT_STREQ("&About KVS...", about);

    // The burning icon was added and hidden at once; the resident icon stays.
    ASSERT_GE(m_tray.m_calls.size(), 3u);
    EXPECT_EQ(DWORD(NIM_ADD), m_tray.m_calls[0].message);
    EXPECT_EQ(0u, m_tray.m_calls[0].record.uID);
    EXPECT_STREQ("Burning", m_tray.m_calls[0].record.szTip);
    EXPECT_EQ(1, m_tray.Count(NIM_DELETE, 0));
    ASSERT_EQ(1, m_tray.Count(NIM_ADD, IDI_TRAY));
    const NOTIFYICONDATAA& resident = m_tray.m_calls.back().record;
    EXPECT_EQ(DWORD(NOTIFYICONDATAA_V1_SIZE), resident.cbSize);
    EXPECT_EQ(m_dlg.m_hWnd, resident.hWnd);
    EXPECT_EQ(UINT(NIF_MESSAGE | NIF_ICON | NIF_TIP), resident.uFlags);
    EXPECT_EQ(0x464u, resident.uCallbackMessage);
    EXPECT_STREQ("Snapdisc tip", resident.szTip);
}

TEST_F(MainWindowTest, PhotoElementsActOnlyWithPhotos)
{
    for (int e : {kElementFirst, kElementPrev, kElementNext, kElementLast, kElementPlay, kElementStop, kElementDel,
                  kElementDelAll, kElementStart})
        EXPECT_EQ(0, g_skinElements[static_cast<size_t>(e)].m_bActive) << e;
    const CSkinElement& play = g_skinElements[kElementPlay];
    EXPECT_EQ(-1, HitTestElement(play.x + 1, play.y + 1));
    Press(kElementPlay);
    EXPECT_EQ(0u, m_dlg.m_nSlideshowPeriodMs);

    AddPhotos(1);
    EXPECT_EQ(kElementPlay, HitTestElement(play.x + 1, play.y + 1));
    EXPECT_EQ(1, g_skinElements[kElementStart].m_bActive);
    EXPECT_EQ(1, g_skinElements[kElementHelp].m_bActive);
    Press(kElementPlay);
    EXPECT_EQ(100u, m_dlg.m_nSlideshowPeriodMs);

    // "play" and "stop" reach into the preview's rectangle; the preview
    // leaves them out, so the face shows them whole.
    const CSkinElement& area = g_skinElements[kElementPicStatic];
    HRGN shape = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(ERROR, GetWindowRgn(m_dlg.m_staticPreview.m_hWnd, shape));
    for (int e : {kElementPlay, kElementStop}) {
        const CSkinElement& b = g_skinElements[static_cast<size_t>(e)];
        EXPECT_FALSE(PtInRegion(shape, b.x - area.x, b.y - area.y)) << b.m_strName;
        EXPECT_FALSE(PtInRegion(shape, b.x - area.x + b.width - 1, area.height - 1)) << b.m_strName;
        EXPECT_TRUE(PtInRegion(shape, b.x - area.x, b.y - area.y - 1)) << b.m_strName;
    }
    DeleteObject(shape);
    UpdateWindow(m_dlg.m_hWnd);
    SendMessageA(m_dlg.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(play.x + 1, play.y + play.height - 1));
    int mismatches = 0;
    for (int x = play.x; x < play.x + play.width; ++x)
        for (int y = play.y; y < area.y + area.height; ++y)
            mismatches += WindowPixel(m_dlg.m_hWnd, x, y) != FacePixel(IDB_FACE_HOVER, x, y);
    EXPECT_EQ(0, mismatches) << "the whole of \"play\" shows its hover face";
}

TEST_F(MainWindowTest, DraggingRowZeroOntoRowThree)
{
    AddPhotos(5);
    HWND list = m_dlg.m_listPhotos.m_hWnd;
    NMLISTVIEW begin = {};
    begin.hdr = {list, IDC_PHOTO_LIST, static_cast<UINT>(LVN_BEGINDRAG)};
    begin.iItem = 0;
    SendMessageA(m_dlg.m_hWnd, WM_NOTIFY, IDC_PHOTO_LIST, reinterpret_cast<LPARAM>(&begin));
    EXPECT_EQ(1, m_dlg.m_listPhotos.m_bDragging);
    EXPECT_EQ(list, GetCapture());
    POINT drop = CellCentre(3, 2);
    SendMessageA(list, WM_LBUTTONUP, 0, MAKELPARAM(drop.x, drop.y));
    EXPECT_EQ(3, m_dlg.m_listPhotos.m_nDropIndex);
    Pump();  // the list posts the drop to the main window

    EXPECT_EQ(0, m_dlg.m_listPhotos.m_bDragging);
    const int order[] = {1, 2, 3, 0, 4};
    for (int row = 0; row < 5; ++row) {
        std::string name = "p" + std::to_string(order[row]) + ".bmp";
        EXPECT_EQ(name, Cell(row, 0)) << row;
        EXPECT_EQ(std::to_string(10 + order[row]), Cell(row, 1)) << row;
        EXPECT_EQ(m_dir.File(name), Cell(row, 4)) << row;
        EXPECT_EQ(m_dir.File(name), m_dlg.m_arrPhotos[static_cast<size_t>(row)].m_strPath) << row;
        EXPECT_EQ(m_dir.File(name), m_dlg.m_project.m_arrPaths[static_cast<size_t>(row)]) << row;
        EXPECT_EQ(uint32_t(10 + order[row]), m_dlg.m_project.m_arrDelays[static_cast<size_t>(row)]) << row;
        UINT state = m_dlg.m_listPhotos.GetItemState(row, LVIS_SELECTED | LVIS_FOCUSED);
        EXPECT_EQ(row == 3 ? UINT(LVIS_SELECTED | LVIS_FOCUSED) : 0u, state) << row;
    }
    EXPECT_EQ(1, m_dlg.m_project.m_bModified);
    // The next click in the list takes the drop highlight away.
    EXPECT_NE(0u, m_dlg.m_listPhotos.GetItemState(3, LVIS_DROPHILITED));
    NMHDR click = {list, IDC_PHOTO_LIST, static_cast<UINT>(NM_CLICK)};
    SendMessageA(m_dlg.m_hWnd, WM_NOTIFY, IDC_PHOTO_LIST, reinterpret_cast<LPARAM>(&click));
    EXPECT_EQ(0u, m_dlg.m_listPhotos.GetItemState(3, LVIS_DROPHILITED));

    // A drop below the last row ends the drag and moves nothing.
    m_dlg.m_project.m_bModified = 0;
    begin.iItem = 1;
    SendMessageA(m_dlg.m_hWnd, WM_NOTIFY, IDC_PHOTO_LIST, reinterpret_cast<LPARAM>(&begin));
    SendMessageA(list, WM_LBUTTONUP, 0, MAKELPARAM(20, 125));
    Pump();
    EXPECT_EQ(0, m_dlg.m_listPhotos.m_bDragging);
    EXPECT_EQ("p2.bmp", Cell(1, 0));
    EXPECT_EQ(0, m_dlg.m_project.m_bModified);
}

TEST_F(MainWindowTest, DelayEditorOverTheDelayCell)
{
    AddPhotos(3);
    HWND list = m_dlg.m_listPhotos.m_hWnd;
    ClickCell(1, 1);
    HWND editor = m_dlg.m_listPhotos.GetEditControl();
    ASSERT_NE(nullptr, editor);
    RECT cell;
    m_dlg.m_listPhotos.GetSubItemRect(1, 1, LVIR_BOUNDS, cell);
    EXPECT_EQ(cell.left + 6, ClientRectOf(editor).left);
    EXPECT_EQ("11", CWnd::GetWindowTextOf(editor));
    // A second click on the open cell ends the edit (the list takes the
    // focus) and does not start another one.
    POINT right = {cell.right - 2, (cell.top + cell.bottom) / 2};
    SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(right.x, right.y));
    SendMessageA(list, WM_LBUTTONUP, 0, MAKELPARAM(right.x, right.y));
    EXPECT_EQ(nullptr, m_dlg.m_listPhotos.GetEditControl());
    EXPECT_EQ("11", Cell(1, 1));
    ClickCell(1, 1);
    editor = m_dlg.m_listPhotos.GetEditControl();
    ASSERT_NE(nullptr, editor);

    SendMessageA(editor, EM_SETSEL, 0, -1);
    for (char c : std::string("2x5"))
        SendMessageA(editor, WM_CHAR, static_cast<WPARAM>(c), 0);
    SendMessageA(editor, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(nullptr, m_dlg.m_listPhotos.GetEditControl());
    EXPECT_EQ("25", Cell(1, 1));
    EXPECT_EQ("p1.bmp", Cell(1, 0));
    EXPECT_EQ(25u, m_dlg.m_project.m_arrDelays[1]);
    EXPECT_EQ(1, m_dlg.m_project.m_bModified);

    // Emptied and accepted: delay 0, the cell left empty.
    ClickCell(2, 1);
    editor = m_dlg.m_listPhotos.GetEditControl();
    ASSERT_NE(nullptr, editor);
    SetWindowTextA(editor, "");
    SendMessageA(editor, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ("", Cell(2, 1));
    EXPECT_EQ(0u, m_dlg.m_project.m_arrDelays[2]);

    // Escape changes nothing.
    m_dlg.m_project.m_bModified = 0;
    ClickCell(0, 1);
    editor = m_dlg.m_listPhotos.GetEditControl();
    ASSERT_NE(nullptr, editor);
    SetWindowTextA(editor, "99");
    SendMessageA(editor, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ("10", Cell(0, 1));
    EXPECT_EQ(10u, m_dlg.m_project.m_arrDelays[0]);
    EXPECT_EQ(0, m_dlg.m_project.m_bModified);

    // Names are never edited (F2, or a slow second click on a name).
    SendMessageA(list, LVM_EDITLABELA, 0, 0);
    EXPECT_EQ(nullptr, m_dlg.m_listPhotos.GetEditControl());
}

TEST_F(MainWindowTest, DelayCommandChecksTheRangeThenAsks)
{
    AddPhotos(3);
    HWND delay = m_dlg.GetDlgItem(IDC_DELAY_EDIT);
    SetWindowTextA(delay, "60001");
    Press(kElementDelay);
    ASSERT_EQ(1u, m_prompter.m_messages.size());
    EXPECT_EQ(AfxRangeMessage(0, 60000), m_prompter.m_messages[0].text);
    EXPECT_EQ("11", Cell(1, 1));
    EXPECT_EQ(0, m_dlg.m_project.m_bModified);

    SetWindowTextA(delay, "5");
    m_prompter.m_messageAnswers = {IDYES};
    Press(kElementDelay);
    ASSERT_EQ(2u, m_prompter.m_messages.size());
    EXPECT_EQ("Apply?", m_prompter.m_messages[1].text);
    EXPECT_EQ("Confirm", m_prompter.m_messages[1].caption);
    EXPECT_EQ(UINT(MB_YESNO | MB_ICONQUESTION), m_prompter.m_messages[1].type);
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ("5", Cell(row, 1));
        EXPECT_EQ(5u, m_dlg.m_project.m_arrDelays[static_cast<size_t>(row)]);
    }
    EXPECT_EQ("5", m_app.GetProfileString(kSettingSection, kDefaultDelayEntry, ""));

    // Now "exit" asks to save.
    m_prompter.m_messageAnswers = {IDNO};
    Press(kElementExit);
    ASSERT_EQ(3u, m_prompter.m_messages.size());
    EXPECT_EQ("Save?", m_prompter.m_messages[2].text);
    EXPECT_FALSE(IsWindow(m_dlg.m_hWnd));
}

TEST_F(MainWindowTest, LanguageSwitchRelabelsColumnsAndMissingFiles)
{
    AddPhotos(1);
    m_dlg.AppendPhoto(m_dir.File("gone.jpg"), 10);
    EXPECT_EQ("(missing)", Cell(1, 0));

    m_prompter.m_menuAnswers = {0, 1};  // dismissed, then the language in use
    Press(kElementLanguage);
    Press(kElementLanguage);
    EXPECT_EQ("", m_app.GetProfileString(kSettingSection, kLangEntry, ""));  // nothing stored
    EXPECT_EQ("(missing)", Cell(1, 0));

    m_prompter.m_menuAnswers = {2};
    Press(kElementLanguage);
    EXPECT_EQ("german", m_app.GetProfileString(kSettingSection, kLangEntry, ""));
    EXPECT_EQ("(fehlt)", Cell(1, 0));
    EXPECT_EQ("p0.bmp", Cell(0, 0));
    char text[32] = "";
    LVCOLUMNA col = {};
    col.mask = LVCF_TEXT;
    col.pszText = text;
    col.cchTextMax = sizeof text;
    SendMessageA(m_dlg.m_listPhotos.m_hWnd, LVM_GETCOLUMNA, 1, reinterpret_cast<LPARAM>(&col));
    EXPECT_STREQ("Dauer", text);
    EXPECT_EQ("Main Window Test", m_dlg.GetWindowText());  // the caption stays
}

TEST_F(MainWindowTest, SlideshowShowsEachPhotoForItsDelay)
{
    for (uint32_t delay : {2u, 0u, 5u})
        m_dlg.AppendPhoto(m_dir.Write("d" + std::to_string(delay) + ".bmp", "x"), delay);
    m_dlg.UpdateElementActivity();
    const std::string& shown = m_dlg.m_staticPreview.m_strPicturePath;

    Press(kElementPlay);
    EXPECT_EQ(100u, m_dlg.m_nSlideshowPeriodMs);
    EXPECT_EQ("", shown);
    // The real timer shows the first photo after 100 ms.
    for (DWORD start = GetTickCount(); shown.empty() && GetTickCount() - start < 3000;) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        Pump();
    }
    EXPECT_EQ(m_dir.File("d2.bmp"), shown);
    EXPECT_EQ(2000u, m_dlg.m_nSlideshowPeriodMs);
    SendMessageA(m_dlg.m_hWnd, WM_TIMER, CSnapdiscDlg::kSlideshowTimer, 0);
    EXPECT_EQ(m_dir.File("d0.bmp"), shown);
    EXPECT_EQ(0u, m_dlg.m_nSlideshowPeriodMs);
    SendMessageA(m_dlg.m_hWnd, WM_TIMER, CSnapdiscDlg::kSlideshowTimer, 0);
    EXPECT_EQ(m_dir.File("d5.bmp"), shown);
    EXPECT_EQ(5000u, m_dlg.m_nSlideshowPeriodMs);
    // After the last delay the preview empties and the timer is gone.
    SendMessageA(m_dlg.m_hWnd, WM_TIMER, CSnapdiscDlg::kSlideshowTimer, 0);
    EXPECT_EQ("", shown);
    EXPECT_EQ(0, m_dlg.m_nSlideshowPosition);
    EXPECT_FALSE(KillTimer(m_dlg.m_hWnd, CSnapdiscDlg::kSlideshowTimer));

    // "play" during playback starts again; "stop" keeps the picture.
    Press(kElementPlay);
    SendMessageA(m_dlg.m_hWnd, WM_TIMER, CSnapdiscDlg::kSlideshowTimer, 0);
    SendMessageA(m_dlg.m_hWnd, WM_TIMER, CSnapdiscDlg::kSlideshowTimer, 0);
    EXPECT_EQ(2, m_dlg.m_nSlideshowPosition);
    Press(kElementPlay);
    EXPECT_EQ(0, m_dlg.m_nSlideshowPosition);
    EXPECT_EQ(100u, m_dlg.m_nSlideshowPeriodMs);
    SendMessageA(m_dlg.m_hWnd, WM_TIMER, CSnapdiscDlg::kSlideshowTimer, 0);
    Press(kElementStop);
    EXPECT_EQ(m_dir.File("d2.bmp"), shown);
    EXPECT_EQ(0, m_dlg.m_nSlideshowPosition);
    EXPECT_FALSE(KillTimer(m_dlg.m_hWnd, CSnapdiscDlg::kSlideshowTimer));
}

TEST_F(MainWindowTest, HiddenToTheTrayAndBack)
{
    Press(kElementMin);
    EXPECT_FALSE(IsWindowVisible(m_dlg.m_hWnd));
    SendMessageA(m_dlg.m_hWnd, CSnapdiscDlg::kTrayMessage, IDI_TRAY, WM_RBUTTONUP);
    EXPECT_FALSE(IsWindowVisible(m_dlg.m_hWnd));
    SendMessageA(m_dlg.m_hWnd, CSnapdiscDlg::kTrayMessage, IDI_TRAY, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(IsWindowVisible(m_dlg.m_hWnd));

    // A new taskbar gets the resident icon again, so a hidden window stays reachable.
    SendMessageA(m_dlg.m_hWnd, TaskbarCreatedMessage(), 0, 0);
    EXPECT_EQ(2, m_tray.Count(NIM_ADD, IDI_TRAY));
    m_dlg.EndDialog(0);
    EXPECT_EQ(1, m_tray.Count(NIM_DELETE, IDI_TRAY));
}

TEST(MainWindowCreation, FailsWithoutTheBurningTrayIcon)
{
    TempDir dir;
    dir.Write("lang.ini", "english=English\r\n");
    dir.Write("lang/english.txt", "title=Tray Failure Test\r\n");
    CSnapdiscApp app;
    app.StartUp(dir.File("snapdisc.exe"));
    FakePrompter prompter;
    TrayRecorder tray;
    tray.m_result = FALSE;
    CSnapdiscDlg dlg;
    EXPECT_FALSE(dlg.Create());
    ASSERT_EQ(1u, prompter.m_messages.size());
    EXPECT_EQ("Failed to create tray icon", prompter.m_messages[0].text);
    EXPECT_EQ(UINT(MB_ICONSTOP), prompter.m_messages[0].type & MB_ICONMASK);
    EXPECT_EQ(nullptr, FindWindowA("#32770", "Tray Failure Test"));
    DeleteRegistryTree("Software\\Larkfield_SNZ\\" + app.m_strAppName);
}

TEST_F(MainWindowTest, StatusStripScrollsAndPictureCountIsDrawn)
{
    // The composed line is wide: it scrolls.
    m_dlg.DrawStatusText();
    EXPECT_NE(std::string::npos, m_dlg.m_strStatusText.find("Disc images in"));
    EXPECT_TRUE(m_dlg.m_bMarqueeRunning);

    // A text wider than the strip runs left four characters a tick and starts
    // over (with no recorder the text is left as it is).
    m_dlg.m_bNoRecorder = true;
    m_dlg.m_nMarqueeOffset = 0;
    m_dlg.m_strStatusText = std::string(40, 'a') + std::string(40, 'b');
    m_dlg.DrawStatusText();
    EXPECT_TRUE(m_dlg.m_bMarqueeRunning);
    for (int tick = 1; tick <= 20; ++tick) {
        SendMessageA(m_dlg.m_hWnd, WM_TIMER, CSnapdiscDlg::kMarqueeTimer, 0);
        EXPECT_EQ(size_t(4 * tick), m_dlg.m_nMarqueeOffset);
    }
    SendMessageA(m_dlg.m_hWnd, WM_TIMER, CSnapdiscDlg::kMarqueeTimer, 0);
    EXPECT_EQ(4u, m_dlg.m_nMarqueeOffset);  // 80 reached the end: shown from 0 again
    // A text that fits stops the scrolling and is drawn once.
    m_dlg.m_strStatusText = "short";
    m_dlg.DrawStatusText();
    EXPECT_FALSE(m_dlg.m_bMarqueeRunning);
    EXPECT_FALSE(KillTimer(m_dlg.m_hWnd, CSnapdiscDlg::kMarqueeTimer));

    // The count is drawn over the "listnum" band when the window paints.
    m_dlg.SetPictureCount(3);
    UpdateWindow(m_dlg.m_hWnd);
    const CSkinElement& band = g_skinElements[kElementListNum];
    int drawn = 0;
    for (int x = band.x; x < band.x + band.width; x += 2)
        drawn += WindowPixel(m_dlg.m_hWnd, x, band.y + band.height / 2) !=
                 FacePixel(IDB_FACE_NORMAL, x, band.y + band.height / 2);
    EXPECT_GT(drawn, 10);
}

TEST_F(MainWindowTest, SplashThatEndedItselfIsLeftAlone)
{
    CSplashDlg splash(&m_dlg);
    ASSERT_TRUE(splash.Create());
    RECT r;
    GetWindowRect(splash.m_hWnd, &r);
    EXPECT_EQ(370, r.right - r.left);
    EXPECT_EQ(250, r.bottom - r.top);
    SendMessageA(splash.m_hWnd, WM_TIMER, 1, 0);  // its ten seconds are up
    EXPECT_EQ(nullptr, splash.m_hWnd);
    splash.Close();  // what the main window does at the end of its start-up
    EXPECT_EQ(nullptr, splash.m_hWnd);
}
