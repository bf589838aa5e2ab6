#pragma once
#include <cstdint>
#include <string>

#include "framework/CDialog.h"
#include "skin/CSkinButtons.h"

// The main window: a skinned, shaped dialog whose buttons are elements of
// its face. It runs until its "exit" element; Enter, Escape and the Close
// command leave it open.
class CSnapdiscDlg : public CDialog, public CSkinButtons::Host {
public:
    explicit CSnapdiscDlg(CWnd* pParent = nullptr);
    ~CSnapdiscDlg() override;

    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}
    BOOL PreTranslateMessage(MSG* pMsg) override;

    // CSkinButtons::Host
    void OnSkinCommand(int element) override;
    void RunPaintRoutine() override;
    bool IsLowerPanelShown() const override { return m_bLowerPanelShown; }

    void OnExit();
    void OnSetup();
    void OnLanguage();
    // Texts that follow the interface language: the tool tips.
    void Relabel();

    uint32_t m_nDelay = 0;  // the delay box: seconds for new photos
    bool m_bLowerPanelShown = true;
    CSkinButtons m_skin;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void OnPaint();
    void OnDrawPreview(const DRAWITEMSTRUCT& item);
    void PlaceControl(int id, const char* element);

    HMENU m_hLanguageMenu = nullptr;
    HICON m_hBigIcon = nullptr;
    HICON m_hSmallIcon = nullptr;
};

// Decimal conversion of a setting: leading digits, 0 when there are none.
uint32_t DecimalSettingValue(const std::string& text);
