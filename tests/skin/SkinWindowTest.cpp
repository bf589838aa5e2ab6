// The skinned main window under Wine, driven with real messages.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include "app/CSnapdiscApp.h"
#include "app/CSnapdiscDlg.h"
#include "lang/CLang.h"
#include "res/resource.h"
#include "skin/CDigitEdit.h"
#include "skin/CSkinBitmap.h"
#include "skin/CSkinElement.h"
#include "support/FacePixel.h"
#include "support/FakePrompter.h"
#include "support/TempDir.h"
#include "support/TestRegistry.h"

namespace {

// A main window that records the system commands it is sent instead of
// starting the system's move loop.
class RecordingDlg : public CSnapdiscDlg {
public:
    WPARAM m_lastSysCommand = 0;

protected:
    bool OnMessage(UINT msg, WPARAM w, LPARAM l, LRESULT& result) override
    {
        if (msg == WM_SYSCOMMAND) {
            m_lastSysCommand = w;
            return true;
        }
        return CSnapdiscDlg::OnMessage(msg, w, l, result);
    }
};

class SkinWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir.Write("lang.ini", "english=English\r\ngerman=Deutsch\r\n");
        m_dir.Write("lang/english.txt", "title=Skin Test Window\r\nexit=Exit the program\r\nhelp=Help\r\n");
        m_dir.Write("lang/german.txt", "title=Skin Test Window\r\nexit=Programm beenden\r\n");
        DeleteRegistryTree("Software\\Larkfield_SNZ\\" + m_app.m_strAppName);
        m_app.StartUp(m_dir.File("snapdisc.exe"));
        ASSERT_TRUE(m_dlg.Create());
        UpdateWindow(m_dlg.m_hWnd);  // the first paint, as it comes before any click
    }
    void TearDown() override
    {
        m_dlg.EndDialog(0);
        DeleteRegistryTree("Software\\Larkfield_SNZ\\" + m_app.m_strAppName);
    }

    void Move(int x, int y, WPARAM keys = 0) { SendMessageA(m_dlg.m_hWnd, WM_MOUSEMOVE, keys, MAKELPARAM(x, y)); }
    int Hot() const { return m_dlg.m_skin.m_nHotElement; }
    int Element(const char* name) const { return FindSkinElement(name); }
    // The window shows the given face at the centre of an element.
    bool Shows(const char* element, UINT face)
    {
        const CSkinElement& e = g_skinElements[static_cast<size_t>(Element(element))];
        int x = e.x + e.width / 2, y = e.y + e.height / 2;
        return WindowPixel(m_dlg.m_hWnd, x, y) == FacePixel(face, x, y);
    }
    std::string TipText(int id)
    {
        char text[256] = "";
        TTTOOLINFOA tool = {};
        tool.cbSize = sizeof tool;
        tool.hwnd = m_dlg.m_hWnd;
        tool.uId = static_cast<UINT_PTR>(id);
        tool.lpszText = text;
        SendMessageA(m_dlg.m_skin.ToolTip(), TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
        return text;
    }

    TempDir m_dir;
    CSnapdiscApp m_app;
    FakePrompter m_prompter;
    RecordingDlg m_dlg;
};

}  // namespace

TEST(SkinBitmap, OutlineIsExactlyTheNonKeyPixelsOfTheFace)
{
    CSkinBitmap face(IDB_FACE_NORMAL);
    ASSERT_EQ(550, face.m_nWidth);
    ASSERT_EQ(425, face.m_nHeight);
    HRGN outline = face.MakeWindowRegion();
    ASSERT_NE(nullptr, outline);
    HBITMAP bitmap = static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_FACE_NORMAL),
                                                     IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    COLORREF key = GetPixel(dc, 0, 0);
    int mismatches = 0, keyed = 0;
    for (int x = 0; x < 550; ++x)
        for (int y = 0; y < 425; ++y) {
            bool isKey = GetPixel(dc, x, y) == key;
            keyed += isKey;
            mismatches += (PtInRegion(outline, x, y) != 0) == isKey;
        }
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bitmap);
    DeleteObject(outline);
    EXPECT_EQ(0, mismatches);
    EXPECT_GT(keyed, 100);  // the corners really are cut away
}

TEST(SkinBitmap, MissingResourceAndBlitDefaults)
{
    CSkinBitmap none(999);
    EXPECT_EQ(0, none.m_nWidth);
    EXPECT_EQ(0, none.m_nHeight);
    CSkinBitmap setup(IDB_SETUP_SHOWN);
    EXPECT_EQ(35, setup.m_nWidth);
    EXPECT_EQ(24, setup.m_nHeight);
    // Width and height 0 with source -1: the whole bitmap from (0, 0).
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP target = CreateCompatibleBitmap(screen, 35, 24);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, target);
    EXPECT_TRUE(setup.Blit(dc, nullptr, 0, 0));
    EXPECT_EQ(FacePixel(IDB_SETUP_SHOWN, 34, 23), GetPixel(dc, 34, 23));
    EXPECT_EQ(FacePixel(IDB_SETUP_SHOWN, 0, 0), GetPixel(dc, 0, 0));
    SelectObject(dc, old);
    DeleteObject(target);
    DeleteDC(dc);
}

