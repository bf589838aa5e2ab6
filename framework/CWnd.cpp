#include "CWnd.h"

#include <exception>

#include "CException.h"
#include "CPrompter.h"

namespace {

const char kObjectProperty[] = "Snapdisc.CWnd";

// The control a notification comes from, when the program subclasses it.
CWnd* NotifyingChild(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_NOTIFY:
        return CWnd::FromHandlePermanent(reinterpret_cast<NMHDR*>(lParam)->hwndFrom);
    case WM_COMMAND:
        return CWnd::FromHandlePermanent(reinterpret_cast<HWND>(lParam));
    case WM_DRAWITEM:
        return wParam ? CWnd::FromHandlePermanent(reinterpret_cast<DRAWITEMSTRUCT*>(lParam)->hwndItem) : nullptr;
    case WM_CTLCOLORSTATIC:
        return CWnd::FromHandlePermanent(reinterpret_cast<HWND>(lParam));
    default:
        return nullptr;
    }
}

}  // namespace

CWnd::~CWnd()
{
    UnsubclassWindow();
}

int CWnd::MessageBox(const std::string& text, const std::string& caption, UINT type)
{
    return AfxGetPrompter().MessageBox(m_hWnd, text, caption, type);
}

void CWnd::CenterWindow()
{
    RECT area, self;
    HWND owner = GetWindow(m_hWnd, GW_OWNER);
    if (owner && IsWindowVisible(owner) && !IsIconic(owner))
        GetWindowRect(owner, &area);
    else
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    GetWindowRect(m_hWnd, &self);
    int width = self.right - self.left, height = self.bottom - self.top;
    int x = area.left + (area.right - area.left - width) / 2;
    int y = area.top + (area.bottom - area.top - height) / 2;
    SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::string CWnd::GetWindowTextOf(HWND hWnd)
{
    int length = ::GetWindowTextLengthA(hWnd);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    int got = ::GetWindowTextA(hWnd, &text[0], length + 1);
    text.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return text;
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    UnsubclassWindow();
    if (!hWnd || GetPropA(hWnd, kObjectProperty) || !SetPropA(hWnd, kObjectProperty, this))
        return FALSE;
    m_hWnd = hWnd;
    m_pfnSuper = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::SubclassProc)));
    PreSubclassWindow();
    return TRUE;
}

void CWnd::UnsubclassWindow()
{
    if (!m_pfnSuper)
        return;
    if (IsWindow(m_hWnd)) {
        SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
        RemovePropA(m_hWnd, kObjectProperty);
    }
    m_pfnSuper = nullptr;
    m_hWnd = nullptr;
}

void CWnd::BindOwnWindow(HWND hWnd)
{
    m_hWnd = hWnd;
    SetPropA(hWnd, kObjectProperty, this);
}

void CWnd::UnbindOwnWindow()
{
    if (m_hWnd)
        RemovePropA(m_hWnd, kObjectProperty);
    m_hWnd = nullptr;
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd)
{
    return hWnd ? static_cast<CWnd*>(GetPropA(hWnd, kObjectProperty)) : nullptr;
}

bool CWnd::OnChildNotify(UINT, WPARAM, LPARAM, LRESULT&)
{
    return false;
}

BOOL CWnd::PreTranslateMessage(MSG*)
{
    return FALSE;
}

bool CWnd::OnMessage(UINT, WPARAM, LPARAM, LRESULT&)
{
    return false;
}

LRESULT CWnd::Default(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (m_pfnSuper)
        return CallWindowProcA(m_pfnSuper, m_hWnd, msg, wParam, lParam);
    return DefWindowProcA(m_hWnd, msg, wParam, lParam);
}

bool CWnd::DispatchSafely(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    try {
        CWnd* child = NotifyingChild(msg, wParam, lParam);
        if (child && child != this && child->OnChildNotify(msg, wParam, lParam, result))
            return true;
        return OnMessage(msg, wParam, lParam, result);
    } catch (const CException& e) {
        AfxReportException(e, m_hWnd);
    } catch (const std::exception& e) {
        AfxMessageBox(std::string("An unexpected error occurred: ") + e.what(), MB_OK | MB_ICONSTOP, m_hWnd);
    }
    return true;
}

LRESULT CALLBACK CWnd::SubclassProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    CWnd* self = FromHandlePermanent(hWnd);
    if (!self || !self->m_pfnSuper)
        return DefWindowProcA(hWnd, msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        WNDPROC super = self->m_pfnSuper;
        self->UnsubclassWindow();
        return CallWindowProcA(super, hWnd, msg, wParam, lParam);
    }
    LRESULT result = 0;
    if (self->DispatchSafely(msg, wParam, lParam, result))
        return result;
    return self->Default(msg, wParam, lParam);
}
