#include "lang/CLang.h"

#include <gtest/gtest.h>

#include <cstring>

#include <string>

#include "support/TempDir.h"

namespace {

#ifdef _WIN32
const char kSep[] = "\\";
#else
const char kSep[] = "/";
#endif

// A program folder with a language list and language files.
class LangFolder {
public:
    explicit LangFolder(const std::string& list) { m_dir.Write("lang.ini", list); }
    void AddFile(const std::string& name, const std::string& text) { m_dir.Write("lang/" + name, text); }
    std::string Folder() const { return m_dir.Path(); }

private:
    TempDir m_dir;
};

int Init(CLang& lang, const LangFolder& folder)
{
    std::string f = folder.Folder();
    return lang.Init(&f[0]);
}

int Select(CLang& lang, std::string name)
{
    return lang.SetLang(&name[0]);
}

}  // namespace

TEST(CLang, LanguageFileReadingRules)
{
    LangFolder folder("english=English\r\n");
    std::string text =
        "a comment line without an equals sign\r\n"
        "title=Snapdisc\r\n"
        "title=second occurrence loses\r\n"
        "title =key with a trailing space\r\n"
        "No Disc in the Device=Insert a disc\n"
        "formula=A=B\r\n"
        "=text of an empty key\r\n"
        "emptytext=\r\n"
        "highcr=caf\xe9\r\n"
        "highlf=na\xefve\n"
        "\r\n"
        "last=no line end";
    folder.AddFile("english.txt", text);
    CLang lang;
    ASSERT_EQ(0, Init(lang, folder));
    ASSERT_EQ(0, Select(lang, "english"));

    EXPECT_STREQ("Snapdisc", lang.GetText("title"));
    EXPECT_STREQ("key with a trailing space", lang.GetText("title "));
    EXPECT_STREQ("Insert a disc", lang.GetText("No Disc in the Device"));
    EXPECT_STREQ("A=B", lang.GetText("formula"));
    EXPECT_STREQ("", lang.GetText("emptytext"));
    EXPECT_STREQ("caf\xe9", lang.GetText("highcr"));
    EXPECT_STREQ("na\xefve", lang.GetText("highlf"));
    EXPECT_STREQ("no line end", lang.GetText("last"));
    EXPECT_STREQ("title", lang.GetIndex("Snapdisc"));

    // Absent and empty keys come back as the very pointer passed in.
    const char* missing = "NoSuchKey";
    EXPECT_EQ(missing, lang.GetText(missing));
    const char* empty = "";
    EXPECT_EQ(empty, lang.GetText(empty));
    EXPECT_EQ(missing, lang.GetIndex(missing));
}

TEST(CLang, LongLinesAreReadInPieces)
{
    // A language file line is read 519 bytes at a time; each piece counts as
    // a line of its own.
    std::string first(519, 'x');
    first.replace(0, 5, "long=");
    LangFolder folder("english=English\n");
    folder.AddFile("english.txt", first + "tail=piece\r\n");
    CLang lang;
    ASSERT_EQ(0, Init(lang, folder));
    ASSERT_EQ(0, Select(lang, "english"));
    EXPECT_EQ(std::string(first.substr(5)), lang.GetText("long"));
    EXPECT_STREQ("piece", lang.GetText("tail"));

    // A language list line is read 259 bytes at a time.
    std::string listLine(259, 'n');
    listLine.replace(0, 3, "aa=");
    LangFolder list(listLine + "bb=Second\n");
    CLang lang2;
    ASSERT_EQ(0, Init(lang2, list));
    ASSERT_EQ(2, lang2.GetLangNumber());
    EXPECT_EQ(256u, std::string(lang2.GetLangName(0)).size());
    EXPECT_STREQ("Second", lang2.GetLangName(1));
}

