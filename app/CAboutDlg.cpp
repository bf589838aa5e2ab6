#include "CAboutDlg.h"

#include "framework/CDataExchange.h"
#include "res/resource.h"

const char CAboutDlg::kWebAddress[] = "https://www.larkfield.example/snapdisc";

CAboutDlg::CAboutDlg(CWnd* pParent) : CDialog(IDD_ABOUTBOX, pParent) {}

void CAboutDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_WEB_LINK, m_link);
}

BOOL CAboutDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_link.SetLinkUrl(kWebAddress);
    SetWindowText("About Snapdisc");  // the same in every interface language
    UpdateData(FALSE);
    return TRUE;
}
