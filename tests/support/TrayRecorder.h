#pragma once
#include <windows.h>
#include <shellapi.h>

#include <vector>

#include "tray/CTrayNotifyIcon.h"

// Stands in for the shell's notification area while it lives: records every
// call and answers with m_result.
class TrayRecorder {
public:
    struct Call {
        DWORD message;
        NOTIFYICONDATAA record;
    };

    TrayRecorder() : m_pPrevious(g_pfnShellNotifyIcon)
    {
        s_pActive = this;
        g_pfnShellNotifyIcon = &Record;
    }
    ~TrayRecorder()
    {
        g_pfnShellNotifyIcon = m_pPrevious;
        s_pActive = nullptr;
    }

    int Count(DWORD message, UINT id) const
    {
        int n = 0;
        for (const Call& c : m_calls)
            n += c.message == message && c.record.uID == id;
        return n;
    }

    std::vector<Call> m_calls;
    BOOL m_result = TRUE;

private:
    static BOOL WINAPI Record(DWORD message, NOTIFYICONDATAA* record)
    {
        s_pActive->m_calls.push_back({message, *record});
        return s_pActive->m_result;
    }
    static inline TrayRecorder* s_pActive = nullptr;
    ShellNotifyIconFunction m_pPrevious;
};
