#pragma once
#include <windows.h>
#include <windowsx.h>

#include <string>

// windowsx.h has a macro of this name; the framework's method takes its place.
#undef SubclassWindow

// A window handle wrapper. A window of another class (a control of a
// dialog) can be subclassed: its messages then reach OnMessage first and
// its own procedure (Default) for whatever OnMessage leaves. A dialog
// reflects the notifications a subclassed control sends it back to that
// control (OnChildNotify) before handling them itself.
class CWnd {
public:
    CWnd() = default;
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND GetSafeHwnd() const { return m_hWnd; }
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    void SetWindowText(const std::string& text) { ::SetWindowTextA(m_hWnd, text.c_str()); }
    std::string GetWindowText() const { return GetWindowTextOf(m_hWnd); }
    BOOL ShowWindow(int show) { return ::ShowWindow(m_hWnd, show); }
    LRESULT SendMessage(UINT msg, WPARAM w = 0, LPARAM l = 0) { return ::SendMessageA(m_hWnd, msg, w, l); }
    void Invalidate(BOOL bErase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, bErase); }
    // Centres the window over its owner, or over the screen's work area when
    // the owner is missing, hidden or minimised.
    void CenterWindow();

    // A message box owned by this window, through the program's prompter.
    int MessageBox(const std::string& text, const std::string& caption, UINT type = MB_OK);

    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(int id, const CWnd& parent) { return SubclassWindow(parent.GetDlgItem(id)); }
    // Gives the window its own procedure back; also done when it is destroyed.
    void UnsubclassWindow();
    // The object that subclasses or owns this window, or null.
    static CWnd* FromHandlePermanent(HWND hWnd);

    // A notification (WM_NOTIFY, WM_COMMAND, WM_DRAWITEM, WM_CTLCOLORSTATIC)
    // this control sent its parent. True when the control handled it; result
    // is then the answer.
    virtual bool OnChildNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // Sees a message of a dialog's modal loop before it is dispatched, when
    // the message is for this window or one of its children; true when it
    // was handled and must not be dispatched.
    virtual BOOL PreTranslateMessage(MSG* pMsg);

    static std::string GetWindowTextOf(HWND hWnd);

    HWND m_hWnd = nullptr;

protected:
    // Returns true when the message was handled; result is then the answer.
    virtual bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // Runs once the window is subclassed.
    virtual void PreSubclassWindow() {}
    // The window's own handling of a message.
    LRESULT Default(UINT msg, WPARAM wParam, LPARAM lParam);
    // Reflection to the notifying control, then OnMessage, behind the
    // framework's exception boundary: no exception
    // leaves a window procedure; framework exceptions show their standard
    // message.
    bool DispatchSafely(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // Binds the object to a window of its own class (see CFrameWnd).
    void BindOwnWindow(HWND hWnd);
    void UnbindOwnWindow();

private:
    static LRESULT CALLBACK SubclassProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
    WNDPROC m_pfnSuper = nullptr;
};
