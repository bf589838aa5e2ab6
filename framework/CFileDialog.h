#pragma once
#include <windows.h>
#include <commdlg.h>

#include <string>
#include <vector>

class CWnd;

// An open or save file dialog. The filter is written as pairs of
// "description|pattern|" ending with "||". DoModal asks through the
// program's prompter.
class CFileDialog {
public:
    CFileDialog(bool bOpenFileDialog, const char* defExt = nullptr, const char* fileName = nullptr,
                DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, const char* filter = nullptr,
                CWnd* parent = nullptr);

    // IDOK with at least one path chosen, IDCANCEL otherwise.
    INT_PTR DoModal();

    std::string GetPathName() const;   // the first path chosen
    std::string GetFileTitle() const;  // its file name without folder and extension
    const std::vector<std::string>& GetPathNames() const { return m_arrPathNames; }

    bool m_bOpenFileDialog;
    std::string m_strDefExt;
    std::string m_strFileName;
    std::string m_strFilter;
    DWORD m_dwFlags;
    int m_nFilterIndex = 1;        // the filter shown first (1-based); the one left chosen afterwards
    size_t m_nMaxFile = 65536;     // bytes for the chosen names (multiple selection)
    bool m_bBufferTooSmall = false;  // set when the names chosen did not fit
    HWND m_hWndOwner;
    std::vector<std::string> m_arrPathNames;
};
