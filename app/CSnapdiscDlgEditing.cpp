// The commands that edit the photo list: add, remove the selected photos,
// remove all, the four moves, and the selection that points the preview at
// a photo. Records, paths, delays and rows change in step.
#include "CSnapdiscDlg.h"

#include <vector>

#include "CSnapdiscApp.h"
#include "framework/CFileDialog.h"
#include "lang/CLang.h"

namespace {

const size_t kNameBufferBytes = 36000;
const char kPhotoFilter[] =
    "All Support files (*.bmp *.jpg)|*.bmp;*.jpg|JPG files (*.jpg)|*.jpg|BMP files (*.bmp)|*.bmp||";

}  // namespace

void CSnapdiscDlg::OnAddPhotos()
{
    StopSlideshow();
    CFileDialog dialog(true, nullptr, nullptr, OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST, kPhotoFilter, this);
    dialog.m_nFilterIndex = m_nFilterIndex;
    dialog.m_nMaxFile = kNameBufferBytes;
    if (dialog.DoModal() == IDOK) {
        m_nFilterIndex = dialog.m_nFilterIndex;
        m_listPhotos.SetRedraw(FALSE);
        for (const std::string& path : dialog.GetPathNames()) {
            if (m_arrPhotos.size() >= kMaxPhotos) {
                m_listPhotos.SetRedraw(TRUE);
                MessageBox(LangText("FileSize"), LangText("title"), MB_OK | MB_ICONQUESTION);
                break;
            }
            AppendPhoto(path, m_nDelay);
        }
        m_listPhotos.SetRedraw(TRUE);
        m_project.m_bModified = 1;
        SetPictureCount(static_cast<int>(m_arrPhotos.size()));
    } else if (dialog.m_bBufferTooSmall) {
        // The dialog refuses such a choice; say so rather than add nothing silently.
        MessageBox(LangText("TooManyFiles"), LangText("Warning"), MB_OK | MB_ICONEXCLAMATION);
    }
    UpdateElementActivity();
}

void CSnapdiscDlg::OnRemoveSelected()
{
    StopSlideshow();
    std::vector<int> selected;
    for (int row = m_listPhotos.GetNextItem(-1, LVNI_SELECTED); row != -1;
         row = m_listPhotos.GetNextItem(row, LVNI_SELECTED))
        selected.push_back(row);
    if (selected.empty()) {
        UpdateElementActivity();
        return;
    }
    const int below = m_listPhotos.GetItemCount() - selected.back() - 1;  // rows after the last selected one
    for (auto it = selected.rbegin(); it != selected.rend(); ++it) {
        m_listPhotos.DeleteItem(*it);
        auto at = static_cast<size_t>(*it);
        m_arrPhotos.erase(m_arrPhotos.begin() + static_cast<std::ptrdiff_t>(at));
        m_project.m_arrPaths.erase(m_project.m_arrPaths.begin() + static_cast<std::ptrdiff_t>(at));
        m_project.m_arrDelays.erase(m_project.m_arrDelays.begin() + static_cast<std::ptrdiff_t>(at));
    }
    // The row that followed the removed block, or the new last row, is selected.
    const int remaining = m_listPhotos.GetItemCount();
    if (remaining > 0)
        m_listPhotos.SetItemState(below ? remaining - below : remaining - 1, LVIS_SELECTED, LVIS_SELECTED);
    else
        ShowPreview("");
    m_project.m_bModified = 1;
    SetPictureCount(remaining);
    UpdateElementActivity();
}

void CSnapdiscDlg::OnRemoveAll()
{
    StopSlideshow();
    if (MessageBox(LangText("SureToClearAll"), LangText("Confirm"), MB_YESNO | MB_ICONQUESTION) ==
        IDYES) {
        if (!m_arrPhotos.empty()) {
            ClearPhotos();
            ShowPreview("");
            m_project.m_bModified = 1;
        }
        SetPictureCount(0);
    }
    UpdateElementActivity();
}

void CSnapdiscDlg::OnMoveTop()
{
    MoveFocusedPhoto(Move::Top);
}

void CSnapdiscDlg::OnMoveUp()
{
    MoveFocusedPhoto(Move::Up);
}

void CSnapdiscDlg::OnMoveDown()
{
    MoveFocusedPhoto(Move::Down);
}

void CSnapdiscDlg::OnMoveBottom()
{
    MoveFocusedPhoto(Move::Bottom);
}

void CSnapdiscDlg::MoveFocusedPhoto(Move move)
{
    StopSlideshow();
    const int count = m_listPhotos.GetItemCount();
    int focused = -1;
    for (int row = 0; row < count && focused == -1; ++row)
        if (m_listPhotos.GetItemState(row, LVIS_FOCUSED))
            focused = row;
    const bool towardsTop = move == Move::Top || move == Move::Up;
    if (focused == -1) {
        MessageBox(LangText("select photo"), LangText("Warning"), MB_OK);
    } else {
        // How far the photo goes; none when it already is at that end.
        int target = move == Move::Top    ? 0
                     : move == Move::Up   ? focused - 1
                     : move == Move::Down ? focused + 1
                                          : count - 1;
        if (target >= 0 && target < count && target != focused) {
            int step = towardsTop ? -1 : 1;
            for (int i = focused; i != target; i += step) {
                ExchangePhotos(i, i + step);
                m_listPhotos.SetItemState(i + step, LVIS_FOCUSED, LVIS_FOCUSED);
            }
            m_project.m_bModified = 1;
        }
    }
    m_listPhotos.SelectFocusedOnly(towardsTop ? 1 : 0);
}

void CSnapdiscDlg::OnPhotoSelectionChanged(const NMLISTVIEW& change)
{
    if (!(change.uChanged & LVIF_STATE))
        return;  // a text changed, not the selection
    StopSlideshow();
    // Exactly selected, or selected and focused: a row the user picked. A
    // row selected and drop-highlighted at once is a moved photo, already shown.
    bool picked = change.uNewState == LVIS_SELECTED || change.uNewState == (LVIS_SELECTED | LVIS_FOCUSED);
    if (change.iItem >= 0 && static_cast<size_t>(change.iItem) < m_arrPhotos.size() && picked)
        ShowPreview(m_arrPhotos[static_cast<size_t>(change.iItem)].m_strPath);
}
