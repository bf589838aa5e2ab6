#include "CWnd.h"

#include "CPrompter.h"

int CWnd::MessageBox(const std::string& text, const std::string& caption, UINT type)
{
    return AfxGetPrompter().MessageBox(m_hWnd, text, caption, type);
}

std::string CWnd::GetWindowTextOf(HWND hWnd)
{
    int length = ::GetWindowTextLengthA(hWnd);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    int got = ::GetWindowTextA(hWnd, &text[0], length + 1);
    text.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return text;
}
