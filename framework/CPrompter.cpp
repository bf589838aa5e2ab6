#include "CPrompter.h"

#include "CException.h"
#include "CWin32Prompter.h"
#include "CWinApp.h"

namespace {

CWin32Prompter g_win32Prompter;
CPrompter* g_pPrompter = &g_win32Prompter;

}  // namespace

CPrompter& AfxGetPrompter()
{
    return *g_pPrompter;
}

CPrompter* AfxSetPrompter(CPrompter* prompter)
{
    CPrompter* previous = g_pPrompter;
    g_pPrompter = prompter ? prompter : &g_win32Prompter;
    return previous;
}

int AfxMessageBox(const std::string& text, UINT type, HWND owner)
{
    CWinApp* app = AfxGetApp();
    std::string caption = app ? app->m_strAppName : std::string();
    return AfxGetPrompter().MessageBox(owner, text, caption, type);
}

void AfxReportException(const CException& e, HWND owner)
{
    AfxMessageBox(e.GetErrorMessage(), MB_OK | MB_ICONEXCLAMATION, owner);
}
