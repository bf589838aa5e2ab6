#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "framework/CDialog.h"

class CBurner;
class CRecorderInfo;

// The modal dialog of a burn: the burn's text, erasing or burning, the
// elapsed time and the percentage, and Abort. Its timers run the steps: the
// erase of a rewritable disc (the erase always finishes; Abort pressed
// meanwhile means no burn follows), the tray closed again, then the burn job.
class CBurnProgressDlg : public CDialog {
public:
    // What the dialog needs of the window that runs it.
    class Host {
    public:
        virtual ~Host() = default;
        virtual void BurnStarting() = 0;  // the dialog is up: tray icons, burning flag
        virtual void BurnEnded() = 0;     // and it closes
        virtual CRecorderInfo* BurnRecorder() = 0;
        virtual int BurnSpeed() = 0;
        virtual void BurnPhotos(std::vector<std::string>& paths, std::vector<uint32_t>& delays) = 0;
    };

    CBurnProgressDlg(CWnd* pParent, Host& host, CBurner& burner);

    BOOL OnInitDialog() override;
    void OnOK() override;      // Abort
    void OnCancel() override {}  // Escape does nothing

    // Where the burn's list of photos is written: the user's temporary folder.
    static std::string ControlFilePath();

    std::string m_strInfo;  // set by the caller
    int m_nEraseMode = 0;   // 1: erase the disc first
    int m_nRange = 100;
    int m_nSeconds = 0, m_nMinutes = 0, m_nHours = 0;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void OnTimer(UINT_PTR id);
    void OnClockTick();
    void OnErase();
    void OnLoadTray();
    void RunBurnJob();
    void Close();

    Host& m_host;
    CBurner& m_burner;
    std::string m_strElapsedLabel, m_strPercentLabel, m_strElapsed, m_strPercent, m_strState;
    bool m_bErasing = false;
    bool m_bAbortAfterErase = false;
};
