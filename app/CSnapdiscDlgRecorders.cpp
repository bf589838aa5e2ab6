// The recorders in the main window: the list in the recorder box, the
// current recorder and its disc in the status strip, and the checks of the
// start command before the burn dialog runs.
#include "CSnapdiscDlg.h"

#include "CSnapdiscApp.h"
#include "burn/EngineBinding.h"
#include "burn/StatusText.h"
#include "framework/CPrompter.h"
#include "framework/FileHelpers.h"
#include "lang/CLang.h"
#include "res/resource.h"
#include "sys/EndProcessByName.h"

int CSnapdiscDlg::RefreshRecorders()
{
    EndProcessByName("imapi.exe");  // the system's own recording service would hold the recorders
    if (m_bRecorderListLoaded)
        ReleaseRecorders();
    HWND box = GetDlgItem(IDC_RECORDERS);
    ::SendMessageA(box, CB_RESETCONTENT, 0, 0);
    m_bRecorderListLoaded = false;
    CBurner& burner = g_pApp->m_burner;
    burner.m_strPrompt = "Need a blank CD!";

    int started = EngineLoad() ? 0 : -1;
    if (started == 0) {
        EngineUnload();
        started = burner.EngineStart();
    }
    if (started != 0) {
        AfxMessageBox(started == -2 ? "Startup failed,Please restart windows." : "Corrupt files!Please reinstall.",
                      MB_OK | MB_ICONSTOP, m_hWnd);
        return -1;
    }
    auto& recorders = g_pApp->m_arrRecorders;
    if (burner.EnumerateRecorders(recorders) == 0)
        return -1;
    int lines = 0;
    for (size_t i = 0; i < recorders.size(); ++i) {
        const CRecorderInfo& r = *recorders[i];
        if (!r.m_bIsRecorder)
            continue;
        std::string line = r.m_strDrive + " " + r.m_strEmpty + " " + r.m_strName;
        LRESULT at = ::SendMessageA(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
        ::SendMessageA(box, CB_SETITEMDATA, static_cast<WPARAM>(at), static_cast<LPARAM>(i));
        ++lines;
    }
    if (lines == 0)
        return -1;
    ::SendMessageA(box, CB_SETCURSEL, 0, 0);
    SelectRecorder();
    m_bRecorderListLoaded = true;
    return 0;
}

void CSnapdiscDlg::ReleaseRecorders()
{
    m_pCurrentRecorder = nullptr;
    g_pApp->m_arrRecorders.clear();
    g_pApp->m_burner.EngineStop();
    m_bRecorderListLoaded = false;
}

void CSnapdiscDlg::SelectRecorder()
{
    HWND box = GetDlgItem(IDC_RECORDERS);
    LRESULT line = ::SendMessageA(box, CB_GETCURSEL, 0, 0);
    if (line == CB_ERR)
        return;
    auto index = static_cast<size_t>(::SendMessageA(box, CB_GETITEMDATA, static_cast<WPARAM>(line), 0));
    auto& recorders = g_pApp->m_arrRecorders;
    if (index >= recorders.size())
        return;
    m_pCurrentRecorder = recorders[index].get();
    g_pApp->m_burner.QueryMedia(*m_pCurrentRecorder);
    m_nChosenSpeed = m_pCurrentRecorder->ChooseSpeed(m_nChosenSpeed);
    DrawStatusText();
}

int CSnapdiscDlg::BurnSpeed()
{
    return m_pCurrentRecorder ? m_pCurrentRecorder->BurnSpeed(m_nChosenSpeed) : 0;
}

void CSnapdiscDlg::UpdateStatusText()
{
    HWND box = GetDlgItem(IDC_RECORDERS);
    StatusFacts facts;
    facts.projectName = m_project.m_strTitle;
    facts.projectPath = m_project.m_strPath;
    facts.photoCount = m_project.m_nPhotoCount;
    facts.totalKB = m_project.m_nTotalKB;
    facts.recorder = m_pCurrentRecorder;
    facts.recorderLine = CWnd::GetWindowTextOf(box);
    ComposeStatusText(facts, LangText, m_strStatusText, m_strBurnInfo);
}

void CSnapdiscDlg::BurnRefused(const char* key)
{
    MessageBox(LangText(key), LangText("title"), MB_OK | MB_ICONSTOP);
}

void CSnapdiscDlg::StartBurnChecks()
{
    if (m_bNoRecorder)
        return BurnRefused("NoDevice");
    if (m_arrPhotos.empty())
        return BurnRefused("NoPhotos");
    if (!m_pCurrentRecorder || !m_pCurrentRecorder->m_bMediaPresent)
        return BurnRefused("No Disc in the Device");
    if (m_project.m_strPath.empty()) {
        uint64_t totalKB = 0;
        for (const std::string& path : m_project.m_arrPaths)
            totalKB += FileSizeKB(path);
        m_strBurnInfo = LangText("Project Name") + LangText("NotSave") + LangText("Photo Numbers") +
                        std::to_string(m_arrPhotos.size()) + LangText("Photo Total Size") +
                        std::to_string(static_cast<int32_t>(totalKB)) + " KBs";
    } else if (m_project.m_bModified && !SaveProject()) {
        return;  // the save was cancelled or failed: no burn of an unsaved project
    }
    if (m_arrPhotos.size() > kMaxPhotos)
        return BurnRefused("SizeTooBig");
    if (MessageBox(LangText("Ready"), LangText("title"), MB_YESNO | MB_ICONINFORMATION) == IDNO)
        return;
    if (g_pApp->m_burner.IsReadyToBurn(*m_pCurrentRecorder))
        RunBurnDialog(0);
    else if (m_pCurrentRecorder->m_bCdRw) {
        if (MessageBox(LangText("SureToErase"), LangText("title"), MB_YESNO | MB_ICONINFORMATION) == IDYES)
            RunBurnDialog(1);
    } else if (m_pCurrentRecorder->m_bCdR)
        BurnRefused("Need a blank CDR");
    else
        BurnRefused("UnusableDisc");
}

void CSnapdiscDlg::RunBurnDialog(int eraseMode)
{
    if (!m_pBurnDialog)
        m_pBurnDialog = std::make_unique<CBurnProgressDlg>(this, *this, g_pApp->m_burner);
    m_pBurnDialog->m_strInfo = m_strBurnInfo;
    m_pBurnDialog->m_nEraseMode = eraseMode;
    m_pBurnDialog->DoModal();
}

void CSnapdiscDlg::BurnStarting()
{
    m_bBurning = true;  // from now on device notices leave the engine alone
    DeleteResidentIcon();
    m_trayBurning.Show();
}

void CSnapdiscDlg::BurnEnded()
{
    m_bBurning = false;
    m_trayBurning.Hide();
    AddResidentIcon();
}

void CSnapdiscDlg::BurnPhotos(std::vector<std::string>& paths, std::vector<uint32_t>& delays)
{
    paths = m_project.m_arrPaths;
    delays = m_project.m_arrDelays;
}
