#include <gtest/gtest.h>

#include "framework/CArchiveException.h"
#include "framework/CDialog.h"
#include "framework/CFileDialog.h"
#include "framework/CWinApp.h"
#include "res/resource.h"
#include "support/FakePrompter.h"

namespace {

// A dialog whose message handler throws, as a failing command would.
class ThrowingDlg : public CDialog {
public:
    ThrowingDlg() : CDialog(IDD_SNAPDISC_DIALOG) {}
    int m_nAfterThrow = 0;

protected:
    bool OnMessage(UINT msg, WPARAM w, LPARAM l, LRESULT& result) override
    {
        if (msg == WM_APP)
            throw CArchiveException(CArchiveException::badClass, "C:\\x.snz");
        if (msg == WM_APP + 1) {
            ++m_nAfterThrow;
            return true;
        }
        return CDialog::OnMessage(msg, w, l, result);
    }
};

}  // namespace

TEST(FrameworkSeam, ExceptionsInHandlersAreReportedWithTheirStandardMessage)
{
    CWinApp app;
    FakePrompter prompter;
    ThrowingDlg dlg;
    ASSERT_TRUE(dlg.Create());
    SendMessageA(dlg.m_hWnd, WM_APP, 0, 0);
    ASSERT_EQ(1u, prompter.m_messages.size());
    EXPECT_EQ(CArchiveException(CArchiveException::badClass, "C:\\x.snz").GetErrorMessage(),
              prompter.m_messages[0].text);
    EXPECT_NE(std::string::npos, prompter.m_messages[0].text.find("C:\\x.snz"));
    EXPECT_EQ(app.m_strAppName, prompter.m_messages[0].caption);
    SendMessageA(dlg.m_hWnd, WM_APP + 1, 0, 0);  // the dialog goes on working
    EXPECT_EQ(1, dlg.m_nAfterThrow);
}

TEST(FrameworkSeam, FileDialogsAndMenusAskThePrompter)
{
    FakePrompter prompter;
    CFileDialog save(false, "snz", "trip", OFN_OVERWRITEPROMPT, "Recording Project (*.snz)|*.snz||");
    EXPECT_EQ(IDCANCEL, save.DoModal());
    prompter.m_fileAnswers.push_back({"C:\\Projects\\My trip.2024.snz"});
    EXPECT_EQ(IDOK, save.DoModal());
    EXPECT_EQ("C:\\Projects\\My trip.2024.snz", save.GetPathName());
    EXPECT_EQ("My trip.2024", save.GetFileTitle());
    prompter.m_fileAnswers.push_back({});  // confirmed with nothing chosen
    EXPECT_EQ(IDCANCEL, save.DoModal());
    EXPECT_EQ(3, prompter.m_nFileDialogs);

    prompter.m_menuAnswers.push_back(102);
    HMENU menu = CreatePopupMenu();
    EXPECT_EQ(102u, AfxGetPrompter().TrackPopupMenu(menu, TPM_RETURNCMD, 0, 0, nullptr));
    EXPECT_EQ(0u, AfxGetPrompter().TrackPopupMenu(menu, TPM_RETURNCMD, 0, 0, nullptr));
    DestroyMenu(menu);
}
