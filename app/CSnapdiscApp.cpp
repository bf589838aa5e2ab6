#include "CSnapdiscApp.h"

#include "CSnapdiscDlg.h"
#include "ProgramFolder.h"
#include "lang/CLang.h"

CSnapdiscApp* g_pApp = nullptr;

const char kSettingSection[] = "Setting";
const char kLangEntry[] = "lang";
const char kDefaultDelayEntry[] = "default delay time";

namespace {

const char kCompanyKey[] = "Larkfield_SNZ";
const char kDefaultDelay[] = "10";

}  // namespace

CSnapdiscApp::CSnapdiscApp() = default;

CSnapdiscApp::~CSnapdiscApp()
{
    delete m_pLang;
    if (g_pApp == this)
        g_pApp = nullptr;
}

BOOL CSnapdiscApp::InitInstance()
{
    AfxEnableControlContainer();
    char modulePath[260] = "";
    GetModuleFileNameA(nullptr, modulePath, sizeof modulePath);
    StartUp(modulePath);
    if (BringRunningCopyForward())
        return FALSE;

    CSnapdiscDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = nullptr;
    return FALSE;
}

void CSnapdiscApp::StartUp(const std::string& modulePath)
{
    SetRegistryKey(kCompanyKey);
    g_pApp = this;
    m_strModulePath = modulePath;
    m_strProgramFolder = ProgramFolderFromModulePath(modulePath);

    delete m_pLang;
    m_pLang = new CLang;
    std::string folder = m_strProgramFolder;
    int initResult = m_pLang->Init(&folder[0]);
    std::string lang = GetProfileString(kSettingSection, kLangEntry, g_szDefaultLang);
    int selectResult = m_pLang->SetLang(&lang[0]);
    if (initResult == -1 || selectResult == -1) {
        m_pLang->SetLang(g_szDefaultLang);
        WriteProfileString(kSettingSection, kLangEntry, g_szDefaultLang);
    }

    if (GetProfileString(kSettingSection, kDefaultDelayEntry, "").empty())
        WriteProfileString(kSettingSection, kDefaultDelayEntry, kDefaultDelay);
}

bool CSnapdiscApp::BringRunningCopyForward()
{
    const char* title = m_pLang ? m_pLang->GetText("title") : "title";
    HWND found = FindWindowA("#32770", title);
    if (!found)
        return false;
    HWND popup = GetLastActivePopup(found);
    if (IsIconic(found))
        ShowWindow(found, SW_RESTORE);
    SetForegroundWindow(popup);
    return true;
}

int CSnapdiscApp::ExitInstance()
{
    delete m_pLang;
    m_pLang = nullptr;
    return CWinApp::ExitInstance();
}
