#pragma once
#include "framework/CFrameWnd.h"

class CTrayNotifyIcon;

// A hidden top-level window that hears the taskbar being re-created and
// puts its icon back, unless the icon is hidden.
class CTrayRessurectionWnd : public CFrameWnd {
public:
    explicit CTrayRessurectionWnd(CTrayNotifyIcon* icon) : m_pTrayIcon(icon) {}

protected:
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    CTrayNotifyIcon* m_pTrayIcon;
};