// A language file gives at most 10,000 texts; lines after those are not read.
TEST(CLang, AtMostTenThousandTexts)
{
    std::string text;
    for (int i = 1; i <= 10001; ++i)
        text += "k" + std::to_string(i) + "=t" + std::to_string(i) + "\r\n";
    LangFolder folder("english=English\n");
    folder.AddFile("english.txt", text);
    CLang lang;
    ASSERT_EQ(0, Init(lang, folder));
    ASSERT_EQ(0, Select(lang, "english"));
    EXPECT_STREQ("t10000", lang.GetText("k10000"));
    EXPECT_STREQ("k10001", lang.GetText("k10001"));
}

TEST(CLang, LanguageList)
{
    std::string list = "english=English\r\nDEFAULT=german\r\ngerman=Deutsch\r\n=Nobody\r\nnoequals\r\nsilent=\r\n";
    LangFolder folder(list);
    CLang lang;
    ASSERT_EQ(0, Init(lang, folder));
    EXPECT_STREQ("german", g_szDefaultLang);
    EXPECT_STREQ("german", lang.GetLang());
    ASSERT_EQ(3, lang.GetLangNumber());
    EXPECT_STREQ("English", lang.GetLangName(0));
    EXPECT_STREQ("Deutsch", lang.GetLangName(1));
    EXPECT_STREQ("silent", lang.GetLangName(2));  // no display name: shown by key
    EXPECT_EQ(nullptr, lang.GetLangName(3));
    EXPECT_EQ(nullptr, lang.GetLangName(-1));
    EXPECT_EQ(folder.Folder() + kSep + "lang", lang.GetDatDir());

    // A later default line overrides an earlier one; without one it is english.
    LangFolder twice("Default=a\r\na=A\r\ndefault=b\r\nb=B\r\n");
    CLang lang2;
    ASSERT_EQ(0, Init(lang2, twice));
    EXPECT_STREQ("b", g_szDefaultLang);
    LangFolder none("french=Fran\xe7" "ais\r\n");
    CLang lang3;
    ASSERT_EQ(0, Init(lang3, none));
    EXPECT_STREQ("english", g_szDefaultLang);
    EXPECT_STREQ("Fran\xe7" "ais", lang3.GetLangName(0));
}

TEST(CLang, AtMostThirtyTwoLanguages)
{
    std::string list;
    for (int i = 0; i < 40; ++i)
        list += "l" + std::to_string(i) + "=Language " + std::to_string(i) + "\n";
    LangFolder folder(list);
    CLang lang;
    ASSERT_EQ(0, Init(lang, folder));
    EXPECT_EQ(32, lang.GetLangNumber());
    EXPECT_STREQ("Language 31", lang.GetLangName(31));
    EXPECT_EQ(-1, Select(lang, "l32"));
}

TEST(CLang, SelectingLanguages)
{
    LangFolder folder("english=English\ngerman=Deutsch\nplain=Plain\nmissing=Missing\n");
    folder.AddFile("english.txt", "title=Snapdisc\n");
    folder.AddFile("german.txt", "title=Snapdisc DE\n");
    folder.AddFile("plain", "title=without extension\n");
    CLang lang;
    ASSERT_EQ(0, Init(lang, folder));

    EXPECT_EQ(0, Select(lang, ""));  // empty: the default
    EXPECT_STREQ("english", lang.GetLang());
    EXPECT_STREQ("Snapdisc", lang.GetText("title"));

    EXPECT_EQ(0, lang.SetLangIndex(1));
    EXPECT_EQ(1, lang.GetLangIndex());
    EXPECT_STREQ("Snapdisc DE", lang.GetText("title"));

    // Not listed, or listed in another case: refused, nothing changes.
    EXPECT_EQ(-1, Select(lang, "klingon"));
    EXPECT_EQ(-1, Select(lang, "English"));
    EXPECT_STREQ("german", lang.GetLang());
    EXPECT_STREQ("Snapdisc DE", lang.GetText("title"));

    EXPECT_EQ(0, Select(lang, "plain"));  // the file without extension is the fallback
    EXPECT_STREQ("without extension", lang.GetText("title"));

    // A listed language whose file is missing: -1, empty table, keys shown.
    EXPECT_EQ(-1, Select(lang, "missing"));
    EXPECT_STREQ("missing", lang.GetLang());
    EXPECT_STREQ("title", lang.GetText("title"));

    EXPECT_EQ(0, lang.SetLangIndex(7));  // outside the list: no action
    EXPECT_EQ(0, lang.SetLangIndex(-1));
    EXPECT_STREQ("missing", lang.GetLang());
}

