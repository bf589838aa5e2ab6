#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

class CDialog;
class CWnd;

// One exchange of data between a dialog's controls and its members. After
// the first refused value the remaining exchanges are skipped.
class CDataExchange {
public:
    CDataExchange(CDialog* pDlgWnd, bool bSaveAndValidate) : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}

    HWND PrepareCtrl(int nIDC);
    // Refuses the last prepared control: focus and select its text.
    void Fail();

    bool m_bSaveAndValidate;
    bool m_bFailed = false;
    CDialog* m_pDlgWnd;
    HWND m_hWndLastControl = nullptr;
};

// Subclasses the control with the object, once.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& control);
// A control's text.
void DDX_Text(CDataExchange* pDX, int nIDC, std::string& value);
// An unsigned number in an edit control. Saving refuses anything but
// digits (surrounding blanks allowed) and values beyond 32 bits.
void DDX_Text(CDataExchange* pDX, int nIDC, uint32_t& value);
// Saving refuses a value outside min..max with the standard range message.
void DDV_MinMaxUInt(CDataExchange* pDX, uint32_t value, uint32_t minVal, uint32_t maxVal);

// The standard messages, also for tests.
const char* AfxNumberMessage();
std::string AfxRangeMessage(uint32_t minVal, uint32_t maxVal);
