#pragma once
#include <windows.h>

#include "CSkinBitmap.h"

// The push elements of the face: the main window hands its mouse, paint and
// pre-translated messages to this object, which draws each element in its
// normal, hover or pressed face, fires the element's command on the press
// and keeps one tool tip per element.
class CSkinButtons {
public:
    // What the window that hosts the buttons provides.
    class Host {
    public:
        virtual ~Host() = default;
        virtual void OnSkinCommand(int element) = 0;
        // Repaints whatever area of the window is pending repaint.
        virtual void RunPaintRoutine() = 0;
        // Runs after every press, hit or not (the status strip is recomposed there).
        virtual void AfterSkinPress() {}
        virtual bool IsLowerPanelShown() const = 0;
    };

    enum Face { Normal, Hover, Pressed };

    explicit CSkinButtons(Host& host);
    ~CSkinButtons();
    CSkinButtons(const CSkinButtons&) = delete;
    CSkinButtons& operator=(const CSkinButtons&) = delete;

    void Attach(HWND hWnd) { m_hWnd = hWnd; }
    const CSkinBitmap& NormalFace() const { return m_normal; }

    void OnMouseMove(POINT pt, WPARAM keys);
    // The pointer left the face, onto a child control or out of the window.
    void OnMouseLeave();
    void OnLButtonDown(POINT pt);
    void OnLButtonUp();
    // The normal face over the area being repainted, and the "setup"
    // picture while the lower panel is shown.
    void Paint(HDC paintDC, const RECT& area);

    // One tool per active element, id = position + 1, text from the language tables.
    void CreateToolTips();
    void UpdateToolTipTexts();
    void RelayToToolTip(MSG* pMsg);
    HWND ToolTip() const { return m_hToolTip; }

    void DrawElement(int element, Face face, HDC paintDC = nullptr);

    int m_nHotElement = -1;
    int m_nLastHitElement = -1;

private:
    void DrawSetupPicture(bool hover, HDC paintDC = nullptr);
    void LeaveHotElement();

    Host& m_host;
    HWND m_hWnd = nullptr;
    HWND m_hToolTip = nullptr;
    CSkinBitmap m_normal, m_hover, m_pressed, m_setupShown, m_setupShownHover;
    int m_nSetup;
};
