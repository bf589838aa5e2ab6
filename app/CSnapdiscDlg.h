#pragma once
#include <cstdint>
#include <string>

#include "framework/CDialog.h"

// The main window. It runs until its exit command; Enter, Escape and the
// Close command leave it open.
class CSnapdiscDlg : public CDialog {
public:
    explicit CSnapdiscDlg(CWnd* pParent = nullptr);

    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}

    void OnExit();

    uint32_t m_nDelay = 0;  // the delay box: seconds for new photos

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
};

// Decimal conversion of a setting: leading digits, 0 when there are none.
uint32_t DecimalSettingValue(const std::string& text);