TEST_F(SkinWindowTest, HoverFollowsTheMouse)
{
    RECT r;
    GetWindowRect(m_dlg.m_hWnd, &r);
    EXPECT_EQ(550, r.right - r.left);
    EXPECT_EQ(425, r.bottom - r.top);

    m_dlg.AppendPhoto("C:\\none.jpg", 5);  // "del" is active only with a photo
    m_dlg.UpdateElementActivity();
    Move(50, 380);  // "add"
    EXPECT_EQ(Element("add"), Hot());
    EXPECT_TRUE(Shows("add", IDB_FACE_HOVER));
    Move(78, 380);  // straight onto "del"
    EXPECT_EQ(Element("del"), Hot());
    EXPECT_TRUE(Shows("add", IDB_FACE_NORMAL));
    EXPECT_TRUE(Shows("del", IDB_FACE_HOVER));

    Move(400, 10);  // "help", then the gap before "about", then "about"
    EXPECT_TRUE(Shows("help", IDB_FACE_HOVER));
    Move(423, 10);
    EXPECT_EQ(-1, Hot());
    EXPECT_TRUE(Shows("help", IDB_FACE_NORMAL));
    EXPECT_EQ(0u, m_dlg.m_lastSysCommand);  // no button down: no move
    Move(430, 10);
    EXPECT_EQ(Element("about"), Hot());
    EXPECT_TRUE(Shows("about", IDB_FACE_HOVER));

    // Leaving the face (onto the photo list, or out of the window) restores it.
    SendMessageA(m_dlg.m_hWnd, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(-1, Hot());
    EXPECT_TRUE(Shows("about", IDB_FACE_NORMAL));
}

TEST_F(SkinWindowTest, PressReleaseAndDragging)
{
    // Pressed face on the press; hover face on the release, even away from it.
    SendMessageA(m_dlg.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(400, 10));
    EXPECT_EQ(m_dlg.m_hWnd, GetCapture());
    EXPECT_TRUE(Shows("help", IDB_FACE_PRESSED));
    Move(10, 300);
    SendMessageA(m_dlg.m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(10, 300));
    EXPECT_EQ(nullptr, GetCapture());
    EXPECT_TRUE(Shows("help", IDB_FACE_HOVER));
    EXPECT_EQ(Element("help"), m_dlg.m_skin.m_nLastHitElement);

    // An inactive element is empty face: nothing hit, capture let go.
    int play = Element("play");
    g_skinElements[play].m_bActive = 0;
    SendMessageA(m_dlg.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(420, 380));
    g_skinElements[play].m_bActive = 1;
    EXPECT_EQ(-1, m_dlg.m_skin.m_nLastHitElement);
    EXPECT_EQ(nullptr, GetCapture());
    EXPECT_TRUE(Shows("play", IDB_FACE_NORMAL));

    // Dragging with the button down anywhere but on an element moves the window.
    Move(2, 50, MK_LBUTTON);
    EXPECT_EQ(WPARAM(SC_MOVE | HTCAPTION), m_dlg.m_lastSysCommand);
}

TEST_F(SkinWindowTest, ToolTipsFollowTheLanguage)
{
    EXPECT_EQ("Exit the program", TipText(Element("exit") + 1));
    EXPECT_EQ("Help", TipText(Element("help") + 1));
    EXPECT_EQ("", TipText(Element("bird") + 1));  // passive rows have no tool

    m_prompter.m_menuAnswers.push_back(2);  // the menu's second language
    SendMessageA(m_dlg.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(120, 140));  // "language"
    SendMessageA(m_dlg.m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(120, 140));
    EXPECT_EQ(1, m_prompter.m_nMenus);
    EXPECT_EQ("Programm beenden", TipText(Element("exit") + 1));
    EXPECT_EQ("help", TipText(Element("help") + 1));  // the key shows where German has no text
    EXPECT_EQ("german", RegistryValue("Software\\Larkfield_SNZ\\" + m_app.m_strAppName + "\\Setting", "lang"));
}

TEST_F(SkinWindowTest, SetupShrinksAndRestoresTheWindow)
{
    SendMessageA(m_dlg.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(510, 170));
    RECT r;
    GetWindowRect(m_dlg.m_hWnd, &r);
    EXPECT_EQ(425 - 236, r.bottom - r.top);
    EXPECT_FALSE(m_dlg.IsLowerPanelShown());
    SendMessageA(m_dlg.m_hWnd, WM_LBUTTONUP, 0, 0);
    SendMessageA(m_dlg.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(510, 170));
    GetWindowRect(m_dlg.m_hWnd, &r);
    EXPECT_EQ(425, r.bottom - r.top);
    EXPECT_TRUE(m_dlg.IsLowerPanelShown());
}

TEST_F(SkinWindowTest, DigitEditFiltersAndStaysPinned)
{
    HWND edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 10, 10, 60, 16, m_dlg.m_hWnd, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    CDigitEdit digits;
    digits.m_nPinnedLeft = 120;
    ASSERT_TRUE(digits.SubclassWindow(edit));
    for (char c : std::string("12a3"))
        SendMessageA(edit, WM_CHAR, static_cast<WPARAM>(c), 0);
    EXPECT_EQ("123", CWnd::GetWindowTextOf(edit));
    SendMessageA(edit, WM_CHAR, VK_BACK, 0);
    EXPECT_EQ("12", CWnd::GetWindowTextOf(edit));

    SetWindowPos(edit, nullptr, 30, 40, 80, 20, SWP_NOZORDER);
    RECT r;
    GetWindowRect(edit, &r);
    MapWindowPoints(nullptr, m_dlg.m_hWnd, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(120, r.left);  // left pinned; top and size as asked
    EXPECT_EQ(40, r.top);
    EXPECT_EQ(80, r.right - r.left);
    DestroyWindow(edit);
    EXPECT_EQ(nullptr, digits.m_hWnd);
}
