#include "CTrayNotifyIcon.h"

#include <cstring>

#include "CTrayRessurectionWnd.h"
#include "CTrayTimerWnd.h"

ShellNotifyIconFunction g_pfnShellNotifyIcon = &Shell_NotifyIconA;

namespace {

const UINT kIconMessageTip = NIF_MESSAGE | NIF_ICON | NIF_TIP;

// Asks a helper window to close; it deletes its own object.
template <class Window>
void Close(Window*& window)
{
    if (window) {
        SendMessageA(window->m_hWnd, WM_CLOSE, 0, 0);
        window = nullptr;
    }
}

}  // namespace

UINT TaskbarCreatedMessage()
{
    static const UINT message = RegisterWindowMessageA("TaskbarCreated");
    return message;
}

void CTrayNotifyIcon::SetTip(NOTIFYICONDATAA& record, const std::string& tip)
{
    // The first version's record holds 64 bytes of tip, terminator included.
    const size_t maxLength = 63;
    size_t length = tip.size() < maxLength ? tip.size() : maxLength;
    std::memcpy(record.szTip, tip.data(), length);
    record.szTip[length] = '\0';
}

CTrayNotifyIcon::CTrayNotifyIcon()
{
    std::memset(&m_nid, 0, sizeof m_nid);
}

CTrayNotifyIcon::~CTrayNotifyIcon()
{
    Close(m_pTimerWnd);
    Close(m_pResurrectionWnd);
    RemoveIcon();
}

BOOL CTrayNotifyIcon::Create(HWND hNotifyWnd, UINT uID, const char* tip, HICON icon, UINT callbackMessage)
{
    if (!CreateResurrectionWindow())
        return FALSE;
    m_nid.cbSize = kRecordSize;
    m_nid.hWnd = hNotifyWnd;
    m_nid.uID = uID;
    m_nid.uCallbackMessage = callbackMessage;
    m_nid.hIcon = icon;
    m_nid.uFlags = kIconMessageTip;
    SetTip(m_nid, tip ? tip : "");
    m_bCreated = g_pfnShellNotifyIcon(NIM_ADD, &m_nid);
    return m_bCreated;
}

BOOL CTrayNotifyIcon::Create(HWND hNotifyWnd, UINT uID, const char* tip, const HICON* icons, int nIcons,
                             UINT delayMs, UINT callbackMessage)
{
    if (!icons || nIcons <= 0 || !CreateAnimationWindow(icons, nIcons, delayMs))
        return FALSE;
    return Create(hNotifyWnd, uID, tip, icons[0], callbackMessage);
}

BOOL CTrayNotifyIcon::Hide()
{
    if (m_bHidden)
        return m_bHidden;
    m_nid.uFlags = NIF_ICON;
    BOOL result = g_pfnShellNotifyIcon(NIM_DELETE, &m_nid);
    m_bHidden = TRUE;
    return result;
}

BOOL CTrayNotifyIcon::Show()
{
    if (!m_bHidden)
        return FALSE;
    m_nid.uFlags = kIconMessageTip;
    BOOL result = g_pfnShellNotifyIcon(NIM_ADD, &m_nid);
    m_bHidden = FALSE;
    return result;
}

BOOL CTrayNotifyIcon::RemoveIcon()
{
    if (!m_bCreated)
        return FALSE;
    m_nid.uFlags = 0;
    BOOL result = g_pfnShellNotifyIcon(NIM_DELETE, &m_nid);
    m_bCreated = FALSE;
    return result;
}

void CTrayNotifyIcon::ShowFrame(HICON icon)
{
    // While hidden the shell refuses the change; the record keeps the frame
    // for the next Show.
    m_nid.uFlags = NIF_ICON;
    m_nid.hIcon = icon;
    g_pfnShellNotifyIcon(NIM_MODIFY, &m_nid);
}

bool CTrayNotifyIcon::CreateResurrectionWindow()
{
    Close(m_pResurrectionWnd);
    auto* window = new CTrayRessurectionWnd(this);
    if (!window->Create("CTrayNotifyIcon Resurrection Notification Window", WS_OVERLAPPEDWINDOW))
        return false;  // the window's failure has deleted the object
    m_pResurrectionWnd = window;
    return true;
}

bool CTrayNotifyIcon::CreateAnimationWindow(const HICON* icons, int nIcons, UINT delayMs)
{
    Close(m_pTimerWnd);
    auto* window = new CTrayTimerWnd(this, icons, nIcons, delayMs);
    if (!window->Create("CTrayNotifyIcon Animation Notification Window", WS_OVERLAPPEDWINDOW))
        return false;
    m_pTimerWnd = window;
    return true;
}
