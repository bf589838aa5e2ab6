#pragma once
#include <windows.h>

#include <string>

// A window the program does not own the class of: a thin handle wrapper.
class CWnd {
public:
    CWnd() = default;
    virtual ~CWnd() = default;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND GetSafeHwnd() const { return m_hWnd; }
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    void SetWindowText(const std::string& text) { ::SetWindowTextA(m_hWnd, text.c_str()); }
    std::string GetWindowText() const { return GetWindowTextOf(m_hWnd); }
    BOOL ShowWindow(int show) { return ::ShowWindow(m_hWnd, show); }
    LRESULT SendMessage(UINT msg, WPARAM w = 0, LPARAM l = 0) { return ::SendMessageA(m_hWnd, msg, w, l); }

    // A message box owned by this window, through the program's prompter.
    int MessageBox(const std::string& text, const std::string& caption, UINT type = MB_OK);

    static std::string GetWindowTextOf(HWND hWnd);

    HWND m_hWnd = nullptr;
};
