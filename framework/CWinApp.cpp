#include "CWinApp.h"

#include <algorithm>

#include <commctrl.h>
#include <ole2.h>

namespace {

CWinApp* g_pWinApp = nullptr;

std::string ModuleBaseName(HINSTANCE instance)
{
    char path[MAX_PATH] = "";
    GetModuleFileNameA(instance, path, MAX_PATH);
    std::string name = path;
    size_t slash = name.find_last_of("\\/");
    if (slash != std::string::npos)
        name.erase(0, slash + 1);
    size_t dot = name.rfind('.');
    if (dot != std::string::npos)
        name.erase(dot);
    return name;
}

}  // namespace

CWinApp* AfxGetApp()
{
    return g_pWinApp;
}

CWinApp::CWinApp() : m_hInstance(GetModuleHandleA(nullptr)), m_strAppName(ModuleBaseName(nullptr))
{
    g_pWinApp = this;
}

CWinApp::~CWinApp()
{
    if (g_pWinApp == this)
        g_pWinApp = nullptr;
}

BOOL CWinApp::InitInstance()
{
    return TRUE;
}

int CWinApp::ExitInstance()
{
    return 0;
}

void CWinApp::SetRegistryKey(const char* company)
{
    m_strRegistryKey = company ? company : "";
}

std::string CWinApp::SectionKeyPath(const char* section) const
{
    return "Software\\" + m_strRegistryKey + "\\" + m_strAppName + "\\" + section;
}

std::string CWinApp::GetProfileString(const char* section, const char* entry, const char* defaultValue)
{
    std::string fallback = defaultValue ? defaultValue : "";
    if (m_strRegistryKey.empty() || !section || !entry)
        return fallback;
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, SectionKeyPath(section).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return fallback;
    std::string value;
    DWORD type = 0, size = 0;
    LONG rc = RegQueryValueExA(key, entry, nullptr, &type, nullptr, &size);
    if (rc == ERROR_SUCCESS && (type == REG_SZ || type == REG_EXPAND_SZ)) {
        value.resize(size + 1);
        rc = RegQueryValueExA(key, entry, nullptr, &type, reinterpret_cast<BYTE*>(&value[0]), &size);
        // The stored bytes may or may not include the terminator.
        value.resize(rc == ERROR_SUCCESS ? std::min<size_t>(size, value.size()) : 0);
        size_t nul = value.find('\0');
        if (nul != std::string::npos)
            value.erase(nul);
    } else {
        rc = ERROR_FILE_NOT_FOUND;
    }
    RegCloseKey(key);
    return rc == ERROR_SUCCESS ? value : fallback;
}

BOOL CWinApp::WriteProfileString(const char* section, const char* entry, const char* value)
{
    if (m_strRegistryKey.empty() || !section || !entry)
        return FALSE;
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, SectionKeyPath(section).c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return FALSE;
    LONG rc;
    if (value)
        rc = RegSetValueExA(key, entry, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                            static_cast<DWORD>(strlen(value) + 1));
    else
        rc = RegDeleteValueA(key, entry);
    RegCloseKey(key);
    return rc == ERROR_SUCCESS || (!value && rc == ERROR_FILE_NOT_FOUND);
}

BOOL AfxPumpMessage()
{
    MSG msg;
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        return TRUE;
    if (msg.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(msg.wParam));
        return FALSE;
    }
    // A dialog's keys (Enter, Escape) go to the dialog they belong to.
    HWND dialog = GetAncestor(msg.hwnd, GA_ROOT);
    if (!dialog || !IsDialogMessageA(dialog, &msg)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return TRUE;
}

void AfxEnableControlContainer()
{
    static bool initialised = false;
    if (!initialised)
        initialised = SUCCEEDED(OleInitialize(nullptr));
}

int AfxWinMain(HINSTANCE hInstance)
{
    CWinApp* app = AfxGetApp();
    if (!app)
        return 1;
    app->m_hInstance = hInstance;
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    if (app->InitInstance()) {
        MSG msg;
        while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    return app->ExitInstance();
}
