#include "CDigitEdit.h"

bool CDigitEdit::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (msg) {
    case WM_CHAR:
        if ((wParam >= '0' && wParam <= '9') || wParam == VK_BACK)
            return false;
        result = 0;  // swallowed: nothing inserted, no beep
        return true;
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE)
            m_bEscapePressed = true;
        return false;
    case WM_WINDOWPOSCHANGING:
        reinterpret_cast<WINDOWPOS*>(lParam)->x = m_nPinnedLeft;
        return false;
    default:
        return false;
    }
}
