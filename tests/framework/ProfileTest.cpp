#include <gtest/gtest.h>

#include "framework/CWinApp.h"
#include "support/TestRegistry.h"

namespace {

class ProfileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_app.SetRegistryKey("Snapdisc_Test_Company");
        m_key = "Software\\Snapdisc_Test_Company\\" + m_app.m_strAppName;
        DeleteRegistryTree(m_key);
    }
    void TearDown() override { DeleteRegistryTree(m_key); }

    CWinApp m_app;
    std::string m_key;
};

}  // namespace

TEST_F(ProfileTest, StringsLiveUnderCompanyApplicationAndSection)
{
    EXPECT_EQ("windows_tests", m_app.m_strAppName);
    EXPECT_EQ("fallback", m_app.GetProfileString("Setting", "lang", "fallback"));
    ASSERT_TRUE(m_app.WriteProfileString("Setting", "lang", "german"));
    EXPECT_EQ("german", RegistryValue(m_key + "\\Setting", "lang"));
    EXPECT_EQ("german", m_app.GetProfileString("Setting", "lang", "fallback"));
    ASSERT_TRUE(m_app.WriteProfileString("Setting", "empty", ""));
    EXPECT_EQ("", m_app.GetProfileString("Setting", "empty", "fallback"));  // empty is a value
    ASSERT_TRUE(m_app.WriteProfileString("Setting", "lang", nullptr));
    EXPECT_EQ("fallback", m_app.GetProfileString("Setting", "lang", "fallback"));
}

TEST_F(ProfileTest, ValuesOfAnotherTypeReadAsMissing)
{
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, (m_key + "\\Setting").c_str(), 0, nullptr, 0,
                                             KEY_WRITE, nullptr, &key, nullptr));
    DWORD number = 42;
    RegSetValueExA(key, "default delay time", 0, REG_DWORD, reinterpret_cast<BYTE*>(&number), sizeof number);
    // A string stored without its terminator still reads whole.
    RegSetValueExA(key, "raw", 0, REG_SZ, reinterpret_cast<const BYTE*>("abc"), 3);
    RegCloseKey(key);
    EXPECT_EQ("", m_app.GetProfileString("Setting", "default delay time", ""));
    EXPECT_EQ("abc", m_app.GetProfileString("Setting", "raw", ""));
}
