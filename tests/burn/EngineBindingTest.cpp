// The engine found through the registry, loaded and started under Wine:
// with nothing installed, and with the program folder's own engine.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

#include "burn/CBurner.h"
#include "burn/EngineBinding.h"
#include "support/TestRegistry.h"

namespace {

const char kShared[] = "SOFTWARE\\ahead\\Shared";
const char kAppPath[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Nero.exe";

// Each test starts with no engine registered and leaves the registry as it found it.
class EngineBindingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_strShared = MachineValue(kShared, "NeroAPI");
        RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, kShared, "NeroAPI");
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kAppPath);
    }
    void TearDown() override
    {
        EngineUnload();
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kAppPath);
        if (m_strShared.empty())
            RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, kShared, "NeroAPI");
        else
            SetMachineValue(kShared, "NeroAPI", m_strShared);
    }
    std::string m_strShared;
};

}  // namespace

TEST_F(EngineBindingTest, NothingInstalled)
{
    EXPECT_FALSE(EngineLoad());
    CBurner burner;
    EXPECT_EQ(-1, burner.EngineStart());
    // Every wrapper answers its default.
    EXPECT_EQ(1, NeroInit(nullptr, nullptr));
    EXPECT_EQ(nullptr, NeroGetAvailableDrivesEx(1, nullptr));
    EXPECT_EQ(nullptr, NeroGetCDInfo(nullptr, 3));
    EXPECT_EQ(-1, NeroEraseCDRW(nullptr, 1));
    EXPECT_EQ(1, NeroBurn(nullptr, 1, nullptr, 28, 0, nullptr));
    EXPECT_EQ(0u, NeroGetAPIVersion());
}

TEST_F(EngineBindingTest, TheProgramFoldersEngineListsItsImageRecorder)
{
    SetMachineValue(kShared, "NeroAPI", std::string(SNAPDISC_DIST_DIR) + "\\");
    ASSERT_TRUE(EngineLoad());
    EXPECT_EQ(SNAPDISC_DIST_DIR, MachineValue(kShared, "NeroAPI"));  // the separator is dropped in the registry too
    char path[4096] = "";
    GetEnvironmentVariableA("PATH", path, sizeof path);
    EXPECT_NE(nullptr, std::strstr(path, SNAPDISC_DIST_DIR));
    EXPECT_EQ(5599u, NeroGetAPIVersion());

    CBurner burner;
    ASSERT_EQ(0, burner.EngineStart());
    EXPECT_EQ(0, burner.EngineStart());  // already running
    std::vector<std::unique_ptr<CRecorderInfo>> recorders;
    ASSERT_GE(burner.EnumerateRecorders(recorders), 1);
    const CRecorderInfo& image = *recorders.front();
    EXPECT_EQ(1, image.m_bIsRecorder);
    ASSERT_EQ(2u, image.m_strDrive.size());
    EXPECT_TRUE(image.m_strDrive[0] >= 'A' && image.m_strDrive[0] <= 'Z' && image.m_strDrive[1] == ':');
    EXPECT_NE(' ', image.m_strName.front());
    EXPECT_EQ(1, image.m_bMediaPresent);
    EXPECT_EQ(1, image.m_bCdR);
    EXPECT_EQ(1, image.m_bBlank);
    EXPECT_EQ(1, image.m_bWriteable);
    EXPECT_GT(image.m_nCdWriteMaxSpeed, 0);
    EXPECT_TRUE(burner.IsReadyToBurn(*recorders.front()));
    burner.EngineStop();
    EXPECT_FALSE(EngineIsLoaded());
    EXPECT_EQ(-1, burner.QueryMedia(*recorders.front()));  // stopped: no disc can be read
}

TEST_F(EngineBindingTest, FoundThroughTheProgramsAppPath)
{
    SetMachineValue(kAppPath, "Path", SNAPDISC_DIST_DIR);
    EXPECT_TRUE(EngineLoad());
    EXPECT_EQ(SNAPDISC_DIST_DIR, MachineValue(kShared, "NeroAPI"));  // remembered where the program looks first
}
