#pragma once
#include <windows.h>

#include <string>

class CWnd;

// The process-wide application object: start-up and exit hooks, the module
// instance and the per-user profile under
// HKEY_CURRENT_USER\Software\<company>\<application>\<section>.
class CWinApp {
public:
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // Returns true to run a message loop of the framework's own; an
    // application that runs its main window modally returns false.
    virtual BOOL InitInstance();
    virtual int ExitInstance();

    // Directs the profile to HKEY_CURRENT_USER\Software\<company>\<app name>.
    void SetRegistryKey(const char* company);
    // A string of the profile, or the default when the value is missing or
    // is not a string.
    std::string GetProfileString(const char* section, const char* entry, const char* defaultValue = "");
    // Stores a string, creating the keys as needed; a null value removes the entry.
    BOOL WriteProfileString(const char* section, const char* entry, const char* value);

    HINSTANCE m_hInstance;
    std::string m_strAppName;  // the program file's base name
    std::string m_strRegistryKey;
    CWnd* m_pMainWnd = nullptr;

private:
    std::string SectionKeyPath(const char* section) const;
};

CWinApp* AfxGetApp();

// Entry of a program built on the framework: start-up, then exit.
int AfxWinMain(HINSTANCE hInstance);

// Dispatches one pending message, if any; false when the application is
// quitting (the quit message is put back for the loop that ends).
BOOL AfxPumpMessage();

// Makes OLE available to the program (pictures are decoded through it).
void AfxEnableControlContainer();
