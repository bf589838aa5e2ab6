#include "CSnapdiscDlg.h"

#include <windowsx.h>

#include "CSnapdiscApp.h"
#include "framework/CDataExchange.h"
#include "framework/CPrompter.h"
#include "lang/CLang.h"
#include "res/resource.h"
#include "skin/CSkinElement.h"

namespace {

const uint32_t kMaxDelay = 60000;
const int kPanelSteps = 118;  // the lower panel opens and closes 2 pixels a step
const int kPanelStep = 2;
const UINT kFirstLanguageCommand = 1;
const COLORREF kPreviewBackground = RGB(185, 183, 245);

POINT PointOf(LPARAM lParam)
{
    return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

}  // namespace

uint32_t DecimalSettingValue(const std::string& text)
{
    uint64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            break;
        value = value * 10 + static_cast<uint64_t>(c - '0');
        if (value > 0xFFFFFFFFull)
            return 0xFFFFFFFFu;
    }
    return static_cast<uint32_t>(value);
}

CSnapdiscDlg::CSnapdiscDlg(CWnd* pParent) : CDialog(IDD_SNAPDISC_DIALOG, pParent), m_skin(*this)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    m_hBigIcon = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDR_MAINFRAME), IMAGE_ICON, 32, 32, 0));
    m_hSmallIcon = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDR_MAINFRAME), IMAGE_ICON, 16, 16, 0));
}

CSnapdiscDlg::~CSnapdiscDlg()
{
    if (m_hLanguageMenu)
        DestroyMenu(m_hLanguageMenu);
    if (m_hBigIcon)
        DestroyIcon(m_hBigIcon);
    if (m_hSmallIcon)
        DestroyIcon(m_hSmallIcon);
}

void CSnapdiscDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_DELAY_EDIT, m_nDelay);
    DDV_MinMaxUInt(pDX, m_nDelay, 0, kMaxDelay);
}

void CSnapdiscDlg::PlaceControl(int id, const char* element)
{
    const CSkinElement& e = g_skinElements[static_cast<size_t>(FindSkinElement(element))];
    MoveWindow(GetDlgItem(id), e.x, e.y, e.width, e.height, TRUE);
}

BOOL CSnapdiscDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_skin.Attach(m_hWnd);
    CLang* lang = g_pApp->GetLang();
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hBigIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hSmallIcon));
    SetWindowText(lang->GetText("title"));

    // The window is its face: cut to the outline, as large as the face.
    const CSkinBitmap& face = m_skin.NormalFace();
    SetWindowRgn(m_hWnd, face.MakeWindowRegion(), FALSE);
    m_skin.CreateToolTips();

    m_hLanguageMenu = CreatePopupMenu();
    for (int i = 0; i < lang->GetLangNumber(); ++i)
        AppendMenuA(m_hLanguageMenu, MF_STRING, kFirstLanguageCommand + i, lang->GetLangName(i));

    m_nDelay = DecimalSettingValue(g_pApp->GetProfileString(kSettingSection, kDefaultDelayEntry, ""));
    UpdateData(FALSE);
    PlaceControl(IDC_DELAY_EDIT, "delayedit");
    PlaceControl(IDC_PREVIEW, "picstatic");
    PlaceControl(IDC_PHOTO_LIST, "piclist");
    PlaceControl(IDC_RECORDERS, "devices");

    int x = (GetSystemMetrics(SM_CXSCREEN) - face.m_nWidth) / 2;
    int y = (GetSystemMetrics(SM_CYSCREEN) - face.m_nHeight) / 2;
    SetWindowPos(m_hWnd, nullptr, x, y, face.m_nWidth, face.m_nHeight, SWP_NOZORDER | SWP_SHOWWINDOW);
    return TRUE;
}

BOOL CSnapdiscDlg::PreTranslateMessage(MSG* pMsg)
{
    m_skin.RelayToToolTip(pMsg);
    RunPaintRoutine();
    return CDialog::PreTranslateMessage(pMsg);
}

