#pragma once
#include "framework/CDialog.h"

// The start-up picture, shown modelessly over the main window while it
// initialises. It ends itself after ten seconds if nobody ends it sooner.
class CSplashDlg : public CDialog {
public:
    explicit CSplashDlg(CWnd* pParent) : CDialog(kTemplate, pParent) {}

    BOOL OnInitDialog() override;
    // Ends the dialog if it is still there.
    void Close();

    static const UINT kTemplate = 174;
    static const UINT kLifetimeMs = 10000;

protected:
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
};
