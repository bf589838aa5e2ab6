#include "CWin32Prompter.h"

#include <commdlg.h>
#include <cderr.h>

#include "CFileDialog.h"
#include "MultiSelect.h"

int CWin32Prompter::MessageBox(HWND owner, const std::string& text, const std::string& caption, UINT type)
{
    return ::MessageBoxA(owner, text.c_str(), caption.c_str(), type);
}

bool CWin32Prompter::FileDialog(HWND owner, CFileDialog& dialog)
{
    // The filter's '|' separators become the NULs the system expects.
    std::string filter = dialog.m_strFilter;
    for (char& c : filter)
        if (c == '|')
            c = '\0';
    filter.push_back('\0');
    std::vector<char> buffer(dialog.m_dwFlags & OFN_ALLOWMULTISELECT ? dialog.m_nMaxFile : MAX_PATH, '\0');
    dialog.m_strFileName.copy(buffer.data(), buffer.size() - 2);

    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = dialog.m_strFilter.empty() ? nullptr : filter.c_str();
    ofn.lpstrFile = buffer.data();
    ofn.nMaxFile = static_cast<DWORD>(buffer.size());
    ofn.lpstrDefExt = dialog.m_strDefExt.empty() ? nullptr : dialog.m_strDefExt.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(dialog.m_nFilterIndex);
    ofn.Flags = dialog.m_dwFlags | OFN_EXPLORER;
    BOOL ok = dialog.m_bOpenFileDialog ? GetOpenFileNameA(&ofn) : GetSaveFileNameA(&ofn);
    dialog.m_bBufferTooSmall = !ok && CommDlgExtendedError() == FNERR_BUFFERTOOSMALL;
    if (!ok)
        return false;
    dialog.m_nFilterIndex = static_cast<int>(ofn.nFilterIndex);
    dialog.m_arrPathNames = SplitMultiSelect(buffer.data(), buffer.size());
    return true;
}

UINT CWin32Prompter::TrackPopupMenu(HMENU menu, UINT flags, int x, int y, HWND owner)
{
    return static_cast<UINT>(::TrackPopupMenu(menu, flags, x, y, 0, owner, nullptr));
}
