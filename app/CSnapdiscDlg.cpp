#include "CSnapdiscDlg.h"

#include <windowsx.h>

#include <cstring>

#include "CSnapdiscApp.h"
#include "CSplashDlg.h"
#include "framework/CDataExchange.h"
#include "framework/CPrompter.h"
#include "framework/UnsignedText.h"
#include "lang/CLang.h"
#include "res/resource.h"
#include "skin/CSkinElement.h"

namespace {

const uint32_t kMaxDelay = 60000;
const UINT kAboutCommand = 16;  // system menu item: ids 16 to 31 show the about box
const UINT kAnimationIcons[] = {IDI_BURN1, IDI_BURN2, IDI_BURN3, IDI_BURN4};
const UINT kAnimationDelayMs = 500;
const int kTextFontDecipoints = 96;
const COLORREF kPictureCountColour = RGB(193, 196, 254);
const COLORREF kStatusColour = RGB(124, 123, 205);
const COLORREF kMarqueeColour = RGB(255, 255, 255);
const UINT kMarqueePeriodMs = 700;
const size_t kMarqueeStep = 4;  // characters a tick
// List view extended styles: grid lines, header drag and drop, full-row select.
const DWORD kListStyles = LVS_EX_GRIDLINES | LVS_EX_HEADERDRAGDROP | LVS_EX_FULLROWSELECT;

HICON LoadIconSized(UINT id, int size)
{
    return static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_ICON, size, size, 0));
}

const CSkinElement& Element(int index)
{
    return g_skinElements[static_cast<size_t>(index)];
}

RECT RectOf(int index)
{
    const CSkinElement& e = Element(index);
    return RECT{e.x, e.y, e.x + e.width, e.y + e.height};
}

// A point font as the framework makes it: decipoints at the screen's resolution.
HFONT CreatePointFont(int decipoints, const char* face)
{
    HDC screen = GetDC(nullptr);
    LOGFONTA lf = {};
    lf.lfHeight = -MulDiv(decipoints, GetDeviceCaps(screen, LOGPIXELSY), 720);
    ReleaseDC(nullptr, screen);
    lstrcpynA(lf.lfFaceName, face, LF_FACESIZE);
    return CreateFontIndirectA(&lf);
}

CLang& Lang()
{
    return *g_pApp->GetLang();
}

}  // namespace

CSnapdiscDlg::CSnapdiscDlg(CWnd* pParent) : CDialog(IDD_SNAPDISC_DIALOG, pParent), m_skin(*this)
{
    m_hBigIcon = LoadIconSized(IDR_MAINFRAME, 32);
    m_hSmallIcon = LoadIconSized(IDI_TRAY, 16);
    for (size_t i = 0; i < 4; ++i)
        m_hAnimationIcons[i] = LoadIconSized(kAnimationIcons[i], 16);
    m_hTextFont = CreatePointFont(kTextFontDecipoints, "New Times Roman");
    std::memset(&m_nidResident, 0, sizeof m_nidResident);
    m_listPhotos.SetProject(&m_project);
}

CSnapdiscDlg::~CSnapdiscDlg()
{
    // Destroyed here, while this class still handles WM_DESTROY.
    if (m_hWnd && IsWindow(m_hWnd))
        DestroyWindow(m_hWnd);
    if (m_hLanguageMenu)
        DestroyMenu(m_hLanguageMenu);
    for (HICON icon : {m_hBigIcon, m_hSmallIcon, m_hAnimationIcons[0], m_hAnimationIcons[1], m_hAnimationIcons[2],
                       m_hAnimationIcons[3]})
        if (icon)
            DestroyIcon(icon);
    if (m_hTextFont)
        DeleteObject(m_hTextFont);
}

void CSnapdiscDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_DELAY_EDIT, m_nDelay);
    DDV_MinMaxUInt(pDX, m_nDelay, 0, kMaxDelay);
}

