#include "CTrayTimerWnd.h"

#include "CTrayNotifyIcon.h"

namespace {

const UINT_PTR kAnimationTimer = 1;

}  // namespace

CTrayTimerWnd::CTrayTimerWnd(CTrayNotifyIcon* icon, const HICON* icons, int nIcons, UINT delayMs)
    : m_pTrayIcon(icon), m_icons(icons, icons + nIcons), m_nDelay(delayMs)
{
}

bool CTrayTimerWnd::OnMessage(UINT msg, WPARAM wParam, LPARAM, LRESULT& result)
{
    switch (msg) {
    case WM_CREATE:
        m_nTimerId = SetTimer(m_hWnd, kAnimationTimer, m_nDelay, nullptr);
        result = m_nTimerId ? 0 : -1;
        return true;
    case WM_TIMER:
        if (wParam != m_nTimerId)
            return false;
        m_nCurrentIndex = (m_nCurrentIndex + 1) % static_cast<int>(m_icons.size());
        m_pTrayIcon->ShowFrame(m_icons[static_cast<size_t>(m_nCurrentIndex)]);
        return true;
    case WM_DESTROY:
        KillTimer(m_hWnd, m_nTimerId);
        return false;
    default:
        return false;
    }
}
