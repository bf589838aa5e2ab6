#include "CSkinButtons.h"

#include <commctrl.h>

#include "CSkinElement.h"
#include "lang/CLang.h"

namespace {

const UINT kNormalFace = 136, kHoverFace = 137, kPressedFace = 135;
const UINT kSetupShown = 157, kSetupShownHover = 161;

// The system move command as if the caption were dragged (SC_MOVE with
// HTCAPTION in its low bits): the system then moves the window with the
// mouse until the button is released. With HTCLIENT (0xF011) the system's
// move loop runs but does not move the window.
const WPARAM kMoveWithMouse = SC_MOVE | HTCAPTION;

const char* TipText(const CSkinElement& e)
{
    CLang* lang = GetLangPointer();
    return lang ? lang->GetText(e.m_strName.c_str()) : e.m_strName.c_str();
}

}  // namespace

CSkinButtons::CSkinButtons(Host& host)
    : m_host(host), m_normal(kNormalFace), m_hover(kHoverFace), m_pressed(kPressedFace),
      m_setupShown(kSetupShown), m_setupShownHover(kSetupShownHover), m_nSetup(FindSkinElement("setup"))
{
}

CSkinButtons::~CSkinButtons()
{
    if (m_hToolTip && IsWindow(m_hToolTip))
        DestroyWindow(m_hToolTip);
}

void CSkinButtons::DrawElement(int element, Face face, HDC paintDC)
{
    const CSkinElement& e = g_skinElements[static_cast<size_t>(element)];
    const CSkinBitmap& from = face == Hover ? m_hover : face == Pressed ? m_pressed : m_normal;
    from.Blit(paintDC, m_hWnd, e.x, e.y, e.width, e.height, e.x, e.y);
}

void CSkinButtons::DrawSetupPicture(bool hover, HDC paintDC)
{
    const CSkinElement& e = g_skinElements[static_cast<size_t>(m_nSetup)];
    (hover ? m_setupShownHover : m_setupShown).Blit(paintDC, m_hWnd, e.x, e.y, e.width, e.height, 0, 0);
}

void CSkinButtons::OnMouseMove(POINT pt, WPARAM keys)
{
    int hit = HitTestElement(pt.x, pt.y);
    if (hit != -1) {
        if (m_nHotElement == -1)
            m_host.RunPaintRoutine();
        else if (m_nHotElement != hit)
            DrawElement(m_nHotElement, Normal);
        DrawElement(hit, Hover);
        if (hit == m_nSetup && m_host.IsLowerPanelShown())
            DrawSetupPicture(true);
        m_nHotElement = hit;
        m_nLastHitElement = hit;
        // The face hears no mouse move once the pointer is off it: ask to
        // be told when it leaves.
        TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, m_hWnd, 0};
        TrackMouseEvent(&track);
    } else {
        LeaveHotElement();
    }
    // Dragging the face anywhere but on an element moves the window.
    if (hit == -1 && (keys & MK_LBUTTON))
        SendMessageA(m_hWnd, WM_SYSCOMMAND, kMoveWithMouse, 0);
}

void CSkinButtons::OnMouseLeave()
{
    LeaveHotElement();
}

void CSkinButtons::LeaveHotElement()
{
    if (m_nHotElement == -1)
        return;
    DrawElement(m_nHotElement, Normal);
    if (m_host.IsLowerPanelShown())
        DrawSetupPicture(false);
    m_nHotElement = -1;
}

void CSkinButtons::OnLButtonDown(POINT pt)
{
    SetCapture(m_hWnd);
    m_nLastHitElement = HitTestElement(pt.x, pt.y);
    if (m_nLastHitElement == -1) {
        ReleaseCapture();
    } else {
        DrawElement(m_nLastHitElement, Pressed);
        m_host.OnSkinCommand(m_nLastHitElement);
    }
    m_host.RunPaintRoutine();
    m_host.AfterSkinPress();
}

void CSkinButtons::OnLButtonUp()
{
    ReleaseCapture();
    if (m_nLastHitElement != -1)
        DrawElement(m_nLastHitElement, Hover);
}

void CSkinButtons::Paint(HDC paintDC, const RECT& area)
{
    m_normal.Blit(paintDC, m_hWnd, area.left, area.top, area.right - area.left, area.bottom - area.top, area.left,
                  area.top);
    if (m_host.IsLowerPanelShown())
        DrawSetupPicture(false, paintDC);
}

void CSkinButtons::CreateToolTips()
{
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    m_hToolTip = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                 CW_USEDEFAULT, m_hWnd, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!m_hToolTip)
        return;
    for (size_t i = 0; i < g_skinElements.size(); ++i) {
        const CSkinElement& e = g_skinElements[i];
        if (!e.m_bActive)
            continue;
        TTTOOLINFOA tool = {};
        tool.cbSize = sizeof tool;
        tool.hwnd = m_hWnd;
        tool.uId = i + 1;
        tool.rect = {e.x, e.y, e.x + e.width, e.y + e.height};
        tool.lpszText = const_cast<char*>(TipText(e));
        SendMessageA(m_hToolTip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

void CSkinButtons::UpdateToolTipTexts()
{
    if (!m_hToolTip)
        return;
    for (size_t i = 0; i < g_skinElements.size(); ++i) {
        TTTOOLINFOA tool = {};
        tool.cbSize = sizeof tool;
        tool.hwnd = m_hWnd;
        tool.uId = i + 1;
        tool.lpszText = const_cast<char*>(TipText(g_skinElements[i]));
        SendMessageA(m_hToolTip, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

void CSkinButtons::RelayToToolTip(MSG* pMsg)
{
    if (m_hToolTip)
        SendMessageA(m_hToolTip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(pMsg));
}
