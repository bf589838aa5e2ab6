// The project commands: new, open and save, and the unsaved-changes
// question that they and "exit" ask. Saving never loses the project on
// disk; a question answered Yes whose save is cancelled or fails abandons
// the command.
#include "CSnapdiscDlg.h"

#include <memory>

#include "CSnapdiscApp.h"
#include "framework/CException.h"
#include "framework/CFileDialog.h"
#include "framework/CPrompter.h"
#include "framework/FileHelpers.h"
#include "lang/CLang.h"
#include "photo/ProjectFile.h"

namespace {

const char kProjectFilter[] = "Recording Project (*.snz)|*.snz||";

}  // namespace

bool CSnapdiscDlg::MayDropChanges(bool exiting)
{
    if (!m_project.m_bModified)
        return true;
    if (MessageBox(LangText("SureToSave"), LangText("title"), MB_YESNO | MB_ICONQUESTION) == IDYES)
        return SaveProject();  // the user asked to keep the work: no save, no going on
    return exiting;            // No: "exit" ends without saving, "new" and "load" stop
}

void CSnapdiscDlg::OnNewProject()
{
    if (!MayDropChanges(false))
        return;
    StopSlideshow();
    ShowPreview("");
    m_project.Reset();
    ClearPhotos();
    DrawStatusText();
    UpdateElementActivity();
    SetPictureCount(0);
}

void CSnapdiscDlg::OnOpenProject()
{
    if (!MayDropChanges(false))
        return;
    CFileDialog dialog(true, nullptr, nullptr, OFN_FILEMUSTEXIST, kProjectFilter, this);
    if (dialog.DoModal() != IDOK) {
        UpdateElementActivity();
        return;
    }
    OpenProjectFile(dialog.GetPathName());
}

void CSnapdiscDlg::OpenProjectFile(const std::string& path)
{
    StopSlideshow();
    ShowPreview("");
    m_project.Reset();
    ClearPhotos();
    m_listPhotos.SetRedraw(FALSE);
    try {
        std::unique_ptr<CProjectInfo> loaded = ReadProjectFile(path);
        m_project = *loaded;
        // Only as many photos as the count and both lists allow.
        size_t count = m_project.GetRebuildCount();
        m_project.m_arrPaths.resize(count);
        m_project.m_arrDelays.resize(count);
        for (size_t i = 0; i < count; ++i)
            InsertPhotoRow(CPhotoInfo(m_project.m_arrPaths[i]), m_project.m_arrDelays[i]);
    } catch (const CException& e) {
        m_project.Reset();
        ClearPhotos();
        m_listPhotos.SetRedraw(TRUE);
        AfxReportException(e, m_hWnd);
    }
    m_listPhotos.SetRedraw(TRUE);
    DrawStatusText();
    SetPictureCount(static_cast<int>(m_arrPhotos.size()));
    UpdateElementActivity();
}

void CSnapdiscDlg::OnSaveProject()
{
    SaveProject();
    DrawStatusText();
    UpdateElementActivity();
}

bool CSnapdiscDlg::SaveProject()
{
    if (!m_project.m_strTitle.empty()) {
        if (!m_project.m_strPath.empty() && FileExists(m_project.m_strPath))
            return WriteProject(m_project.m_strPath, m_project.m_strTitle);
        // The remembered file is gone: ask for a new one.
        m_project.m_strTitle.clear();
        m_project.m_strPath.clear();
    }
    CFileDialog dialog(false, "snz", nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, kProjectFilter, this);
    if (dialog.DoModal() != IDOK)
        return false;
    return WriteProject(dialog.GetPathName(), dialog.GetFileTitle());
}

bool CSnapdiscDlg::WriteProject(const std::string& path, const std::string& title)
{
    UpdateData(TRUE);  // a refused delay box is told; the save goes on
    const std::string oldTitle = m_project.m_strTitle, oldPath = m_project.m_strPath;
    const int32_t oldCount = m_project.m_nPhotoCount, oldTotal = m_project.m_nTotalKB;
    const int32_t oldModified = m_project.m_bModified;
    m_project.m_strTitle = title;
    m_project.m_strPath = path;
    m_project.PrepareForSave();
    try {
        WriteProjectFile(path, m_project);
        return true;
    } catch (const CException& e) {
        // The file on disk is as it was, and so is the project.
        m_project.m_strTitle = oldTitle;
        m_project.m_strPath = oldPath;
        m_project.m_nPhotoCount = oldCount;
        m_project.m_nTotalKB = oldTotal;
        m_project.m_bModified = oldModified;
        AfxReportException(e, m_hWnd);
        return false;
    }
}
