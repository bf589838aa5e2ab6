// The photo list's editing commands under Wine, answered through the
// prompter: records, paths, delays and rows stay in step.
#include <gtest/gtest.h>

#include "support/MainWindowFixture.h"

namespace {

class ListEditingTest : public MainWindowFixture {
protected:
    // Rows, records, paths and delays hold the named photos p<i>.bmp in this order.
    void ExpectOrder(const std::vector<int>& order)
    {
        ASSERT_EQ(order.size(), size_t(m_dlg.m_listPhotos.GetItemCount()));
        ASSERT_EQ(order.size(), m_dlg.m_arrPhotos.size());
        ASSERT_EQ(order.size(), m_dlg.m_project.m_arrPaths.size());
        ASSERT_EQ(order.size(), m_dlg.m_project.m_arrDelays.size());
        for (size_t row = 0; row < order.size(); ++row) {
            std::string path = m_dir.File("p" + std::to_string(order[row]) + ".bmp");
            int r = static_cast<int>(row);
            EXPECT_EQ(path, Cell(r, 4)) << row;
            EXPECT_EQ(path, m_dlg.m_arrPhotos[row].m_strPath) << row;
            EXPECT_EQ(path, m_dlg.m_project.m_arrPaths[row]) << row;
            EXPECT_EQ(uint32_t(10 + order[row]), m_dlg.m_project.m_arrDelays[row]) << row;
            EXPECT_EQ(std::to_string(10 + order[row]), Cell(r, 1)) << row;
        }
    }
    void Select(std::initializer_list<int> rows)
    {
        m_dlg.m_listPhotos.SetItemState(-1, 0, LVIS_SELECTED);
        for (int row : rows)
            m_dlg.m_listPhotos.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
    }
    std::vector<int> SelectedRows()
    {
        std::vector<int> rows;
        for (int r = m_dlg.m_listPhotos.GetNextItem(-1, LVNI_SELECTED); r != -1;
             r = m_dlg.m_listPhotos.GetNextItem(r, LVNI_SELECTED))
            rows.push_back(r);
        return rows;
    }
};

}  // namespace

TEST_F(ListEditingTest, AddUsesTheExchangedDelayAndRemembersTheFileType)
{
    std::vector<std::string> chosen;
    for (const char* name : {"a.jpg", "b.bmp", "c.jpg"})
        chosen.push_back(m_dir.Write(name, "picture"));
    m_prompter.m_fileAnswers.push_back(chosen);
    m_prompter.m_nFilterIndexChosen = 3;
    SetWindowTextA(m_dlg.GetDlgItem(IDC_DELAY_EDIT), "99");  // typed, not yet exchanged
    Press(kElementAdd);

    ASSERT_EQ(1u, m_prompter.m_fileDialogs.size());
    const FakePrompter::FileDialogAsked& asked = m_prompter.m_fileDialogs[0];
    EXPECT_TRUE(asked.open);
    EXPECT_EQ("All Support files (*.bmp *.jpg)|*.bmp;*.jpg|JPG files (*.jpg)|*.jpg|BMP files (*.bmp)|*.bmp||",
              asked.filter);
    EXPECT_EQ(DWORD(OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST), asked.flags);
    EXPECT_EQ(1, asked.filterIndex);
    EXPECT_EQ(36000u, asked.maxFile);
    ASSERT_EQ(3, m_dlg.m_listPhotos.GetItemCount());
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(chosen[static_cast<size_t>(row)], m_dlg.m_project.m_arrPaths[static_cast<size_t>(row)]);
        EXPECT_EQ(10u, m_dlg.m_project.m_arrDelays[static_cast<size_t>(row)]);
        EXPECT_EQ("10", Cell(row, 1));
    }
    EXPECT_EQ("b.bmp", Cell(1, 0));
    EXPECT_EQ(3, m_dlg.m_nPictureCount);
    EXPECT_EQ(1, m_dlg.m_project.m_bModified);
    EXPECT_EQ(1, g_skinElements[kElementPlay].m_bActive);

    // The next dialog opens on the file type chosen last; names that do not
    // fit are told, and nothing is added.
    m_prompter.m_bNamesTooLong = true;
    Press(kElementAdd);
    EXPECT_EQ(3, m_prompter.m_fileDialogs[1].filterIndex);
    ASSERT_EQ(1u, m_prompter.m_messages.size());
    EXPECT_EQ("Names too long", m_prompter.m_messages[0].text);
    EXPECT_EQ(3, m_dlg.m_listPhotos.GetItemCount());
}

TEST_F(ListEditingTest, AddStopsAt1900Photos)
{
    m_dlg.m_listPhotos.SetRedraw(FALSE);
    for (int i = 0; i < 1899; ++i)
        m_dlg.AppendPhoto("C:\\none\\" + std::to_string(i) + ".jpg", 10);
    m_dlg.m_listPhotos.SetRedraw(TRUE);
    m_prompter.m_fileAnswers.push_back({m_dir.Write("a.jpg", "x"), m_dir.Write("b.jpg", "x"), m_dir.Write("c.jpg", "x")});
    Press(kElementAdd);
    EXPECT_EQ(1900, m_dlg.m_listPhotos.GetItemCount());
    EXPECT_EQ(1900u, m_dlg.m_project.m_arrDelays.size());
    EXPECT_EQ(m_dir.File("a.jpg"), m_dlg.m_project.m_arrPaths.back());
    ASSERT_EQ(1u, m_prompter.m_messages.size());
    EXPECT_EQ("Too many", m_prompter.m_messages[0].text);
    EXPECT_EQ(UINT(MB_OK | MB_ICONQUESTION), m_prompter.m_messages[0].type);
}

