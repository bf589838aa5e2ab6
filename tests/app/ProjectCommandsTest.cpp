// New, open and save under Wine, with the prompter answering the dialogs
// and questions, against real project files.
#include <gtest/gtest.h>

#include <filesystem>

#include "framework/CArchiveException.h"
#include "photo/ProjectFile.h"
#include "support/MainWindowFixture.h"

namespace {

class ProjectCommandsTest : public MainWindowFixture {
protected:
    // Saves as name.snz through the dialog; returns the path.
    std::string SaveAs(const std::string& name)
    {
        std::string path = m_dir.File(name);
        m_prompter.m_fileAnswers.push_back({path});
        Press(kElementSave);
        return path;
    }
    size_t PhotosIn(const std::string& path) { return ReadProjectFile(path)->m_arrPaths.size(); }
    void RemoveRow(int row)
    {
        m_dlg.m_listPhotos.SetItemState(-1, 0, LVIS_SELECTED);
        m_dlg.m_listPhotos.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
        Press(kElementDel);
    }
};

}  // namespace

TEST_F(ProjectCommandsTest, UnsavedChangesAreNeverDroppedUnasked)
{
    AddPhotos(2);
    m_dlg.m_project.m_bModified = 1;
    m_prompter.m_messageAnswers = {IDNO};
    Press(kElementNew);
    EXPECT_EQ("Save?", m_prompter.m_messages.back().text);
    EXPECT_EQ(UINT(MB_YESNO | MB_ICONQUESTION), m_prompter.m_messages.back().type);
    EXPECT_EQ(2, m_dlg.m_listPhotos.GetItemCount());
    EXPECT_EQ(1, m_dlg.m_project.m_bModified);

    // Yes, then the save dialog cancelled: "new", "load" and "exit" all stop.
    for (int element : {kElementNew, kElementLoad, kElementExit}) {
        m_prompter.m_messageAnswers = {IDYES};
        Press(element);
        EXPECT_TRUE(IsWindow(m_dlg.m_hWnd)) << element;
        EXPECT_EQ(2, m_dlg.m_listPhotos.GetItemCount()) << element;
        EXPECT_EQ(1, m_dlg.m_project.m_bModified) << element;
    }
    EXPECT_EQ(3, m_prompter.m_nFileDialogs);  // three save dialogs, no open dialog

    m_prompter.m_messageAnswers = {IDNO};
    Press(kElementExit);
    EXPECT_FALSE(IsWindow(m_dlg.m_hWnd));
}

TEST_F(ProjectCommandsTest, SaveWritesToTheRememberedFileWhileItExists)
{
    AddPhotos(3);
    m_dlg.m_project.m_bModified = 1;
    std::string a = SaveAs("A.snz");
    ASSERT_EQ(1u, m_prompter.m_fileDialogs.size());
    const FakePrompter::FileDialogAsked& asked = m_prompter.m_fileDialogs[0];
    EXPECT_FALSE(asked.open);
    EXPECT_EQ("Recording Project (*.snz)|*.snz||", asked.filter);
    EXPECT_EQ("snz", asked.defExt);
    EXPECT_EQ(DWORD(OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT), asked.flags);
    EXPECT_EQ("A", m_dlg.m_project.m_strTitle);
    EXPECT_EQ(a, m_dlg.m_project.m_strPath);
    EXPECT_EQ(0, m_dlg.m_project.m_bModified);
    auto saved = ReadProjectFile(a);
    EXPECT_EQ(3, saved->m_nPhotoCount);
    EXPECT_EQ(m_dlg.m_project.m_arrPaths, saved->m_arrPaths);
    EXPECT_EQ(m_dlg.m_project.m_arrDelays, saved->m_arrDelays);

    // Opened from a copy, the project still belongs to A.snz.
    std::string b = m_dir.File("B.snz");
    std::filesystem::copy_file(a, b);
    Press(kElementPlay);
    m_dlg.m_staticPreview.m_strPicturePath = m_dir.File("p0.bmp");
    Press(kElementNew);
    EXPECT_EQ(0, m_dlg.m_listPhotos.GetItemCount());
    EXPECT_EQ(0u, m_dlg.m_nSlideshowPeriodMs);  // the slideshow stopped, the preview empty
    EXPECT_EQ("", m_dlg.m_staticPreview.m_strPicturePath);
    m_prompter.m_fileAnswers.push_back({b});
    Press(kElementLoad);
    EXPECT_TRUE(m_prompter.m_fileDialogs.back().open);
    EXPECT_EQ(DWORD(OFN_FILEMUSTEXIST), m_prompter.m_fileDialogs.back().flags);
    ASSERT_EQ(3, m_dlg.m_listPhotos.GetItemCount());
    EXPECT_EQ("p1.bmp", Cell(1, 0));
    EXPECT_EQ("11", Cell(1, 1));
    EXPECT_EQ("11", Cell(1, 3));  // size in bytes
    EXPECT_EQ(m_dlg.m_arrPhotos[1].m_strDate, Cell(1, 2));
    EXPECT_EQ(3, m_dlg.m_nPictureCount);
    EXPECT_EQ(a, m_dlg.m_project.m_strPath);

    RemoveRow(0);
    Press(kElementSave);  // no dialog: straight to A.snz
    EXPECT_EQ(2u, m_prompter.m_fileDialogs.size());
    EXPECT_EQ(2u, PhotosIn(a));
    EXPECT_EQ(3u, PhotosIn(b));

    // A.snz gone: save asks for a name again.
    std::filesystem::remove(a);
    RemoveRow(0);
    std::string c = SaveAs("C.snz");
    EXPECT_EQ(3u, m_prompter.m_fileDialogs.size());
    EXPECT_EQ(1u, PhotosIn(c));
    EXPECT_EQ("C", m_dlg.m_project.m_strTitle);
}

