#include "CTrayRessurectionWnd.h"

#include "CTrayNotifyIcon.h"

bool CTrayRessurectionWnd::OnMessage(UINT msg, WPARAM, LPARAM, LRESULT& result)
{
    if (msg != TaskbarCreatedMessage())
        return false;
    if (!m_pTrayIcon->IsHidden()) {
        m_pTrayIcon->Hide();
        m_pTrayIcon->Show();
    }
    result = 0;
    return true;
}
