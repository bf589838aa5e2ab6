#pragma once
#include "CWnd.h"

class CDataExchange;

// A dialog made from a resource template, run modally (DoModal, with a
// message loop of its own that lets PreTranslateMessage see every message)
// or modelessly (Create). Messages reach OnMessage: a derived dialog
// overrides it with one switch of one-line cases and hands the rest to its
// base. Notifications of subclassed controls are first reflected to them.
// No exception leaves the dialog procedure: framework exceptions are shown
// with their standard message.
class CDialog : public CWnd {
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    ~CDialog() override;

    INT_PTR DoModal();
    BOOL Create(CWnd* pParentWnd = nullptr);
    // Ends a modal dialog with a result, or destroys a modeless one.
    void EndDialog(int nResult);
    // Moves data between the controls and the members (true: controls to
    // members, with validation). False when a value was refused; the user
    // has then been told and the focus is on the control concerned.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    BOOL PreTranslateMessage(MSG* pMsg) override;

    UINT m_nIDTemplate;

protected:
    virtual void DoDataExchange(CDataExchange* pDX);
    // Runs once the window exists, before its controls and OnInitDialog;
    // -1 refuses the creation (the window is destroyed, DoModal returns -1
    // and Create false).
    virtual int OnCreate() { return 0; }
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    CWnd* m_pParentWnd;

private:
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
    INT_PTR Dispatch(UINT msg, WPARAM wParam, LPARAM lParam);
    // Offers a message to the windows from its target up to this dialog.
    BOOL WalkPreTranslateTree(MSG* pMsg);
    HWND CreateFromTemplate(HWND owner);

    bool m_bModal = false;
    bool m_bEnded = false;
    bool m_bCreateRefused = false;
    INT_PTR m_nModalResult = -1;
};
