#pragma once
#include <vector>

#include "framework/CFrameWnd.h"

class CTrayNotifyIcon;

// A hidden window whose timer steps its icon through the animation frames.
class CTrayTimerWnd : public CFrameWnd {
public:
    CTrayTimerWnd(CTrayNotifyIcon* icon, const HICON* icons, int nIcons, UINT delayMs);

    int CurrentIndex() const { return m_nCurrentIndex; }

protected:
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    CTrayNotifyIcon* m_pTrayIcon;
    std::vector<HICON> m_icons;
    UINT m_nDelay;
    UINT_PTR m_nTimerId = 0;
    int m_nCurrentIndex = 0;
};