void CSnapdiscDlg::RunPaintRoutine()
{
    if (m_hWnd && GetUpdateRect(m_hWnd, nullptr, FALSE))
        UpdateWindow(m_hWnd);
}

void CSnapdiscDlg::OnPaint()
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(m_hWnd, &ps);
    if (IsIconic(m_hWnd)) {
        RECT client;
        GetClientRect(m_hWnd, &client);
        DrawIcon(dc, (client.right - GetSystemMetrics(SM_CXICON) + 1) / 2,
                 (client.bottom - GetSystemMetrics(SM_CYICON) + 1) / 2, m_hBigIcon);
    } else {
        m_skin.Paint(dc, ps.rcPaint);
    }
    EndPaint(m_hWnd, &ps);
}

void CSnapdiscDlg::OnDrawPreview(const DRAWITEMSTRUCT& item)
{
    // The preview's background until a picture is shown on it.
    HBRUSH background = CreateSolidBrush(kPreviewBackground);
    FillRect(item.hDC, &item.rcItem, background);
    DeleteObject(background);
}

void CSnapdiscDlg::OnSkinCommand(int element)
{
    const std::string& name = g_skinElements[static_cast<size_t>(element)].m_strName;
    if (name == "exit")
        OnExit();
    else if (name == "setup")
        OnSetup();
    else if (name == "language")
        OnLanguage();
}

void CSnapdiscDlg::OnExit()
{
    EndDialog(1);
}

void CSnapdiscDlg::OnSetup()
{
    RECT r;
    GetWindowRect(m_hWnd, &r);
    int height = r.bottom - r.top;
    for (int step = 0; step < kPanelSteps; ++step) {
        height += m_bLowerPanelShown ? -kPanelStep : kPanelStep;
        SetWindowPos(m_hWnd, nullptr, r.left, r.top, r.right - r.left, height, SWP_NOZORDER | SWP_SHOWWINDOW);
        if (!m_bLowerPanelShown)
            RunPaintRoutine();
    }
    m_bLowerPanelShown = !m_bLowerPanelShown;
}

void CSnapdiscDlg::OnLanguage()
{
    CLang* lang = g_pApp->GetLang();
    POINT pt;
    GetCursorPos(&pt);
    UINT chosen = AfxGetPrompter().TrackPopupMenu(m_hLanguageMenu, TPM_RETURNCMD | TPM_NONOTIFY, pt.x, pt.y, m_hWnd);
    if (chosen < kFirstLanguageCommand)
        return;
    int index = static_cast<int>(chosen - kFirstLanguageCommand);
    if (index == lang->GetLangIndex())
        return;
    lang->SetLangIndex(index);
    g_pApp->WriteProfileString(kSettingSection, kLangEntry, lang->GetLang());
    Relabel();
}

void CSnapdiscDlg::Relabel()
{
    m_skin.UpdateToolTipTexts();
}

bool CSnapdiscDlg::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (msg) {
    case WM_PAINT:
        OnPaint();
        return true;
    case WM_ERASEBKGND:  // the face covers everything
        result = 1;
        return true;
    case WM_DRAWITEM:
        if (wParam != IDC_PREVIEW)
            return false;
        OnDrawPreview(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
        result = TRUE;
        return true;
    case WM_QUERYDRAGICON:
        result = reinterpret_cast<LRESULT>(m_hBigIcon);
        return true;
    case WM_MOUSEMOVE:
        m_skin.OnMouseMove(PointOf(lParam), wParam);
        return false;
    case WM_LBUTTONDOWN:
        m_skin.OnLButtonDown(PointOf(lParam));
        return false;
    case WM_LBUTTONUP:
        m_skin.OnLButtonUp();
        return false;
    }
    return CDialog::OnMessage(msg, wParam, lParam, result);
}