int CSnapdiscDlg::OnCreate()
{
    // The burning icon waits hidden, its animation already running.
    if (!m_trayBurning.Create(m_hWnd, 0, LangText("Burning").c_str(), m_hAnimationIcons, 4, kAnimationDelayMs,
                              kTrayMessage)) {
        AfxMessageBox("Failed to create tray icon", MB_OK | MB_ICONSTOP, m_hWnd);
        return -1;
    }
    m_trayBurning.Hide();
    return 0;
}

BOOL CSnapdiscDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_skin.Attach(m_hWnd);
    char about[128] = "";
    if (LoadStringA(GetModuleHandleA(nullptr), IDS_ABOUTBOX, about, sizeof about) > 0) {
        HMENU system = GetSystemMenu(m_hWnd, FALSE);
        AppendMenuA(system, MF_SEPARATOR, 0, nullptr);
        AppendMenuA(system, MF_STRING, kAboutCommand, about);
    }
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hBigIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hSmallIcon));
    CSplashDlg splash(this);
    splash.Create();
    SetWindowText(LangText("title"));

    const CSkinBitmap& face = m_skin.NormalFace();
    SetWindowRgn(m_hWnd, face.MakeWindowRegion(), FALSE);
    CenterWindow();
    m_skin.CreateToolTips();

    m_listPhotos.SubclassDlgItem(IDC_PHOTO_LIST, *this);
    m_staticPreview.SubclassDlgItem(IDC_PREVIEW, *this);
    SetColumnTitles(true);
    m_listPhotos.SetExtendedStyle(m_listPhotos.GetExtendedStyle() | kListStyles);

    m_hLanguageMenu = CreatePopupMenu();
    for (int i = 0; i < Lang().GetLangNumber(); ++i)
        AppendMenuA(m_hLanguageMenu, MF_STRING, static_cast<UINT_PTR>(i) + 1, Lang().GetLangName(i));

    m_nDelay = LeadingDigitsValue(g_pApp->GetProfileString(kSettingSection, kDefaultDelayEntry, ""));
    UpdateData(FALSE);
    PlaceControls();
    m_bNoRecorder = RefreshRecorders() == -1;
    AddResidentIcon();

    RECT r;
    GetWindowRect(m_hWnd, &r);
    SetWindowPos(m_hWnd, nullptr, r.left - 50, r.top - 50, face.m_nWidth, face.m_nHeight,
                 SWP_NOZORDER | SWP_SHOWWINDOW);
    face.Blit(nullptr, m_hWnd, 0, 0);
    m_listPhotos.ShowWindow(SW_SHOW);
    m_staticPreview.ShowWindow(SW_SHOW);
    if (m_bNoRecorder)
        EnableWindow(GetDlgItem(IDC_RECORDERS), FALSE);
    else
        ::ShowWindow(GetDlgItem(IDC_RECORDERS), SW_SHOW);
    UpdateElementActivity();
    splash.Close();
    if (!m_strStartProject.empty()) {
        m_strRequestedProject = m_strStartProject;
        PostMessageA(m_hWnd, kOpenRequested, 0, 0);  // once the window is up
    }
    return TRUE;
}

void CSnapdiscDlg::SetColumnTitles(bool insert)
{
    struct Column {
        const char* key;
        int format, width;
    };
    static const Column columns[CKVSListCtrl::kColumnCount] = {
        {"File", LVCFMT_LEFT, 128}, {"Delays", LVCFMT_CENTER, 64}, {"Date", LVCFMT_CENTER, 128},
        {"Bytes", LVCFMT_CENTER, 64}, {"Path", LVCFMT_LEFT, 512}};
    for (int i = 0; i < CKVSListCtrl::kColumnCount; ++i) {
        std::string title = LangText(columns[i].key);
        if (insert)
            m_listPhotos.InsertColumn(i, title, columns[i].format, columns[i].width);
        else
            m_listPhotos.SetColumnText(i, title);
    }
}

