#include "CDialog.h"

#include "CDataExchange.h"
#include "CPrompter.h"
#include "CWinApp.h"

namespace {

// The dialog being created, bound to its window at the first message the
// window receives (WM_SETFONT arrives before WM_INITDIALOG; a dialog procedure
// never sees WM_CREATE, so OnCreate runs at the binding).
thread_local CDialog* t_pCreating = nullptr;

bool ReturnsResultDirectly(UINT msg)
{
    switch (msg) {
    case WM_INITDIALOG:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
        return true;
    default:
        return false;
    }
}

}  // namespace

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd)
{
}

CDialog::~CDialog()
{
    if (m_hWnd && IsWindow(m_hWnd)) {
        SetWindowLongPtrA(m_hWnd, DWLP_USER, 0);
        DestroyWindow(m_hWnd);
    }
}

HWND CDialog::CreateFromTemplate(HWND owner)
{
    CWinApp* app = AfxGetApp();
    HINSTANCE instance = app ? app->m_hInstance : GetModuleHandleA(nullptr);
    CDialog* previous = t_pCreating;
    t_pCreating = this;
    m_bCreateRefused = false;
    HWND hWnd = CreateDialogParamA(instance, MAKEINTRESOURCEA(m_nIDTemplate), owner, DialogProc,
                                   reinterpret_cast<LPARAM>(this));
    t_pCreating = previous;
    return hWnd && IsWindow(hWnd) ? hWnd : nullptr;
}

BOOL CDialog::Create(CWnd* pParentWnd)
{
    if (pParentWnd)
        m_pParentWnd = pParentWnd;
    m_bModal = false;
    return CreateFromTemplate(m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr) != nullptr;
}

INT_PTR CDialog::DoModal()
{
    HWND owner = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    m_bModal = true;
    m_bEnded = false;
    m_nModalResult = -1;
    HWND hWnd = CreateFromTemplate(owner);
    if (!hWnd)
        return -1;
    bool ownerWasEnabled = owner && IsWindowEnabled(owner);
    if (ownerWasEnabled)
        EnableWindow(owner, FALSE);
    if (!m_bEnded && !IsWindowVisible(hWnd))
        ::ShowWindow(hWnd, SW_SHOWNORMAL);

    MSG msg;
    while (!m_bEnded) {
        BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) {  // WM_QUIT: end this loop and pass the quit on
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (got < 0)
            break;
        if (!WalkPreTranslateTree(&msg) && !IsDialogMessageA(hWnd, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }

    if (ownerWasEnabled) {
        EnableWindow(owner, TRUE);
        SetActiveWindow(owner);
    }
    if (m_hWnd && IsWindow(m_hWnd))
        DestroyWindow(m_hWnd);
    m_hWnd = nullptr;
    m_bModal = false;
    return m_nModalResult;
}

void CDialog::EndDialog(int nResult)
{
    if (m_bModal) {
        m_nModalResult = nResult;
        m_bEnded = true;
        if (m_hWnd)
            ::ShowWindow(m_hWnd, SW_HIDE);
        PostMessageA(nullptr, WM_NULL, 0, 0);  // wake the modal loop
    } else if (m_hWnd) {
        DestroyWindow(m_hWnd);
    }
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate != FALSE);
    DoDataExchange(&dx);
    return dx.m_bFailed ? FALSE : TRUE;
}

void CDialog::DoDataExchange(CDataExchange*)
{
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    if (UpdateData(TRUE))
        EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

BOOL CDialog::PreTranslateMessage(MSG*)
{
    return FALSE;
}

BOOL CDialog::WalkPreTranslateTree(MSG* pMsg)
{
    for (HWND h = pMsg->hwnd; h && h != m_hWnd; h = GetParent(h)) {
        CWnd* window = FromHandlePermanent(h);
        if (window && window->PreTranslateMessage(pMsg))
            return TRUE;
    }
    return PreTranslateMessage(pMsg);
}

bool CDialog::OnMessage(UINT msg, WPARAM wParam, LPARAM, LRESULT& result)
{
    switch (msg) {
    case WM_INITDIALOG:
        result = OnInitDialog();
        return true;
    case WM_COMMAND:
        if (HIWORD(wParam) != BN_CLICKED)
            return false;
        if (LOWORD(wParam) == IDOK) {
            OnOK();
            return true;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            OnCancel();
            return true;
        }
        return false;
    default:
        return false;
    }
}

INT_PTR CDialog::Dispatch(UINT msg, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (!DispatchSafely(msg, wParam, lParam, result))
        return FALSE;
    if (ReturnsResultDirectly(msg))
        return static_cast<INT_PTR>(result);
    SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, result);
    return TRUE;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    CDialog* dialog = reinterpret_cast<CDialog*>(GetWindowLongPtrA(hWnd, DWLP_USER));
    if (!dialog) {
        dialog = (msg == WM_INITDIALOG) ? reinterpret_cast<CDialog*>(lParam) : t_pCreating;
        if (!dialog)
            return FALSE;
        dialog->m_hWnd = hWnd;
        SetWindowLongPtrA(hWnd, DWLP_USER, reinterpret_cast<LONG_PTR>(dialog));
        dialog->m_bCreateRefused = dialog->OnCreate() == -1;
    }
    if (dialog->m_bCreateRefused && msg != WM_NCDESTROY) {
        if (msg == WM_INITDIALOG)
            DestroyWindow(hWnd);
        return FALSE;
    }
    INT_PTR answer = dialog->Dispatch(msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrA(hWnd, DWLP_USER, 0);
        dialog->m_hWnd = nullptr;
    }
    return answer;
}
