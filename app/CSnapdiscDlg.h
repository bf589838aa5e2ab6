#pragma once
#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "burn/CBurnProgressDlg.h"
#include "framework/CDialog.h"
#include "photo/CKVSListCtrl.h"
#include "photo/CPhotoInfo.h"
#include "photo/CPreviewStatic.h"
#include "photo/CProjectInfo.h"
#include "skin/CSkinButtons.h"
#include "tray/CTrayNotifyIcon.h"

// The main window: a skinned, shaped dialog whose buttons are elements of
// its face. It holds the project, the photo records, the photo list and the
// preview, and runs every command. The photo records, the project's paths
// and delays and the list's rows always have one length and one order. It
// runs until its "exit" element; Enter, Escape and the Close command leave
// it open.
class CSnapdiscDlg : public CDialog, public CSkinButtons::Host, public CBurnProgressDlg::Host {
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
    void AfterSkinPress() override { DrawStatusText(); }
    bool IsLowerPanelShown() const override { return m_bLowerPanelShown; }

    // CBurnProgressDlg::Host
    void BurnStarting() override;
    void BurnEnded() override;
    CRecorderInfo* BurnRecorder() override { return m_pCurrentRecorder; }
    int BurnSpeed() override;
    void BurnPhotos(std::vector<std::string>& paths, std::vector<uint32_t>& delays) override;

    // What the other parts of the program use.
    void SetPictureCount(int count);
    void UpdateElementActivity();
    void StopSlideshow();
    // A photo at the end of the list: record, path, delay and row.
    void AppendPhoto(const std::string& path, uint32_t delay);
    // Saves the project (to its file, or asking for one); true when the
    // file now holds it. Cancelled or failed, nothing changes.
    bool SaveProject();
    // Exchanges two photos: records, paths, delays and the rows' texts.
    void ExchangePhotos(int a, int b);
    void DrawStatusText();

    // The window's own commands.
    void OnHelp();
    void OnMinimize();
    void OnExit();
    void OnSetup();
    void OnLanguage();
    void OnDelay();
    void OnPlay();
    void OnAbout();
    // Texts that follow the interface language: tool tips, column titles
    // and the rows of missing files.
    void Relabel();

    // Commands of the project, the list editing and the recorders.
    void OnNewProject();
    void OnOpenProject();
    void OnSaveProject();
    void OnAddPhotos();
    void OnRemoveSelected();
    void OnRemoveAll();
    void OnMoveTop();
    void OnMoveUp();
    void OnMoveDown();
    void OnMoveBottom();
    void OnPhotoSelectionChanged(const NMLISTVIEW& change);
    int RefreshRecorders();
    void SelectRecorder();
    void StartBurnChecks();
    void ReleaseRecorders();
    void UpdateStatusText();

    static const size_t kMaxPhotos = 1900;  // a project and a disc hold at most this many
    static const UINT kTrayMessage = WM_USER + 100;
    // WM_COPYDATA from a second copy: open the project it names.
    static const ULONG_PTR kOpenProjectData = 0x534E5A31;  // "SNZ1"
    static const UINT kOpenRequested = WM_APP + 2;
    static const UINT_PTR kSlideshowTimer = 1;
    static const UINT_PTR kMarqueeTimer = 2;

    CKVSListCtrl m_listPhotos;
    CPreviewStatic m_staticPreview;
    uint32_t m_nDelay = 0;  // the delay box: seconds for new photos
    CSkinButtons m_skin;
    bool m_bLowerPanelShown = true;
    NOTIFYICONDATAA m_nidResident;
    bool m_bResidentIconShown = false;
    CTrayNotifyIcon m_trayBurning;
    HICON m_hAnimationIcons[4] = {};
    CProjectInfo m_project;
    std::vector<CPhotoInfo> m_arrPhotos;
    int m_nSlideshowPosition = 0;
    uint32_t m_nSlideshowPeriodMs = 0;  // of the pending slideshow timer; 0 when stopped
    std::string m_strStatusText;
    size_t m_nMarqueeOffset = 0;
    bool m_bMarqueeRunning = false;
    bool m_bNoRecorder = false;
    bool m_bRecorderListLoaded = false;
    CRecorderInfo* m_pCurrentRecorder = nullptr;
    int m_nChosenSpeed = 0;
    std::string m_strBurnInfo;  // what the burn dialog shows of the project
    std::unique_ptr<CBurnProgressDlg> m_pBurnDialog;
    bool m_bBurning = false;
    int m_nPictureCount = 0;
    int m_nFilterIndex = 1;  // the add dialog's file type, as last chosen
    std::string m_strStartProject;  // opened once the window is up
    std::string m_strRequestedProject;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    int OnCreate() override;
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void OnPaint();
    void DrawPictureCount(HDC dc);
    void DrawStatusBand(HDC dc, const std::string& text, COLORREF colour);
    void OnTimer(UINT_PTR id);
    void OnSlideshowStep();
    void OnMarqueeStep();
    void OnDropCompleted();
    bool OnDeviceChange(WPARAM event);
    void OnTrayNotification(LPARAM mouseMessage);
    void AddResidentIcon();
    void DeleteResidentIcon();
    void SetColumnTitles(bool insert);
    void PlaceControls();
    void ShowPreview(const std::string& path);
    // A record and its row at the end of the list.
    void InsertPhotoRow(CPhotoInfo photo, uint32_t delay);
    // Removes every photo: records, paths, delays and rows.
    void ClearPhotos();
    // The unsaved-changes question before a command that would lose them:
    // true when the command may go on.
    bool MayDropChanges(bool exiting);
    bool WriteProject(const std::string& path, const std::string& title);
    // Opens a project file the way "load" does after its dialog.
    void OpenProjectFile(const std::string& path);
    bool OnCopyData(const COPYDATASTRUCT& data);
    // A refusal of the start command: the text of the key, stop icon.
    void BurnRefused(const char* key);
    void RunBurnDialog(int eraseMode);
    enum class Move { Top, Up, Down, Bottom };
    void MoveFocusedPhoto(Move move);

    HMENU m_hLanguageMenu = nullptr;
    HICON m_hBigIcon = nullptr;
    HICON m_hSmallIcon = nullptr;
    HFONT m_hTextFont = nullptr;
};