void CSnapdiscDlg::PlaceControls()
{
    auto place = [this](int id, int element) {
        const CSkinElement& e = Element(element);
        MoveWindow(GetDlgItem(id), e.x, e.y, e.width, e.height, TRUE);
    };
    place(IDC_DELAY_EDIT, kElementDelayEdit);
    place(IDC_PREVIEW, kElementPicStatic);
    place(IDC_PHOTO_LIST, kElementPicList);
    place(IDC_RECORDERS, kElementDevices);

    // "play" and "stop" reach into the preview's rectangle: the preview
    // leaves them out, so they stay whole and clickable. Its margin shows
    // the face beneath.
    const CSkinElement& area = Element(kElementPicStatic);
    HRGN shape = CreateRectRgn(0, 0, area.width, area.height);
    for (int button : {kElementPlay, kElementStop}) {
        const CSkinElement& e = Element(button);
        HRGN hole = CreateRectRgn(e.x - area.x, e.y - area.y, e.x - area.x + e.width, e.y - area.y + e.height);
        CombineRgn(shape, shape, hole, RGN_DIFF);
        DeleteObject(hole);
    }
    SetWindowRgn(m_staticPreview.m_hWnd, shape, TRUE);
    m_staticPreview.SetBackdrop(&m_skin.NormalFace(), area.x, area.y);
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
        DrawPictureCount(dc);
        // A status text that fits is drawn once; the face covers it on a
        // repaint, so it is drawn again here (a scrolling one redraws itself).
        if (!m_bMarqueeRunning && !m_strStatusText.empty())
            DrawStatusBand(dc, m_strStatusText, kStatusColour);
    }
    EndPaint(m_hWnd, &ps);
}

void CSnapdiscDlg::DrawPictureCount(HDC dc)
{
    const CSkinElement& e = Element(kElementListNum);
    m_skin.NormalFace().Blit(dc, m_hWnd, e.x, e.y, e.width, e.height, e.x, e.y);
    std::string text = LangText("NumOfPictures") + std::to_string(m_nPictureCount);
    RECT r = RectOf(kElementListNum);
    HGDIOBJ oldFont = SelectObject(dc, m_hTextFont);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kPictureCountColour);
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_SINGLELINE | DT_VCENTER);
    SelectObject(dc, oldFont);
}

void CSnapdiscDlg::SetPictureCount(int count)
{
    m_nPictureCount = count;
    RECT r = RectOf(kElementListNum);
    InvalidateRect(m_hWnd, &r, FALSE);
}

void CSnapdiscDlg::DrawStatusBand(HDC dc, const std::string& text, COLORREF colour)
{
    const CSkinElement& e = Element(kElementStatus);
    m_skin.NormalFace().Blit(dc, m_hWnd, e.x, e.y, e.width, e.height, e.x, e.y);
    RECT r = RectOf(kElementStatus);
    HGDIOBJ oldFont = SelectObject(dc, m_hTextFont);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colour);
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    SelectObject(dc, oldFont);
}

void CSnapdiscDlg::DrawStatusText()
{
    if (!m_bNoRecorder)
        UpdateStatusText();
    HDC dc = GetDC(m_hWnd);
    SIZE extent = {0, 0};
    HGDIOBJ oldFont = SelectObject(dc, m_hTextFont);  // measured as it is drawn
    GetTextExtentPoint32A(dc, m_strStatusText.c_str(), static_cast<int>(m_strStatusText.size()), &extent);
    SelectObject(dc, oldFont);
    m_bMarqueeRunning = extent.cx > Element(kElementStatus).width;
    if (m_bMarqueeRunning) {
        SetTimer(m_hWnd, kMarqueeTimer, kMarqueePeriodMs, nullptr);
    } else {
        KillTimer(m_hWnd, kMarqueeTimer);
        DrawStatusBand(dc, m_strStatusText, kStatusColour);
    }
    ReleaseDC(m_hWnd, dc);
}

