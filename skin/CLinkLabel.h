#pragma once
#include <string>

#include "framework/CWnd.h"

// A static text of a dialog turned into a link: link colours, underlined
// while the mouse is over it, the hand cursor, a tool tip with the target,
// and a click that opens the target (OpenLink). Attached by subclassing the
// control (DDX_Control).
class CLinkLabel : public CWnd {
public:
    CLinkLabel() = default;
    ~CLinkLabel() override;

    void SetLinkUrl(const std::string& target);
    void SetVisited(bool visited);
    // 1: always underlined, 0: never, -1: while the mouse is over it.
    void SetUnderlineMode(int mode);
    // Sizes the control to its text and borders, keeping its alignment.
    void FitToText();

    BOOL PreTranslateMessage(MSG* pMsg) override;
    bool OnChildNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    COLORREF m_crLink = RGB(0, 0, 238);
    COLORREF m_crVisited = RGB(85, 26, 139);
    COLORREF m_crHover = RGB(255, 0, 0);
    bool m_bHovering = false;
    bool m_bVisited = false;
    int m_nUnderline = -1;
    bool m_bFitToText = true;
    std::string m_strTarget;

protected:
    void PreSubclassWindow() override;
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void OnClick();
    void OnMouseMove();
    void OnHoverTimer();
    void SetFontOf(HFONT font);

    HFONT m_hUnderlinedFont = nullptr;
    HFONT m_hPlainFont = nullptr;
    HCURSOR m_hLinkCursor = nullptr;
    HWND m_hToolTip = nullptr;
    static const UINT_PTR kHoverTimer = 100;
};