TEST_F(ListEditingTest, RemoveSelectsTheRowAfterTheRemovedOnes)
{
    AddPhotos(6);
    Select({1, 3});
    Press(kElementDel);
    ExpectOrder({0, 2, 4, 5});
    EXPECT_EQ(std::vector<int>{2}, SelectedRows());  // the row that followed row 3
    EXPECT_EQ(4, m_dlg.m_nPictureCount);
    EXPECT_EQ(1, m_dlg.m_project.m_bModified);

    m_prompter.m_messageAnswers = {IDYES};
    Press(kElementDelAll);
    AddPhotos(6);
    Select({4, 5});  // the last two
    Press(kElementDel);
    ExpectOrder({0, 1, 2, 3});
    EXPECT_EQ(std::vector<int>{3}, SelectedRows());  // the new last row

    // Removing the last photos empties the preview.
    Select({0, 1, 2, 3});
    m_dlg.m_staticPreview.m_strPicturePath = m_dir.File("p0.bmp");
    Press(kElementDel);
    ExpectOrder({});
    EXPECT_EQ("", m_dlg.m_staticPreview.m_strPicturePath);
    EXPECT_EQ(0, g_skinElements[kElementDel].m_bActive);
}

TEST_F(ListEditingTest, RemoveAllAsksAndKeepsTheProjectsFile)
{
    AddPhotos(3);
    m_dlg.m_project.m_strTitle = "trip";
    m_dlg.m_project.m_strPath = "C:\\trip.snz";
    m_dlg.m_project.m_bModified = 0;
    m_prompter.m_messageAnswers = {IDNO, IDYES};
    Press(kElementDelAll);
    EXPECT_EQ(3, m_dlg.m_listPhotos.GetItemCount());
    EXPECT_EQ("Clear?", m_prompter.m_messages[0].text);
    Press(kElementDelAll);
    ExpectOrder({});
    EXPECT_EQ(1, m_dlg.m_project.m_bModified);
    EXPECT_EQ("trip", m_dlg.m_project.m_strTitle);
    EXPECT_EQ("C:\\trip.snz", m_dlg.m_project.m_strPath);
}

TEST_F(ListEditingTest, MovesFollowTheFocusedRow)
{
    AddPhotos(5);
    m_dlg.m_listPhotos.SetItemState(4, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
    m_dlg.m_listPhotos.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
    Press(kElementFirst);
    ExpectOrder({4, 0, 1, 2, 3});
    EXPECT_EQ(std::vector<int>{0}, SelectedRows());
    EXPECT_EQ(1, m_dlg.m_project.m_bModified);

    // At the end it moves towards, a photo stays, and nothing is modified.
    m_dlg.m_project.m_bModified = 0;
    Press(kElementPrev);
    Press(kElementFirst);
    ExpectOrder({4, 0, 1, 2, 3});
    EXPECT_EQ(0, m_dlg.m_project.m_bModified);
    Press(kElementNext);
    ExpectOrder({0, 4, 1, 2, 3});
    Press(kElementLast);
    ExpectOrder({0, 1, 2, 3, 4});
    m_dlg.m_project.m_bModified = 0;
    Press(kElementNext);
    Press(kElementLast);
    ExpectOrder({0, 1, 2, 3, 4});
    EXPECT_EQ(0, m_dlg.m_project.m_bModified);
    EXPECT_TRUE(m_prompter.m_messages.empty());

    // Without a focused row: the message, nothing moves.
    m_dlg.m_listPhotos.SetItemState(4, 0, LVIS_FOCUSED);
    Press(kElementPrev);
    ExpectOrder({0, 1, 2, 3, 4});
    ASSERT_EQ(1u, m_prompter.m_messages.size());
    EXPECT_EQ("Select one", m_prompter.m_messages[0].text);
    EXPECT_EQ("Warning", m_prompter.m_messages[0].caption);
    EXPECT_EQ(UINT(MB_OK), m_prompter.m_messages[0].type);
}

TEST_F(ListEditingTest, SelectingARowShowsItAndStopsTheSlideshow)
{
    AddPhotos(3);
    Press(kElementPlay);
    EXPECT_NE(0u, m_dlg.m_nSlideshowPeriodMs);
    m_dlg.m_listPhotos.SetItemState(2, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    EXPECT_EQ(0u, m_dlg.m_nSlideshowPeriodMs);
    EXPECT_EQ(m_dir.File("p2.bmp"), m_dlg.m_staticPreview.m_strPicturePath);
    // Selected and drop-highlighted in one step (after a move): not repointed.
    m_dlg.m_listPhotos.SetItemState(0, LVIS_SELECTED | LVIS_DROPHILITED, LVIS_SELECTED | LVIS_DROPHILITED);
    EXPECT_EQ(m_dir.File("p2.bmp"), m_dlg.m_staticPreview.m_strPicturePath);
}
