// The main window's command table and the commands that belong to the
// window itself: help, hide to the tray, the lower panel, the language, the
// delay of every photo, the end of a row drag, device notices and exit.
#include "CSnapdiscDlg.h"

#include <dbt.h>

#include "CAboutDlg.h"
#include "CSnapdiscApp.h"
#include "framework/CPrompter.h"
#include "lang/CLang.h"
#include "res/resource.h"
#include "skin/CSkinElement.h"
#include "skin/OpenLink.h"

namespace {

const uint32_t kMaxDelay = 60000;
const int kPanelSteps = 118;  // the lower panel opens and closes 2 pixels a step
const int kPanelStep = 2;

using Command = void (CSnapdiscDlg::*)();

struct CommandEntry {
    SkinElementIndex element;
    Command command;
};

const CommandEntry kCommands[] = {
    {kElementHelp, &CSnapdiscDlg::OnHelp},          {kElementMin, &CSnapdiscDlg::OnMinimize},
    {kElementExit, &CSnapdiscDlg::OnExit},          {kElementNew, &CSnapdiscDlg::OnNewProject},
    {kElementLoad, &CSnapdiscDlg::OnOpenProject},   {kElementSave, &CSnapdiscDlg::OnSaveProject},
    {kElementStart, &CSnapdiscDlg::StartBurnChecks}, {kElementAbout, &CSnapdiscDlg::OnAbout},
    {kElementLanguage, &CSnapdiscDlg::OnLanguage},  {kElementSetup, &CSnapdiscDlg::OnSetup},
    {kElementFirst, &CSnapdiscDlg::OnMoveTop},      {kElementPrev, &CSnapdiscDlg::OnMoveUp},
    {kElementNext, &CSnapdiscDlg::OnMoveDown},      {kElementLast, &CSnapdiscDlg::OnMoveBottom},
    {kElementPlay, &CSnapdiscDlg::OnPlay},          {kElementStop, &CSnapdiscDlg::StopSlideshow},
    {kElementAdd, &CSnapdiscDlg::OnAddPhotos},      {kElementDel, &CSnapdiscDlg::OnRemoveSelected},
    {kElementDelAll, &CSnapdiscDlg::OnRemoveAll},   {kElementDelay, &CSnapdiscDlg::OnDelay},
};

CLang& Lang()
{
    return *g_pApp->GetLang();
}

}  // namespace

void CSnapdiscDlg::OnSkinCommand(int element)
{
    for (const CommandEntry& entry : kCommands)
        if (entry.element == element) {
            (this->*entry.command)();
            return;
        }
}

void CSnapdiscDlg::OnHelp()
{
    // A missing help file shows nothing. A program folder at a drive root
    // already ends with its separator.
    std::string folder = g_pApp->GetProgramFolder();
    if (folder.empty() || folder.back() != '\\')
        folder += '\\';
    OpenLink(folder + "Snapdisc.chm", SW_SHOW);
}

void CSnapdiscDlg::OnMinimize()
{
    ShowWindow(SW_HIDE);  // the resident tray icon brings it back
}

void CSnapdiscDlg::OnSetup()
{
    RECT r;
    GetWindowRect(m_hWnd, &r);
    int height = r.bottom - r.top;
    for (int step = 0; step < kPanelSteps; ++step) {
        height += m_bLowerPanelShown ? -kPanelStep : kPanelStep;
        SetWindowPos(m_hWnd, nullptr, r.left, r.top, r.right - r.left, height, SWP_NOZORDER | SWP_SHOWWINDOW);
        if (!m_bLowerPanelShown)
            RunPaintRoutine();
    }
    m_bLowerPanelShown = !m_bLowerPanelShown;
}

void CSnapdiscDlg::OnLanguage()
{
    POINT pt;
    GetCursorPos(&pt);
    UINT chosen = AfxGetPrompter().TrackPopupMenu(m_hLanguageMenu, TPM_RETURNCMD | TPM_NONOTIFY, pt.x, pt.y, m_hWnd);
    if (chosen == 0)
        return;
    int index = static_cast<int>(chosen) - 1;
    if (index == Lang().GetLangIndex())
        return;
    Lang().SetLangIndex(index);
    g_pApp->WriteProfileString(kSettingSection, kLangEntry, Lang().GetLang());
    Relabel();
}

void CSnapdiscDlg::Relabel()
{
    m_skin.UpdateToolTipTexts();
    SetColumnTitles(false);
    for (size_t i = 0; i < m_arrPhotos.size(); ++i)
        if (m_arrPhotos[i].m_strPath.empty())
            m_listPhotos.SetItemText(static_cast<int>(i), CKVSListCtrl::kColumnFile, LangText("NoFile"));
}

void CSnapdiscDlg::OnDelay()
{
    // An empty box is refused and the last delay stays; a number above the
    // range is taken, refused, and ends the command.
    UpdateData(TRUE);
    if (m_nDelay > kMaxDelay)
        return;
    if (MessageBox(LangText("SureToChangeDelayTime"), LangText("Confirm"),
                   MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    UpdateData(TRUE);
    std::string text = std::to_string(m_nDelay);
    g_pApp->WriteProfileString(kSettingSection, kDefaultDelayEntry, text.c_str());
    for (size_t i = 0; i < m_project.m_arrDelays.size(); ++i) {
        m_project.m_arrDelays[i] = m_nDelay;
        m_listPhotos.SetItemText(static_cast<int>(i), CKVSListCtrl::kColumnDelay, text);
    }
    m_project.m_bModified = 1;
}

void CSnapdiscDlg::OnDropCompleted()
{
    if (!m_listPhotos.m_bDragging)
        return;
    m_listPhotos.m_bDragging = 0;
    int s = m_listPhotos.m_nDragIndex, t = m_listPhotos.m_nDropIndex;
    if (s == -1 || t == -1) {
        ReleaseCapture();
        return;
    }
    bool reportView = (GetWindowLongA(m_listPhotos.m_hWnd, GWL_STYLE) & LVS_TYPEMASK) == LVS_REPORT;
    if (reportView && s != t) {
        // The photo travels by exchanges with its neighbours.
        int step = s < t ? 1 : -1;
        for (int i = s; i != t; i += step) {
            ExchangePhotos(i, i + step);
            m_listPhotos.SetItemState(i + step, LVIS_FOCUSED, LVIS_FOCUSED);
        }
        m_listPhotos.SelectFocusedOnly(s < t ? 0 : 1);
        m_project.m_bModified = 1;
    }
    InvalidateRect(m_listPhotos.m_hWnd, nullptr, TRUE);
    InvalidateRect(GetDlgItem(IDC_RECORDERS), nullptr, TRUE);
}

bool CSnapdiscDlg::OnDeviceChange(WPARAM event)
{
    if ((event != DBT_DEVICEARRIVAL && event != DBT_DEVICEREMOVECOMPLETE) || m_bBurning)
        return false;
    SelectRecorder();
    return true;
}

void CSnapdiscDlg::OnExit()
{
    if (!MayDropChanges(true))
        return;  // asked to save, and the save did not happen: stay open
    EndDialog(1);
    ReleaseRecorders();
}

void CSnapdiscDlg::OnAbout()
{
    CAboutDlg about(this);
    about.DoModal();
}
