#pragma once
#include "framework/CDialog.h"
#include "skin/CLinkLabel.h"

// The about box: the program's name and version, the maker's notice and a
// link to the maker's web site.
class CAboutDlg : public CDialog {
public:
    explicit CAboutDlg(CWnd* pParent = nullptr);
    BOOL OnInitDialog() override;

    static const char kWebAddress[];
    CLinkLabel m_link;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};
