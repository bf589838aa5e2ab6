#include "CLinkLabel.h"

#include <commctrl.h>

#include "LinkRules.h"
#include "OpenLink.h"

namespace {

const UINT kHoverCheckMs = 100;

LinkRect ToLinkRect(const RECT& r)
{
    return LinkRect{r.left, r.top, r.right, r.bottom};
}

}  // namespace

CLinkLabel::~CLinkLabel()
{
    if (m_hWnd && IsWindow(m_hWnd))
        KillTimer(m_hWnd, kHoverTimer);
    if (m_hToolTip && IsWindow(m_hToolTip))
        DestroyWindow(m_hToolTip);
    for (HFONT font : {m_hUnderlinedFont, m_hPlainFont})
        if (font)
            DeleteObject(font);
    if (m_hLinkCursor)
        DestroyCursor(m_hLinkCursor);
}

void CLinkLabel::PreSubclassWindow()
{
    SetWindowLongA(m_hWnd, GWL_STYLE, GetWindowLongA(m_hWnd, GWL_STYLE) | SS_NOTIFY);
    if (m_strTarget.empty())
        m_strTarget = GetWindowText();
    if (GetWindowText().empty())
        SetWindowText(m_strTarget);

    HFONT font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    if (!font)
        font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    if (!font)
        font = static_cast<HFONT>(GetStockObject(ANSI_VAR_FONT));
    LOGFONTA lf = {};
    GetObjectA(font, sizeof lf, &lf);
    lf.lfUnderline = FALSE;
    m_hPlainFont = CreateFontIndirectA(&lf);
    lf.lfUnderline = TRUE;
    m_hUnderlinedFont = CreateFontIndirectA(&lf);

    FitToText();
    if (!m_hLinkCursor) {
        HCURSOR hand = LoadCursor(nullptr, IDC_HAND);
        m_hLinkCursor = hand ? CopyCursor(hand) : nullptr;
    }
    SetUnderlineMode(-1);

    m_hToolTip = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                 CW_USEDEFAULT, m_hWnd, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (m_hToolTip) {
        TTTOOLINFOA tool = {};
        tool.cbSize = sizeof tool;
        tool.hwnd = m_hWnd;
        tool.uId = 1;
        GetClientRect(m_hWnd, &tool.rect);
        tool.lpszText = const_cast<char*>(m_strTarget.c_str());
        ::SendMessageA(m_hToolTip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

void CLinkLabel::SetLinkUrl(const std::string& target)
{
    m_strTarget = target;
    if (!m_hWnd)
        return;
    FitToText();
    if (m_hToolTip) {
        TTTOOLINFOA tool = {};
        tool.cbSize = sizeof tool;
        tool.hwnd = m_hWnd;
        tool.uId = 1;
        tool.lpszText = const_cast<char*>(m_strTarget.c_str());
        ::SendMessageA(m_hToolTip, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

void CLinkLabel::SetVisited(bool visited)
{
    m_bVisited = visited;
    if (m_hWnd)
        Invalidate(TRUE);
}

void CLinkLabel::SetUnderlineMode(int mode)
{
    if (mode == m_nUnderline)
        return;
    if (m_hWnd) {
        SetFontOf(mode == 1 ? m_hUnderlinedFont : m_hPlainFont);
        Invalidate(TRUE);
    }
    m_nUnderline = mode;
}

void CLinkLabel::SetFontOf(HFONT font)
{
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void CLinkLabel::FitToText()
{
    if (!m_bFitToText || !m_hWnd)
        return;
    HWND parent = GetParent(m_hWnd);
    RECT window, client;
    GetWindowRect(m_hWnd, &window);
    GetClientRect(m_hWnd, &client);
    MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<POINT*>(&client), 2);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&window), 2);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&client), 2);

    std::string text = GetWindowText();
    HDC dc = GetDC(m_hWnd);
    HGDIOBJ old = SelectObject(dc, m_hUnderlinedFont);
    SIZE extent = {0, 0};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    SelectObject(dc, old);
    ReleaseDC(m_hWnd, dc);

    LONG style = GetWindowLongA(m_hWnd, GWL_STYLE);
    LinkAlignment horizontal = (style & SS_TYPEMASK) == SS_CENTER  ? kAlignCentre
                               : (style & SS_TYPEMASK) == SS_RIGHT ? kAlignRight
                                                                   : kAlignLeft;
    LinkRect r = FitLinkToText(ToLinkRect(window), ToLinkRect(client), extent.cx, extent.cy, horizontal,
                               (style & SS_CENTERIMAGE) != 0);
    SetWindowPos(m_hWnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CLinkLabel::PreTranslateMessage(MSG* pMsg)
{
    if (m_hToolTip)
        ::SendMessageA(m_hToolTip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(pMsg));
    return FALSE;
}

bool CLinkLabel::OnChildNotify(UINT msg, WPARAM wParam, LPARAM, LRESULT& result)
{
    if (msg == WM_COMMAND && HIWORD(wParam) == STN_CLICKED) {
        OnClick();
        result = 0;
        return true;
    }
    if (msg == WM_CTLCOLORSTATIC) {
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, m_bHovering ? m_crHover : m_bVisited ? m_crVisited : m_crLink);
        SetBkMode(dc, TRANSPARENT);
        result = reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
        return true;
    }
    return false;
}

bool CLinkLabel::OnMessage(UINT msg, WPARAM wParam, LPARAM, LRESULT& result)
{
    switch (msg) {
    case WM_MOUSEMOVE:
        OnMouseMove();
        return false;
    case WM_TIMER:
        OnHoverTimer();
        return false;
    case WM_SETCURSOR:
        if (!m_hLinkCursor)
            return false;
        SetCursor(m_hLinkCursor);
        result = TRUE;
        return true;
    case WM_ERASEBKGND: {
        RECT r;
        GetClientRect(m_hWnd, &r);
        FillRect(reinterpret_cast<HDC>(wParam), &r, GetSysColorBrush(COLOR_BTNFACE));
        result = TRUE;
        return true;
    }
    case WM_DESTROY:
        KillTimer(m_hWnd, kHoverTimer);
        return false;
    default:
        return false;
    }
}

void CLinkLabel::OnClick()
{
    m_bHovering = false;
    int result = OpenLink(m_strTarget, SW_SHOW);
    m_bVisited = result > 32;
    if (m_bVisited) {
        SetVisited(true);
    } else {
        MessageBeep(MB_ICONEXCLAMATION);
        ReportOpenError(result);
    }
}

void CLinkLabel::OnMouseMove()
{
    if (m_bHovering)
        return;
    m_bHovering = true;
    if (m_nUnderline == -1)
        SetFontOf(m_hUnderlinedFont);
    Invalidate(TRUE);
    SetTimer(m_hWnd, kHoverTimer, kHoverCheckMs, nullptr);
}

void CLinkLabel::OnHoverTimer()
{
    DWORD at = GetMessagePos();
    POINT p = {static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
    ScreenToClient(m_hWnd, &p);
    RECT client;
    GetClientRect(m_hWnd, &client);
    if (PtInRect(&client, p))
        return;
    m_bHovering = false;
    KillTimer(m_hWnd, kHoverTimer);
    if (m_nUnderline != 1)
        SetFontOf(m_hPlainFont);
    client.bottom += 10;
    InvalidateRect(m_hWnd, &client, TRUE);
}
