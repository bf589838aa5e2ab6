#include "CSnapdiscDlg.h"

#include "CSnapdiscApp.h"
#include "framework/CDataExchange.h"
#include "lang/CLang.h"
#include "res/resource.h"

namespace {

const uint32_t kMaxDelay = 60000;

}  // namespace

uint32_t DecimalSettingValue(const std::string& text)
{
    uint64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            break;
        value = value * 10 + static_cast<uint64_t>(c - '0');
        if (value > 0xFFFFFFFFull)
            return 0xFFFFFFFFu;
    }
    return static_cast<uint32_t>(value);
}

CSnapdiscDlg::CSnapdiscDlg(CWnd* pParent) : CDialog(IDD_SNAPDISC_DIALOG, pParent)
{
}

void CSnapdiscDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_DELAY_EDIT, m_nDelay);
    DDV_MinMaxUInt(pDX, m_nDelay, 0, kMaxDelay);
}

BOOL CSnapdiscDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    CLang* lang = g_pApp->GetLang();
    SetWindowText(lang->GetText("title"));
    ::SetWindowTextA(GetDlgItem(IDC_EXIT), lang->GetText("exit"));
    m_nDelay = DecimalSettingValue(g_pApp->GetProfileString(kSettingSection, kDefaultDelayEntry, ""));
    UpdateData(FALSE);
    return TRUE;
}

void CSnapdiscDlg::OnExit()
{
    EndDialog(1);
}

bool CSnapdiscDlg::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (msg) {
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_EXIT && HIWORD(wParam) == BN_CLICKED) {
            OnExit();
            return true;
        }
        break;
    }
    return CDialog::OnMessage(msg, wParam, lParam, result);
}
