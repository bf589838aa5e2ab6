#include "CSplashDlg.h"

#include "res/resource.h"

namespace {

const int kWidth = 370, kHeight = 250;
const UINT_PTR kLifetimeTimer = 1;

}  // namespace

BOOL CSplashDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetWindowPos(m_hWnd, nullptr, 0, 0, kWidth, kHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    MoveWindow(GetDlgItem(IDC_SPLASH_PICTURE), 0, 0, kWidth, kHeight, TRUE);
    CenterWindow();
    UpdateWindow(m_hWnd);
    SetTimer(m_hWnd, kLifetimeTimer, kLifetimeMs, nullptr);
    return TRUE;
}

void CSplashDlg::Close()
{
    if (m_hWnd && IsWindow(m_hWnd))
        EndDialog(0);
}

bool CSplashDlg::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (msg == WM_TIMER && wParam == kLifetimeTimer) {
        KillTimer(m_hWnd, kLifetimeTimer);
        EndDialog(0);
        return true;
    }
    return CDialog::OnMessage(msg, wParam, lParam, result);
}
