#pragma once
#include <windows.h>

// An edit control that takes digits and backspace only, and stays at a
// pinned left position whatever its owner moves it to (the photo list puts
// its label editor over the delay column this way).
class CDigitEdit {
public:
    CDigitEdit() = default;
    ~CDigitEdit() { Detach(); }
    CDigitEdit(const CDigitEdit&) = delete;
    CDigitEdit& operator=(const CDigitEdit&) = delete;

    bool Attach(HWND hEdit);
    void Detach();

    int m_nPinnedLeft = 0;  // client coordinates of the parent
    HWND m_hWnd = nullptr;

private:
    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
    WNDPROC m_pfnPrevious = nullptr;
};