TEST_F(ProjectCommandsTest, AFailedSaveKeepsTheOldFileAndTheChanges)
{
    AddPhotos(2);
    std::string a = SaveAs("A.snz");
    const std::string before = TempDir::Read(a);
    // Another program holds the file open (without letting it be replaced).
    HANDLE held = CreateFileA(a.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    RemoveRow(0);
    Press(kElementSave);
    CloseHandle(held);
    ASSERT_EQ(1u, m_prompter.m_messages.size());
    EXPECT_NE(std::string::npos, m_prompter.m_messages[0].text.find("A.snz")) << m_prompter.m_messages[0].text;
    EXPECT_EQ(before, TempDir::Read(a));
    EXPECT_FALSE(std::filesystem::exists(a + ".saving"));
    EXPECT_EQ(1, m_dlg.m_project.m_bModified);
    EXPECT_EQ(2, m_dlg.m_project.m_nPhotoCount);  // as of the last save that happened
}

TEST_F(ProjectCommandsTest, MissingPhotosAndForeignFiles)
{
    AddPhotos(2);
    std::string a = SaveAs("A.snz");
    std::filesystem::remove(m_dir.File("p0.bmp"));
    m_prompter.m_fileAnswers.push_back({a});
    Press(kElementLoad);
    ASSERT_EQ(2, m_dlg.m_listPhotos.GetItemCount());
    EXPECT_EQ("(missing)", Cell(0, 0));
    EXPECT_EQ("", Cell(0, 2));
    EXPECT_EQ("", Cell(0, 4));
    m_dlg.m_project.m_bModified = 1;
    Press(kElementSave);
    auto saved = ReadProjectFile(a);
    EXPECT_EQ(m_dir.File("p0.bmp"), saved->m_arrPaths[0]);  // the path survives
    EXPECT_EQ(0, saved->m_nTotalKB);                         // and adds nothing

    // Not a project: an empty project, the archive's message, and the
    // window says so (count 0, photo elements passive).
    m_prompter.m_fileAnswers.push_back({m_dir.Write("foreign.snz", "not a project at all")});
    Press(kElementLoad);
    EXPECT_EQ(0, m_dlg.m_listPhotos.GetItemCount());
    EXPECT_TRUE(m_dlg.m_project.m_arrPaths.empty());
    EXPECT_EQ("", m_dlg.m_project.m_strPath);
    EXPECT_EQ(0, m_dlg.m_nPictureCount);
    EXPECT_EQ(0, g_skinElements[kElementStart].m_bActive);
    ASSERT_EQ(1u, m_prompter.m_messages.size());
    try {
        ReadProjectFile(m_dir.File("foreign.snz"));
    } catch (const CArchiveException& e) {
        EXPECT_EQ(e.GetErrorMessage(), m_prompter.m_messages[0].text);
    }
}

TEST_F(ProjectCommandsTest, OpenedFromTheCommandLineOrBySecondCopy)
{
    AddPhotos(2);
    std::string a = SaveAs("A.snz");
    Press(kElementNew);
    ASSERT_EQ(0, m_dlg.m_listPhotos.GetItemCount());

    // A second copy hands the file over; the window loads it after answering.
    COPYDATASTRUCT data = {CSnapdiscDlg::kOpenProjectData, static_cast<DWORD>(a.size() + 1),
                           const_cast<char*>(a.c_str())};
    EXPECT_TRUE(SendMessageA(m_dlg.m_hWnd, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)));
    Pump();
    EXPECT_EQ(2, m_dlg.m_listPhotos.GetItemCount());
    EXPECT_EQ(a, m_dlg.m_project.m_strPath);

    // With unsaved changes the load command's question comes first; No keeps them.
    m_dlg.m_project.m_bModified = 1;
    RemoveRow(0);
    m_prompter.m_messageAnswers = {IDNO};
    SendMessageA(m_dlg.m_hWnd, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
    Pump();
    EXPECT_EQ("Save?", m_prompter.m_messages.back().text);
    EXPECT_EQ(1, m_dlg.m_listPhotos.GetItemCount());
    // Anything else sent this way is refused.
    std::string text = "no terminator";
    COPYDATASTRUCT bad = {CSnapdiscDlg::kOpenProjectData, static_cast<DWORD>(text.size()), &text[0]};
    EXPECT_FALSE(SendMessageA(m_dlg.m_hWnd, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&bad)));
    bad = {1, static_cast<DWORD>(a.size() + 1), const_cast<char*>(a.c_str())};
    EXPECT_FALSE(SendMessageA(m_dlg.m_hWnd, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&bad)));

    // Started with a project: it is open once the window is up; a foreign
    // file takes the load command's failure path.
    CSnapdiscDlg started;
    started.m_strStartProject = a;
    ASSERT_TRUE(started.Create());
    Pump();
    EXPECT_EQ(2, started.m_listPhotos.GetItemCount());
    started.EndDialog(0);
    size_t messages = m_prompter.m_messages.size();
    CSnapdiscDlg foreign;
    foreign.m_strStartProject = m_dir.Write("foreign.snz", "not a project");
    ASSERT_TRUE(foreign.Create());
    Pump();
    EXPECT_EQ(0, foreign.m_listPhotos.GetItemCount());
    EXPECT_EQ(messages + 1, m_prompter.m_messages.size());
    foreign.EndDialog(0);
}
