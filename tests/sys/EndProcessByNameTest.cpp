// Ending processes by name under Wine, against real processes.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "sys/EndProcessByName.h"

namespace {

// A running copy of the stand-in imapi.exe beside the test program.
class StandIn {
public:
    StandIn()
    {
        char self[MAX_PATH];
        GetModuleFileNameA(nullptr, self, MAX_PATH);
        std::string path = self;
        path = path.substr(0, path.find_last_of('\\') + 1) + "imapi.exe";
        STARTUPINFOA si = {};
        si.cb = sizeof si;
        m_bStarted = CreateProcessA(path.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &m_pi);
        if (m_bStarted)
            WaitForInputIdle(m_pi.hProcess, 2000);
    }
    ~StandIn()
    {
        if (!m_bStarted)
            return;
        if (Running())
            TerminateProcess(m_pi.hProcess, 1);
        CloseHandle(m_pi.hThread);
        CloseHandle(m_pi.hProcess);
    }
    bool Running() const { return WaitForSingleObject(m_pi.hProcess, 0) == WAIT_TIMEOUT; }
    bool Ended() const { return WaitForSingleObject(m_pi.hProcess, 5000) == WAIT_OBJECT_0; }
    bool m_bStarted = false;

private:
    PROCESS_INFORMATION m_pi = {};
};

}  // namespace

TEST(EndProcessByName, NamesOutOfRange)
{
    EXPECT_EQ(kProcessNameInvalid, EndProcessByName(""));
    EXPECT_EQ(kProcessNameInvalid, EndProcessByName(std::string(261, 'a').c_str()));
    EXPECT_EQ(kProcessNotFound, EndProcessByName(std::string(260, 'a').c_str()));  // accepted, nobody has it
}

TEST(EndProcessByName, EndsOneMatchingProcessPerCall)
{
    EXPECT_EQ(kProcessNotFound, EndProcessByName("imapi.exe"));
    StandIn first, second;
    ASSERT_TRUE(first.m_bStarted && second.m_bStarted);
    EXPECT_EQ(kProcessEnded, EndProcessByName("ImApI.ExE"));  // letter case does not matter
    Sleep(100);
    EXPECT_NE(first.Running(), second.Running()) << "exactly one of the two ends";
    EXPECT_EQ(kProcessEnded, EndProcessByName("imapi.exe"));
    EXPECT_TRUE(first.Ended());
    EXPECT_TRUE(second.Ended());
    EXPECT_EQ(kProcessNotFound, EndProcessByName("imapi.exe"));
}

TEST(EndProcessByName, DebugPrivilegeCanBeEnabled)
{
    EXPECT_EQ(0, EnableProcessPrivilege(SE_DEBUG_NAME));
    HANDLE token;
    ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token));
    EXPECT_FALSE(SetTokenPrivilege(token, "NoSuchPrivilege", TRUE));
    CloseHandle(token);
}