void CSnapdiscDlg::OnMarqueeStep()
{
    if (m_nMarqueeOffset >= m_strStatusText.size())
        m_nMarqueeOffset = 0;
    std::string shown = m_strStatusText.substr(m_nMarqueeOffset) + m_strStatusText;
    HDC dc = GetDC(m_hWnd);
    DrawStatusBand(dc, shown, kMarqueeColour);
    ReleaseDC(m_hWnd, dc);
    m_nMarqueeOffset += kMarqueeStep;
}

void CSnapdiscDlg::UpdateElementActivity()
{
    int active = m_arrPhotos.empty() ? 0 : 1;
    for (int e : {kElementFirst, kElementPrev, kElementNext, kElementLast, kElementPlay, kElementStop, kElementDel,
                  kElementDelAll, kElementStart})
        g_skinElements[static_cast<size_t>(e)].m_bActive = active;
}

void CSnapdiscDlg::InsertPhotoRow(CPhotoInfo photo, uint32_t delay)
{
    int row = m_listPhotos.InsertItem(m_listPhotos.GetItemCount(), photo.m_strName);
    m_listPhotos.SetItemText(row, CKVSListCtrl::kColumnDelay, std::to_string(delay));
    m_listPhotos.SetItemText(row, CKVSListCtrl::kColumnDate, photo.m_strDate);
    m_listPhotos.SetItemText(row, CKVSListCtrl::kColumnBytes, photo.m_strSize);
    m_listPhotos.SetItemText(row, CKVSListCtrl::kColumnPath, photo.m_strPath);
    m_arrPhotos.push_back(std::move(photo));
}

void CSnapdiscDlg::AppendPhoto(const std::string& path, uint32_t delay)
{
    InsertPhotoRow(CPhotoInfo(path), delay);
    m_project.m_arrPaths.push_back(path);
    m_project.m_arrDelays.push_back(delay);
}

void CSnapdiscDlg::ClearPhotos()
{
    m_listPhotos.DeleteAllItems();
    m_arrPhotos.clear();
    m_project.m_arrPaths.clear();
    m_project.m_arrDelays.clear();
}

void CSnapdiscDlg::ExchangePhotos(int a, int b)
{
    auto ia = static_cast<size_t>(a), ib = static_cast<size_t>(b);
    std::swap(m_arrPhotos[ia], m_arrPhotos[ib]);
    std::swap(m_project.m_arrPaths[ia], m_project.m_arrPaths[ib]);
    std::swap(m_project.m_arrDelays[ia], m_project.m_arrDelays[ib]);
    for (int column = 0; column < CKVSListCtrl::kColumnCount; ++column) {
        std::string textA = m_listPhotos.GetItemText(a, column);
        m_listPhotos.SetItemText(a, column, m_listPhotos.GetItemText(b, column));
        m_listPhotos.SetItemText(b, column, textA);
    }
}

void CSnapdiscDlg::ShowPreview(const std::string& path)
{
    m_staticPreview.m_strPicturePath = path;
    InvalidateRect(m_staticPreview.m_hWnd, nullptr, TRUE);
}

void CSnapdiscDlg::AddResidentIcon()
{
    m_nidResident.cbSize = CTrayNotifyIcon::kRecordSize;
    m_nidResident.hWnd = m_hWnd;
    m_nidResident.uID = IDI_TRAY;
    m_nidResident.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    m_nidResident.uCallbackMessage = kTrayMessage;
    m_nidResident.hIcon = m_hSmallIcon;
    CTrayNotifyIcon::SetTip(m_nidResident, LangText("MiniTip"));
    g_pfnShellNotifyIcon(NIM_ADD, &m_nidResident);
    m_bResidentIconShown = true;
}

