#pragma once
#include <memory>
#include <string>
#include <vector>

#include "burn/CBurner.h"
#include "burn/CRecorderInfo.h"
#include "framework/CWinApp.h"

class CLang;

// The application object: settles the program folder, brings up the
// language tables and the settings, refuses a second copy and runs the
// main window modally. Every other part reaches it through g_pApp.
class CSnapdiscApp : public CWinApp {
public:
    CSnapdiscApp();
    ~CSnapdiscApp() override;

    BOOL InitInstance() override;
    int ExitInstance() override;

    // Start-up up to and including the settings, for the program file at
    // modulePath: program folder, language tables, "lang" and
    // "default delay time".
    void StartUp(const std::string& modulePath);
    // Looks for a running copy by its caption; when found, brings it forward
    // (restoring it if minimised), hands it the project to open, if any, and
    // returns true.
    bool BringRunningCopyForward(const std::string& project = std::string());

    const std::string& GetModulePath() const { return m_strModulePath; }
    const std::string& GetProgramFolder() const { return m_strProgramFolder; }
    CLang* GetLang() const { return m_pLang; }

    CBurner m_burner;
    std::vector<std::unique_ptr<CRecorderInfo>> m_arrRecorders;  // in the engine's order

private:
    std::string m_strStartProject;  // the project named on the command line
    std::string m_strModulePath;
    std::string m_strProgramFolder;
    CLang* m_pLang = nullptr;
};

extern CSnapdiscApp* g_pApp;

// Settings: section and entries of the per-user profile.
extern const char kSettingSection[];
extern const char kLangEntry[];
extern const char kDefaultDelayEntry[];
