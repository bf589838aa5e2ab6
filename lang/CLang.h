#pragma once
#include <string>

// The program file exports the language tables so that other modules can
// look texts up; in the portable build there is nothing to export.
#if defined(_WIN32) && defined(SNAPDISC_LANG_IMPORT)
#define LANG_API __declspec(dllimport)
#elif defined(_WIN32)
#define LANG_API __declspec(dllexport)
#else
#define LANG_API
#endif

// Default language key: "english" until the language list names another.
extern char g_szDefaultLang[32];

// The language list (lang.ini in the program folder: key=display name, one
// language per line, plus default=key) and the key-to-text table of the
// current language (lang\<key>.txt: key=text per line). Texts are fetched by
// key at every use; a key the table lacks shows as itself.
class LANG_API CLang {
public:
    CLang();
    ~CLang();
    CLang(const CLang&) = delete;
    CLang& operator=(const CLang&) = delete;

    // Reads the language list of the program folder. 0 when it names at
    // least one language, -1 otherwise.
    int Init(char* pszFolder);
    // Selects a language by key (empty: the default) and loads its table.
    int SetLang(char* pszName);
    int SetLangIndex(int nIndex);
    char* GetLang();
    int GetLangIndex();
    int GetLangNumber();
    char* GetLangName(int nIndex);
    // The current language's text for a key, or the key itself.
    char* GetText(const char* pszKey);
    // The first key whose text equals the argument, or the argument itself.
    char* GetIndex(const char* pszText);
    char* GetDatDir();

private:
    int Clear();
    int Load();
    int LoadLang(char* pszPath);
    int add_string(char** ppArray, int nIndex, char* pszText);
    char* get_string(char** ppArray, int nIndex);
    int free_strings(char** ppArray);

    char m_szLang[32];
    char m_szDefault[32];
    char m_szDatDir[260];
    char m_szIniPath[260];
    char** m_ppKeys;
    char** m_ppTexts;
    char** m_ppLangKeys;
    char** m_ppLangNames;
    int m_nCount;
    int m_nLangNumber;
    int m_nLangIndex;
};

// The most recently constructed language tables.
LANG_API CLang* GetLangPointer();

// The current language's text for a key (the key itself where the language
// has none, or before any tables exist). Not exported: the program's own.
inline std::string LangText(const char* key)
{
    CLang* lang = GetLangPointer();
    return lang ? lang->GetText(key) : key;
}