TEST(CLang, DefaultLanguageWithoutItsFileStillSucceeds)
{
    LangFolder folder("english=English\n");
    CLang lang;
    ASSERT_EQ(0, Init(lang, folder));
    EXPECT_EQ(0, Select(lang, "english"));
    EXPECT_STREQ("title", lang.GetText("title"));
}

TEST(CLang, InitFailures)
{
    TempDir empty;
    std::string folder = empty.Path();
    CLang lang;
    std::strcpy(g_szDefaultLang, "leftover");
    EXPECT_EQ(-1, lang.Init(&folder[0]));  // no language list
    EXPECT_STREQ("english", g_szDefaultLang);
    EXPECT_EQ(-1, Select(lang, "english"));

    LangFolder onlyDefault("default=german\r\n");
    CLang lang2;
    EXPECT_EQ(-1, Init(lang2, onlyDefault));
    EXPECT_STREQ("german", g_szDefaultLang);
    EXPECT_EQ(0, lang2.GetLangNumber());

    // A folder too long for the 260-byte paths is refused, not overrun.
    std::string longFolder(300, 'd');
    CLang lang3;
    EXPECT_EQ(-1, lang3.Init(&longFolder[0]));
}

TEST(CLang, GetLangPointerIsTheNewestObject)
{
    CLang first;
    EXPECT_EQ(&first, GetLangPointer());
    {
        CLang second;
        EXPECT_EQ(&second, GetLangPointer());
    }
    EXPECT_EQ(nullptr, GetLangPointer());
}

TEST(CLang, ShippedLanguageFilesDefineTheSameKeys)
{
    // The shipped files are copied beside the tests by the build.
    std::string folder = SNAPDISC_RES_DIR;
    CLang lang;
    ASSERT_EQ(0, lang.Init(&folder[0]));
    ASSERT_GE(lang.GetLangNumber(), 3);
    const char* keys[] = {"title", "SureToSave", "NumOfPictures", "MiniTip", "SureToChangeDelayTime", "Confirm",
                          "File", "Delays", "Date", "Bytes", "Path", "NoFile", "FileSize", "SureToClearAll",
                          "select photo", "Warning", "Burning", "BurnTitle", "Elapsed Time", "Percent", "Abort",
                          "Erasing", "SuccessToBurn", "NoDevice", "No Disc in the Device", "NotSave", "SizeTooBig",
                          "Ready", "SureToErase", "Need a blank CDR", "Project Name", "Project Path",
                          "Photo Numbers", "Photo Total Size", "Device info", "Disc Info", "Rewritable", "Blank",
                          "CD-R", "CD-RW", "DVD", "DVD+R/RW", "DVD-R/RW", "No media found", "speed", "help",
                          "min", "exit", "new", "load", "save", "start", "about", "bird", "language", "setup",
                          "first", "prev", "next", "last", "play", "stop", "add", "del", "delall", "delay",
                          "delayedit", "piclist", "picstatic", "status", "devices", "listnum"};
    for (int i = 0; i < lang.GetLangNumber(); ++i) {
        ASSERT_EQ(0, lang.SetLangIndex(i)) << lang.GetLangName(i);
        for (const char* key : keys)
            EXPECT_NE(key, lang.GetText(key)) << lang.GetLang() << " lacks " << key;
    }
}
