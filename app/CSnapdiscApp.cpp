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
    // "snapdisc.exe PROJECT.snz" (how a project file is opened from the shell).
    if (__argc > 1 && __argv[1][0] != '\0') {
        char full[MAX_PATH * 2] = "";
        DWORD length = GetFullPathNameA(__argv[1], sizeof full, full, nullptr);
        m_strStartProject = length > 0 && length < sizeof full ? full : __argv[1];
    }
    if (BringRunningCopyForward(m_strStartProject))
        return FALSE;

    CSnapdiscDlg dlg;
    dlg.m_strStartProject = m_strStartProject;
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

bool CSnapdiscApp::BringRunningCopyForward(const std::string& project)
{
    const char* title = m_pLang ? m_pLang->GetText("title") : "title";
    HWND found = FindWindowA("#32770", title);
    if (!found)
        return false;
    HWND popup = GetLastActivePopup(found);
    if (IsIconic(found))
        ShowWindow(found, SW_RESTORE);
    SetForegroundWindow(popup);
    if (!project.empty()) {
        COPYDATASTRUCT data = {CSnapdiscDlg::kOpenProjectData, static_cast<DWORD>(project.size() + 1),
                               const_cast<char*>(project.c_str())};
        SendMessageA(found, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
    }
    return true;
}

int CSnapdiscApp::ExitInstance()
{
    delete m_pLang;
    m_pLang = nullptr;
    return CWinApp::ExitInstance();
}
