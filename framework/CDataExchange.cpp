#include "CDataExchange.h"

#include <cstdio>

#include "CDialog.h"
#include "CPrompter.h"
#include "UnsignedText.h"

const char* AfxNumberMessage()
{
    return "Please enter a whole number.";
}

std::string AfxRangeMessage(uint32_t minVal, uint32_t maxVal)
{
    char text[96];
    std::snprintf(text, sizeof text, "Please enter a whole number from %u to %u.", static_cast<unsigned>(minVal),
                  static_cast<unsigned>(maxVal));
    return text;
}

HWND CDataExchange::PrepareCtrl(int nIDC)
{
    m_hWndLastControl = m_pDlgWnd->GetDlgItem(nIDC);
    return m_hWndLastControl;
}

void CDataExchange::Fail()
{
    if (m_hWndLastControl) {
        SetFocus(m_hWndLastControl);
        SendMessageA(m_hWndLastControl, EM_SETSEL, 0, -1);
    }
    m_bFailed = true;
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& control)
{
    if (!control.m_hWnd)
        control.SubclassWindow(pDX->PrepareCtrl(nIDC));
}

void DDX_Text(CDataExchange* pDX, int nIDC, std::string& value)
{
    if (pDX->m_bFailed)
        return;
    HWND control = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = CWnd::GetWindowTextOf(control);
    else
        SetWindowTextA(control, value.c_str());
}

void DDX_Text(CDataExchange* pDX, int nIDC, uint32_t& value)
{
    if (pDX->m_bFailed)
        return;
    HWND control = pDX->PrepareCtrl(nIDC);
    if (!pDX->m_bSaveAndValidate) {
        char text[16];
        std::snprintf(text, sizeof text, "%u", static_cast<unsigned>(value));
        SetWindowTextA(control, text);
        return;
    }
    uint32_t parsed;
    if (!ParseUnsignedText(CWnd::GetWindowTextOf(control), parsed)) {
        AfxMessageBox(AfxNumberMessage(), MB_OK | MB_ICONEXCLAMATION, pDX->m_pDlgWnd->m_hWnd);
        pDX->Fail();
        return;
    }
    value = parsed;
}

void DDV_MinMaxUInt(CDataExchange* pDX, uint32_t value, uint32_t minVal, uint32_t maxVal)
{
    if (pDX->m_bFailed || !pDX->m_bSaveAndValidate)
        return;
    if (value < minVal || value > maxVal) {
        AfxMessageBox(AfxRangeMessage(minVal, maxVal), MB_OK | MB_ICONEXCLAMATION, pDX->m_pDlgWnd->m_hWnd);
        pDX->Fail();
    }
}
