// Runs the program as users get it (the dist folder) and checks that a
// second copy finds the first by its caption and ends without a window.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <string>

#include "photo/CProjectInfo.h"
#include "photo/ProjectFile.h"
#include "support/TempDir.h"


namespace {

class Process {
public:
    explicit Process(const std::string& exe, const std::string& argument = std::string())
    {
        STARTUPINFOA si = {};
        si.cb = sizeof si;
        std::string cmd = "\"" + exe + "\"";
        if (!argument.empty())
            cmd += " \"" + argument + "\"";
        m_ok = CreateProcessA(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &m_pi) != 0;
    }
    ~Process()
    {
        if (!m_ok)
            return;
        if (WaitForSingleObject(m_pi.hProcess, 0) == WAIT_TIMEOUT)
            TerminateProcess(m_pi.hProcess, 99);
        CloseHandle(m_pi.hThread);
        CloseHandle(m_pi.hProcess);
    }
    bool Started() const { return m_ok; }
    bool Wait(DWORD ms) { return WaitForSingleObject(m_pi.hProcess, ms) == WAIT_OBJECT_0; }
    DWORD ExitCode()
    {
        DWORD code = 0;
        GetExitCodeProcess(m_pi.hProcess, &code);
        return code;
    }
    DWORD Id() const { return m_pi.dwProcessId; }

private:
    PROCESS_INFORMATION m_pi = {};
    bool m_ok = false;
};

HWND WaitForWindow(const char* caption, DWORD pid)
{
    for (int i = 0; i < 300; ++i) {
        HWND found = nullptr;
        while ((found = FindWindowExA(nullptr, found, "#32770", caption)) != nullptr) {
            DWORD owner = 0;
            GetWindowThreadProcessId(found, &owner);
            if (owner == pid)
                return found;
        }
        Sleep(50);
    }
    return nullptr;
}

}  // namespace

TEST(SecondCopy, IsRefusedAndTheFirstCopyStays)
{
    std::string exe = std::string(SNAPDISC_DIST_DIR) + "\\snapdisc.exe";
    Process first(exe);
    ASSERT_TRUE(first.Started()) << exe;
    HWND window = WaitForWindow("Snapdisc", first.Id());
    ASSERT_NE(nullptr, window) << "the first copy shows its main window, captioned by the language file";

    Process second(exe);
    ASSERT_TRUE(second.Started());
    ASSERT_TRUE(second.Wait(20000)) << "the second copy must end by itself";
    EXPECT_EQ(0u, second.ExitCode());
    EXPECT_FALSE(first.Wait(0)) << "the first copy keeps running";
    EXPECT_TRUE(IsWindow(window));

    // A second copy started with a project hands it to the first, which opens it.
    TempDir dir;
    CProjectInfo project;
    project.m_arrPaths = {dir.Write("a.jpg", "x"), dir.Write("b.jpg", "y"), dir.Write("c.jpg", "z")};
    project.m_arrDelays = {1, 2, 3};
    project.PrepareForSave();
    WriteProjectFile(dir.File("three.snz"), project);
    Process third(exe, dir.File("three.snz"));
    ASSERT_TRUE(third.Started());
    ASSERT_TRUE(third.Wait(20000));
    HWND list = GetDlgItem(window, 1000);
    for (int i = 0; i < 100 && SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) != 3; ++i)
        Sleep(50);
    EXPECT_EQ(3, SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));

    // The "exit" element ends the first copy normally.
    PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(520, 15));
    ASSERT_TRUE(first.Wait(20000));
    EXPECT_EQ(0u, first.ExitCode());
}
