#pragma once
#include <windows.h>

#include <string>

class CException;
class CFileDialog;

// The one seam through which the program asks the user anything: message
// boxes, file dialogs and pop-up menu choices. Tests install their own
// prompter to answer and to see what was asked.
class CPrompter {
public:
    virtual ~CPrompter() = default;
    // Returns the button chosen (IDOK, IDYES, IDNO, ...).
    virtual int MessageBox(HWND owner, const std::string& text, const std::string& caption, UINT type) = 0;
    // Fills the dialog's chosen paths; false when the user cancelled.
    virtual bool FileDialog(HWND owner, CFileDialog& dialog) = 0;
    // The command chosen from a pop-up menu (with TPM_RETURNCMD), 0 for none.
    virtual UINT TrackPopupMenu(HMENU menu, UINT flags, int x, int y, HWND owner) = 0;
};

CPrompter& AfxGetPrompter();
// Installs a prompter (null restores the real one); returns the previous one.
CPrompter* AfxSetPrompter(CPrompter* prompter);

// A message box captioned with the application's name.
int AfxMessageBox(const std::string& text, UINT type = MB_OK, HWND owner = nullptr);
// Shows an exception's standard message.
void AfxReportException(const CException& e, HWND owner = nullptr);
