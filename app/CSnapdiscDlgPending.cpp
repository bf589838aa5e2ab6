// The recorders' part of the main window, whose work comes with the engine
// binding. Until then the program has no recorder: the combo box stays
// hidden, the status strip stays as it is, and "start" says that no
// recorder is available.
#include "CSnapdiscDlg.h"

#include "CSnapdiscApp.h"
#include "lang/CLang.h"

int CSnapdiscDlg::RefreshRecorders()
{
    return -1;
}

void CSnapdiscDlg::SelectRecorder() {}
void CSnapdiscDlg::ReleaseRecorders() {}
void CSnapdiscDlg::UpdateStatusText() {}

void CSnapdiscDlg::StartBurnChecks()
{
    CLang& lang = *g_pApp->GetLang();
    if (m_bNoRecorder)
        MessageBox(lang.GetText("NoDevice"), lang.GetText("title"), MB_OK | MB_ICONSTOP);
}
