#pragma once
#include <windows.h>
#include <shellapi.h>

#include <string>

class CTrayTimerWnd;
class CTrayRessurectionWnd;

// An icon in the notification area, optionally animated, that can be
// hidden and shown again and comes back by itself when the taskbar is
// re-created (after the shell restarts) unless it is hidden. Two hidden
// helper windows carry the animation timer and hear the taskbar's
// re-creation.
class CTrayNotifyIcon {
public:
    CTrayNotifyIcon();
    ~CTrayNotifyIcon();
    CTrayNotifyIcon(const CTrayNotifyIcon&) = delete;
    CTrayNotifyIcon& operator=(const CTrayNotifyIcon&) = delete;

    // Adds the icon; the result of the add.
    BOOL Create(HWND hNotifyWnd, UINT uID, const char* tip, HICON icon, UINT callbackMessage);
    // Adds the first icon and cycles through all of them every delay.
    BOOL Create(HWND hNotifyWnd, UINT uID, const char* tip, const HICON* icons, int nIcons, UINT delayMs,
                UINT callbackMessage);
    BOOL Hide();
    BOOL Show();
    BOOL RemoveIcon();
    // Puts the next animation frame into the area (the timer window's tick).
    void ShowFrame(HICON icon);
    bool IsHidden() const { return m_bHidden != 0; }

    // Fills a record's tip, cut to the 63 characters it holds.
    static void SetTip(NOTIFYICONDATAA& record, const std::string& tip);
    // The size every record is given: the first version's record, which
    // every version of the shell accepts.
    static const DWORD kRecordSize = NOTIFYICONDATAA_V1_SIZE;

    NOTIFYICONDATAA m_nid;
    BOOL m_bCreated = FALSE;
    BOOL m_bHidden = FALSE;
    CTrayTimerWnd* m_pTimerWnd = nullptr;
    CTrayRessurectionWnd* m_pResurrectionWnd = nullptr;

private:
    bool CreateResurrectionWindow();
    bool CreateAnimationWindow(const HICON* icons, int nIcons, UINT delayMs);
};

// Every shell call on the notification area goes through this pointer, so
// tests can see the calls; it is Shell_NotifyIconA.
using ShellNotifyIconFunction = BOOL(WINAPI*)(DWORD message, NOTIFYICONDATAA* record);
extern ShellNotifyIconFunction g_pfnShellNotifyIcon;

// The message the system broadcasts when the taskbar has been re-created.
UINT TaskbarCreatedMessage();