void CSnapdiscDlg::DeleteResidentIcon()
{
    m_nidResident.uFlags = NIF_ICON;
    g_pfnShellNotifyIcon(NIM_DELETE, &m_nidResident);
    m_bResidentIconShown = false;
}

bool CSnapdiscDlg::OnCopyData(const COPYDATASTRUCT& data)
{
    const auto* text = static_cast<const char*>(data.lpData);
    const DWORD kMaxBytes = 32768;
    if (data.dwData != kOpenProjectData || !text || data.cbData < 2 || data.cbData > kMaxBytes ||
        text[data.cbData - 1] != '\0')
        return false;
    m_strRequestedProject = text;
    if (!IsWindowVisible(m_hWnd))
        ShowWindow(SW_SHOW);
    if (IsIconic(m_hWnd))
        ShowWindow(SW_RESTORE);
    SetForegroundWindow(m_hWnd);
    // The sender waits for this answer: the project is opened afterwards.
    PostMessageA(m_hWnd, kOpenRequested, 0, 0);
    return true;
}

void CSnapdiscDlg::OnTrayNotification(LPARAM mouseMessage)
{
    if (mouseMessage == WM_LBUTTONDBLCLK)
        ShowWindow(SW_SHOW);
}

void CSnapdiscDlg::OnTimer(UINT_PTR id)
{
    if (id == kSlideshowTimer)
        OnSlideshowStep();
    else if (id == kMarqueeTimer)
        OnMarqueeStep();
}

bool CSnapdiscDlg::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (msg == TaskbarCreatedMessage() && m_bResidentIconShown) {
        AddResidentIcon();  // the new taskbar has none of the old icons
        return false;
    }
    switch (msg) {
    case WM_DESTROY:
        DeleteResidentIcon();
        return false;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) != kAboutCommand)
            return false;
        OnAbout();
        return true;
    case WM_PAINT:
        OnPaint();
        return true;
    case WM_ERASEBKGND:  // the face covers everything
        result = 1;
        return true;
    case WM_QUERYDRAGICON:
        result = reinterpret_cast<LRESULT>(m_hBigIcon);
        return true;
    case WM_MOUSEMOVE:
        m_skin.OnMouseMove(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, wParam);
        return false;
    case WM_MOUSELEAVE:
        m_skin.OnMouseLeave();
        return false;
    case WM_LBUTTONDOWN:
        m_skin.OnLButtonDown(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return false;
    case WM_LBUTTONUP:
        m_skin.OnLButtonUp();
        OnDropCompleted();
        return false;
    case WM_TIMER:
        OnTimer(wParam);
        return false;
    case WM_NOTIFY:
        if (wParam != IDC_PHOTO_LIST || reinterpret_cast<NMHDR*>(lParam)->code != LVN_ITEMCHANGED)
            return CDialog::OnMessage(msg, wParam, lParam, result);
        OnPhotoSelectionChanged(*reinterpret_cast<NMLISTVIEW*>(lParam));
        result = 0;
        return true;
    case WM_COMMAND:
        if (LOWORD(wParam) != IDC_RECORDERS || HIWORD(wParam) != CBN_SELCHANGE)
            return CDialog::OnMessage(msg, wParam, lParam, result);
        SelectRecorder();
        return true;
    case WM_DEVICECHANGE:
        if (!OnDeviceChange(wParam))
            return false;
        result = TRUE;
        return true;
    case kTrayMessage:
        OnTrayNotification(lParam);
        result = 0;
        return true;
    case WM_COPYDATA:
        result = OnCopyData(*reinterpret_cast<const COPYDATASTRUCT*>(lParam));
        return true;
    case kOpenRequested:
        // Asked from the command line or by a second copy: as "load" would,
        // unsaved-changes question included.
        if (!m_strRequestedProject.empty() && MayDropChanges(false))
            OpenProjectFile(m_strRequestedProject);
        m_strRequestedProject.clear();
        return true;
    }
    return CDialog::OnMessage(msg, wParam, lParam, result);
}
