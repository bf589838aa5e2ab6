#include "CFileDialog.h"

#include "CPrompter.h"
#include "CWnd.h"

CFileDialog::CFileDialog(bool bOpenFileDialog, const char* defExt, const char* fileName, DWORD flags,
                         const char* filter, CWnd* parent)
    : m_bOpenFileDialog(bOpenFileDialog), m_strDefExt(defExt ? defExt : ""), m_strFileName(fileName ? fileName : ""),
      m_strFilter(filter ? filter : ""), m_dwFlags(flags), m_hWndOwner(parent ? parent->m_hWnd : nullptr)
{
}

INT_PTR CFileDialog::DoModal()
{
    m_arrPathNames.clear();
    m_bBufferTooSmall = false;
    bool chosen = AfxGetPrompter().FileDialog(m_hWndOwner, *this);
    return chosen && !m_arrPathNames.empty() ? IDOK : IDCANCEL;
}

std::string CFileDialog::GetPathName() const
{
    return m_arrPathNames.empty() ? std::string() : m_arrPathNames.front();
}

std::string CFileDialog::GetFileTitle() const
{
    std::string name = GetPathName();
    size_t slash = name.find_last_of("\\/");
    if (slash != std::string::npos)
        name.erase(0, slash + 1);
    size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0)
        name.erase(dot);
    return name;
}
