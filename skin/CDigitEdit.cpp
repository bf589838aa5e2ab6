#include "CDigitEdit.h"

namespace {

const char kOwnerProperty[] = "Snapdisc.CDigitEdit";

}  // namespace

bool CDigitEdit::Attach(HWND hEdit)
{
    Detach();
    if (!hEdit || !SetPropA(hEdit, kOwnerProperty, this))
        return false;
    m_hWnd = hEdit;
    m_pfnPrevious = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(hEdit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CDigitEdit::WindowProc)));
    return true;
}

void CDigitEdit::Detach()
{
    if (!m_hWnd)
        return;
    if (IsWindow(m_hWnd)) {
        SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnPrevious));
        RemovePropA(m_hWnd, kOwnerProperty);
    }
    m_hWnd = nullptr;
    m_pfnPrevious = nullptr;
}

LRESULT CALLBACK CDigitEdit::WindowProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    CDigitEdit* self = static_cast<CDigitEdit*>(GetPropA(hWnd, kOwnerProperty));
    if (!self)
        return DefWindowProcA(hWnd, msg, wParam, lParam);
    WNDPROC previous = self->m_pfnPrevious;
    switch (msg) {
    case WM_CHAR:
        if (!((wParam >= '0' && wParam <= '9') || wParam == VK_BACK))
            return 0;  // swallowed: nothing inserted, no beep
        break;
    case WM_WINDOWPOSCHANGING:
        reinterpret_cast<WINDOWPOS*>(lParam)->x = self->m_nPinnedLeft;
        break;
    case WM_NCDESTROY:
        self->Detach();
        break;
    }
    return CallWindowProcA(previous, hWnd, msg, wParam, lParam);
}
