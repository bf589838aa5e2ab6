#include "CBurnProgressDlg.h"

#include <commctrl.h>

#include "CBurner.h"
#include "ControlFile.h"
#include "ProgressTexts.h"
#include "framework/CDataExchange.h"
#include "framework/CPrompter.h"
#include "lang/CLang.h"
#include "res/resource.h"

namespace {

const UINT_PTR kBurnTimer = 1, kClockTimer = 2, kEraseTimer = 3, kTrayTimer = 4;
const UINT kStepMs = 100, kClockMs = 1000;


}  // namespace

CBurnProgressDlg::CBurnProgressDlg(CWnd* pParent, Host& host, CBurner& burner)
    : CDialog(IDD_BURN_PROGRESS, pParent), m_host(host), m_burner(burner)
{
}

std::string CBurnProgressDlg::ControlFilePath()
{
    char folder[MAX_PATH + 1] = "";
    DWORD length = GetTempPathA(sizeof folder, folder);
    std::string path = length > 0 && length < sizeof folder ? folder : ".\\";
    if (path.back() != '\\')
        path += '\\';
    return path + "tmp.ctl";
}

void CBurnProgressDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_ELAPSED_LABEL, m_strElapsedLabel);
    DDX_Text(pDX, IDC_PERCENT_LABEL, m_strPercentLabel);
    DDX_Text(pDX, IDC_ELAPSED_VALUE, m_strElapsed);
    DDX_Text(pDX, IDC_PERCENT_VALUE, m_strPercent);
    DDX_Text(pDX, IDC_BURN_INFO, m_strInfo);
    DDX_Text(pDX, IDC_BURN_STATE, m_strState);
}

BOOL CBurnProgressDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    CenterWindow();
    m_host.BurnStarting();
    SetWindowText(LangText("BurnTitle"));
    HWND bar = GetDlgItem(IDC_PROGRESS);
    m_burner.m_hProgressTarget = bar;
    PBRANGE range = {};
    ::SendMessageA(bar, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    m_nRange = range.iHigh - range.iLow;
    m_strElapsedLabel = LangText("Elapsed Time");
    m_strPercentLabel = LangText("Percent");
    m_strElapsed.clear();
    m_strPercent.clear();
    m_nSeconds = m_nMinutes = m_nHours = 0;
    SetDlgItemTextA(m_hWnd, IDOK, LangText("Abort").c_str());
    m_bAbortAfterErase = false;
    m_bErasing = m_nEraseMode == 1;
    if (m_bErasing) {
        m_strState = LangText("Erasing");
        SetTimer(m_hWnd, kEraseTimer, kStepMs, nullptr);
    } else {
        SetTimer(m_hWnd, kBurnTimer, kStepMs, nullptr);
        SetTimer(m_hWnd, kClockTimer, kClockMs, nullptr);
    }
    UpdateData(FALSE);
    return TRUE;
}

void CBurnProgressDlg::OnOK()
{
    // Stopping an erase half way can ruin the disc: it finishes, and then
    // no burn follows.
    if (m_bErasing)
        m_bAbortAfterErase = true;
    else
        m_burner.m_bAbort = 1;
}

bool CBurnProgressDlg::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (msg == WM_TIMER)
        OnTimer(wParam);
    return CDialog::OnMessage(msg, wParam, lParam, result);
}

void CBurnProgressDlg::OnTimer(UINT_PTR id)
{
    switch (id) {
    case kBurnTimer:
        m_strState = LangText("Burning");
        UpdateData(FALSE);
        KillTimer(m_hWnd, kBurnTimer);
        RunBurnJob();
        break;
    case kClockTimer:
        OnClockTick();
        break;
    case kEraseTimer:
        OnErase();
        break;
    case kTrayTimer:
        OnLoadTray();
        break;
    default:
        break;
    }
}

void CBurnProgressDlg::OnClockTick()
{
    if (++m_nSeconds == 60) {
        m_nSeconds = 0;
        if (++m_nMinutes == 60) {
            m_nMinutes = 0;
            ++m_nHours;
        }
    }
    m_strElapsed = ElapsedText(m_nHours, m_nMinutes, m_nSeconds);
    int position = static_cast<int>(::SendMessageA(GetDlgItem(IDC_PROGRESS), PBM_GETPOS, 0, 0));
    m_strPercent = PercentText(position, m_nRange);
    UpdateData(FALSE);
}

void CBurnProgressDlg::OnErase()
{
    KillTimer(m_hWnd, kEraseTimer);
    HWND bar = GetDlgItem(IDC_PROGRESS);
    ::SendMessageA(bar, PBM_SETPOS, 10, 0);
    if (CRecorderInfo* recorder = m_host.BurnRecorder())
        m_burner.EraseDisc(*recorder, true);
    ::SendMessageA(bar, PBM_SETPOS, 100, 0);
    ::SendMessageA(bar, PBM_SETPOS, 0, 0);
    m_bErasing = false;
    if (m_bAbortAfterErase) {
        Close();
        return;
    }
    SetTimer(m_hWnd, kTrayTimer, kStepMs, nullptr);
}

void CBurnProgressDlg::OnLoadTray()
{
    KillTimer(m_hWnd, kTrayTimer);
    if (CRecorderInfo* recorder = m_host.BurnRecorder())
        m_burner.LoadTray(*recorder, false);
    SetTimer(m_hWnd, kBurnTimer, kStepMs, nullptr);
    SetTimer(m_hWnd, kClockTimer, kClockMs, nullptr);
}

void CBurnProgressDlg::RunBurnJob()
{
    m_burner.m_bAbort = 0;
    CRecorderInfo* recorder = m_host.BurnRecorder();
    int speed = m_host.BurnSpeed();
    int result = -1;
    if (recorder) {
        m_burner.QueryMedia(*recorder);
        std::vector<std::string> paths;
        std::vector<uint32_t> delays;
        m_host.BurnPhotos(paths, delays);
        const std::string controlFile = ControlFilePath();
        m_burner.m_strBurnError.clear();
        if (WriteControlFile(controlFile, paths, delays))
            result = m_burner.BurnVideoCd(*recorder, controlFile, "", 0, speed, 0);
        else
            m_burner.m_strBurnError = LangText("NoControlFile");
    }
    KillTimer(m_hWnd, kClockTimer);
    if (result == 0) {
        std::string text = LangText("SuccessToBurn");
        if (!m_burner.m_strBurnWarnings.empty())
            text += "\n\n" + LangText("BurnWarnings") + "\n" + m_burner.m_strBurnWarnings;
        MessageBox(text, LangText("title"), MB_OK | MB_ICONINFORMATION);
    } else if (!m_burner.m_strBurnError.empty()) {
        MessageBox(m_burner.m_strBurnError, LangText("title"), MB_OK | MB_ICONSTOP);
    }
    Close();
}

void CBurnProgressDlg::Close()
{
    KillTimer(m_hWnd, kClockTimer);
    m_burner.m_hProgressTarget = nullptr;
    EndDialog(1);
    m_host.BurnEnded();
}
