#include <gtest/gtest.h>

#include "app/CSnapdiscApp.h"
#include "lang/CLang.h"
#include "support/TempDir.h"
#include "support/TestRegistry.h"

namespace {

// A program folder with English and German, and the test program's own
// settings key, emptied before and after each test.
class StartUpTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir.Write("lang.ini", "default=english\r\nenglish=English\r\ngerman=Deutsch\r\n");
        m_dir.Write("lang/english.txt", "title=Snapdisc\r\nNoFile=(missing)\r\n");
        m_dir.Write("lang/german.txt", "title=Snapdisc DE\r\n");
        m_key = "Software\\Larkfield_SNZ\\" + m_app.m_strAppName + "\\Setting";
        DeleteRegistryTree("Software\\Larkfield_SNZ\\" + m_app.m_strAppName);
    }
    void TearDown() override { DeleteRegistryTree("Software\\Larkfield_SNZ\\" + m_app.m_strAppName); }

    void Store(const char* name, const char* value)
    {
        m_app.SetRegistryKey("Larkfield_SNZ");
        m_app.WriteProfileString("Setting", name, value);
    }
    std::string Module() const { return m_dir.File("snapdisc.exe"); }

    TempDir m_dir;
    CSnapdiscApp m_app;
    std::string m_key;
};

}  // namespace

TEST_F(StartUpTest, FirstStartWritesOnlyTheDelay)
{
    m_app.StartUp(Module());
    EXPECT_EQ(&m_app, g_pApp);
    EXPECT_EQ(m_dir.Path(), m_app.GetProgramFolder());
    EXPECT_EQ(m_app.GetLang(), GetLangPointer());
    EXPECT_STREQ("english", m_app.GetLang()->GetLang());
    EXPECT_STREQ("Snapdisc", m_app.GetLang()->GetText("title"));
    bool present = true;
    RegistryValue(m_key, "lang", &present);
    EXPECT_FALSE(present) << "the default language needs no stored key";
    EXPECT_EQ("10", RegistryValue(m_key, "default delay time"));
}

TEST_F(StartUpTest, StoredSettingsAreUsed)
{
    Store("lang", "german");
    Store("default delay time", "25");
    m_app.StartUp(Module());
    EXPECT_STREQ("german", m_app.GetLang()->GetLang());
    EXPECT_STREQ("Snapdisc DE", m_app.GetLang()->GetText("title"));
    EXPECT_EQ("german", RegistryValue(m_key, "lang"));
    EXPECT_EQ("25", RegistryValue(m_key, "default delay time"));
}

TEST_F(StartUpTest, FallbacksForUnusableSettings)
{
    Store("lang", "klingon");  // no longer listed
    Store("default delay time", "");
    m_app.StartUp(Module());
    EXPECT_STREQ("english", m_app.GetLang()->GetLang());
    EXPECT_EQ("english", RegistryValue(m_key, "lang"));
    EXPECT_EQ("10", RegistryValue(m_key, "default delay time"));
}

TEST_F(StartUpTest, MissingLanguageListShowsKeys)
{
    TempDir bare;
    Store("lang", "german");
    m_app.StartUp(bare.File("snapdisc.exe"));
    EXPECT_EQ("english", RegistryValue(m_key, "lang"));
    EXPECT_STREQ("title", m_app.GetLang()->GetText("title"));
    EXPECT_EQ(0, m_app.ExitInstance());
    EXPECT_EQ(nullptr, m_app.GetLang());
}

TEST_F(StartUpTest, ProgramFolderOfTheRunningModule)
{
    char module[MAX_PATH];
    GetModuleFileNameA(nullptr, module, MAX_PATH);
    m_app.StartUp(module);
    std::string folder = m_app.GetProgramFolder();
    std::string path = module;
    EXPECT_EQ(path.substr(0, path.find_last_of('\\')), folder);
    EXPECT_NE('\\', folder.back());
}
