#pragma once
#include <deque>
#include <string>
#include <vector>

#include "framework/CFileDialog.h"
#include "framework/CPrompter.h"

// Answers the program's questions from queues and records what was asked.
// Installed for the lifetime of the object.
class FakePrompter : public CPrompter {
public:
    struct Message {
        std::string text, caption;
        UINT type;
    };

    FakePrompter() : m_pPrevious(AfxSetPrompter(this)) {}
    ~FakePrompter() override { AfxSetPrompter(m_pPrevious); }

    int MessageBox(HWND, const std::string& text, const std::string& caption, UINT type) override
    {
        m_messages.push_back({text, caption, type});
        return Next(m_messageAnswers, IDOK);
    }
    bool FileDialog(HWND, CFileDialog& dialog) override
    {
        ++m_nFileDialogs;
        m_fileDialogs.push_back({dialog.m_bOpenFileDialog, dialog.m_strFilter, dialog.m_strDefExt, dialog.m_dwFlags,
                                 dialog.m_nFilterIndex, dialog.m_nMaxFile});
        if (m_bNamesTooLong) {
            m_bNamesTooLong = false;
            dialog.m_bBufferTooSmall = true;
            return false;
        }
        if (m_fileAnswers.empty())
            return false;
        dialog.m_arrPathNames = m_fileAnswers.front();
        m_fileAnswers.pop_front();
        if (m_nFilterIndexChosen)
            dialog.m_nFilterIndex = m_nFilterIndexChosen;
        return true;
    }
    UINT TrackPopupMenu(HMENU, UINT, int, int, HWND) override
    {
        ++m_nMenus;
        return static_cast<UINT>(Next(m_menuAnswers, 0));
    }

    // What a file dialog was asked with.
    struct FileDialogAsked {
        bool open;
        std::string filter, defExt;
        DWORD flags;
        int filterIndex;
        size_t maxFile;
    };

    std::vector<Message> m_messages;
    std::vector<FileDialogAsked> m_fileDialogs;
    int m_nFilterIndexChosen = 0;  // the file type a confirmed dialog reports; 0: as it was shown
    bool m_bNamesTooLong = false;  // the next file dialog fails for want of room for the names
    std::deque<int> m_messageAnswers;
    std::deque<std::vector<std::string>> m_fileAnswers;
    std::deque<int> m_menuAnswers;
    int m_nFileDialogs = 0;
    int m_nMenus = 0;

private:
    static int Next(std::deque<int>& answers, int fallback)
    {
        if (answers.empty())
            return fallback;
        int a = answers.front();
        answers.pop_front();
        return a;
    }
    CPrompter* m_pPrevious;
};
