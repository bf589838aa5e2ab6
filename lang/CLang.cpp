#include "CLang.h"

#include <cstdio>
#include <cstring>
#include <new>

char g_szDefaultLang[32] = "english";

namespace {

const int kMaxLanguages = 32;
const int kListPiece = 260;   // a list line is read in pieces of at most 259 bytes
const int kTablePiece = 520;  // a language file line in pieces of at most 519 bytes
const size_t kMaxKeyLength = 31;
// Texts a language file may hold: far more than the program has keys, and
// few enough that a file of millions of lines cannot make the tables grow.
const int kMaxTexts = 10000;

// Files of the program folder are named with the platform's separator; the
// portable build runs its tests on POSIX paths.
#ifdef _WIN32
const char kSep[] = "\\";
#else
const char kSep[] = "/";
#endif

CLang* g_pLang = nullptr;

// Cuts the line end of a piece: a last byte below 0x20 is removed, and if the
// byte before it is below 0x20 too the piece ends there. Bytes compare as
// unsigned, so letters from 0x80 up are kept.
void StripLineEnd(char* piece)
{
    size_t len = std::strlen(piece);
    if (len <= 1)
        return;
    const unsigned char* u = reinterpret_cast<const unsigned char*>(piece);
    if (u[len - 1] < 0x20)
        piece[len - 1] = '\0';
    if (u[len - 2] < 0x20)
        piece[len - 2] = '\0';
}

bool EqualsIgnoreCase(const char* a, const char* b)
{
    for (; *a && *b; ++a, ++b) {
        char ca = (*a >= 'A' && *a <= 'Z') ? char(*a - 'A' + 'a') : *a;
        char cb = (*b >= 'A' && *b <= 'Z') ? char(*b - 'A' + 'a') : *b;
        if (ca != cb)
            return false;
    }
    return *a == *b;
}

char* CopyText(const char* text)
{
    size_t len = std::strlen(text);
    char* copy = new (std::nothrow) char[len + 1];
    if (copy)
        std::memcpy(copy, text, len + 1);
    return copy;
}

bool JoinPath(char* out, size_t size, const char* a, const char* b, const char* c = "")
{
    int n = std::snprintf(out, size, "%s%s%s", a, b, c);
    return n >= 0 && size_t(n) < size;
}

}  // namespace

CLang* GetLangPointer()
{
    return g_pLang;
}

CLang::CLang()
    : m_ppKeys(nullptr), m_ppTexts(nullptr), m_ppLangKeys(nullptr), m_ppLangNames(nullptr),
      m_nCount(0), m_nLangNumber(0), m_nLangIndex(0)
{
    m_szLang[0] = m_szDefault[0] = m_szDatDir[0] = m_szIniPath[0] = '\0';
    g_pLang = this;
}

CLang::~CLang()
{
    Clear();
    free_strings(m_ppLangKeys);
    free_strings(m_ppLangNames);
    if (g_pLang == this)
        g_pLang = nullptr;
}

int CLang::Init(char* pszFolder)
{
    std::strcpy(g_szDefaultLang, "english");
    free_strings(m_ppLangKeys);
    free_strings(m_ppLangNames);
    m_ppLangKeys = new (std::nothrow) char*[kMaxLanguages + 1]();
    m_ppLangNames = new (std::nothrow) char*[kMaxLanguages + 1]();
    m_nLangNumber = 0;
    if (!m_ppLangKeys || !m_ppLangNames)
        return -1;
    const char* folder = pszFolder ? pszFolder : "";
    if (!JoinPath(m_szDatDir, sizeof m_szDatDir, folder, kSep, "lang") ||
        !JoinPath(m_szIniPath, sizeof m_szIniPath, folder, kSep, "lang.ini")) {
        m_szDatDir[0] = m_szIniPath[0] = '\0';
        return -1;
    }

    std::FILE* f = std::fopen(m_szIniPath, "rb");
    if (!f)
        return -1;
    char piece[kListPiece];
    while (std::fgets(piece, sizeof piece, f)) {
        StripLineEnd(piece);
        char* eq = std::strchr(piece, '=');
        if (!eq)
            continue;
        *eq = '\0';
        const char* key = piece;
        char* value = eq + 1;
        if (EqualsIgnoreCase(key, "default")) {
            // A key too long for the field could never be selected; keep the old default.
            if (std::strlen(value) <= kMaxKeyLength)
                std::strcpy(g_szDefaultLang, value);
            continue;
        }
        if (m_nLangNumber >= kMaxLanguages || key[0] == '\0' || std::strlen(key) > kMaxKeyLength)
            continue;
        // A language without a display name is listed under its key, so that
        // its menu item is never blank.
        if (add_string(m_ppLangKeys, m_nLangNumber, piece) != 0)
            continue;
        if (add_string(m_ppLangNames, m_nLangNumber, value[0] ? value : piece) != 0) {
            delete[] m_ppLangKeys[m_nLangNumber];
            m_ppLangKeys[m_nLangNumber] = nullptr;
            continue;
        }
        ++m_nLangNumber;
    }
    std::fclose(f);

    std::strcpy(m_szDefault, g_szDefaultLang);
    std::strcpy(m_szLang, g_szDefaultLang);
    return m_nLangNumber > 0 ? 0 : -1;
}

int CLang::SetLang(char* pszName)
{
    const char* name = (pszName && pszName[0]) ? pszName : g_szDefaultLang;
    for (int i = 0; i < m_nLangNumber; ++i) {
        if (std::strcmp(name, m_ppLangKeys[i]) != 0)
            continue;
        // List keys are at most 31 bytes, so the name fits.
        std::strcpy(m_szLang, m_ppLangKeys[i]);
        m_nLangIndex = i;
        Clear();
        int result = Load();
        return std::strcmp(m_szLang, g_szDefaultLang) == 0 ? 0 : result;
    }
    return -1;
}

int CLang::SetLangIndex(int nIndex)
{
    if (nIndex < 0 || nIndex >= m_nLangNumber)
        return 0;
    return SetLang(m_ppLangKeys[nIndex]);
}

char* CLang::GetLang()
{
    return m_szLang;
}

int CLang::GetLangIndex()
{
    return m_nLangIndex;
}

int CLang::GetLangNumber()
{
    return m_nLangNumber;
}

char* CLang::GetLangName(int nIndex)
{
    if (nIndex < 0 || nIndex >= m_nLangNumber)
        return nullptr;
    return get_string(m_ppLangNames, nIndex);
}

char* CLang::GetText(const char* pszKey)
{
    if (pszKey && pszKey[0]) {
        for (int i = 0; i < m_nCount; ++i) {
            if (std::strcmp(m_ppKeys[i], pszKey) == 0)
                return m_ppTexts[i];
        }
    }
    return const_cast<char*>(pszKey);
}

char* CLang::GetIndex(const char* pszText)
{
    if (pszText && pszText[0]) {
        for (int i = 0; i < m_nCount; ++i) {
            if (std::strcmp(m_ppTexts[i], pszText) == 0)
                return m_ppKeys[i];
        }
    }
    return const_cast<char*>(pszText);
}

char* CLang::GetDatDir()
{
    return m_szDatDir;
}

int CLang::Clear()
{
    free_strings(m_ppKeys);
    free_strings(m_ppTexts);
    m_ppKeys = m_ppTexts = nullptr;
    m_nCount = 0;
    return 0;
}

int CLang::Load()
{
    char path[260];
    if (JoinPath(path, sizeof path, m_szDatDir, kSep, m_szLang) &&
        std::strlen(path) + 4 < sizeof path) {
        std::strcat(path, ".txt");
        if (LoadLang(path) == 0)
            return 0;
        path[std::strlen(path) - 4] = '\0';
        return LoadLang(path);
    }
    return -1;
}

int CLang::LoadLang(char* pszPath)
{
    Clear();
    std::FILE* f = std::fopen(pszPath, "rb");
    if (!f)
        return -1;
    char piece[kTablePiece];
    int pieces = 0;
    while (pieces < kMaxTexts && std::fgets(piece, sizeof piece, f))
        ++pieces;
    // One slot more than needed: the arrays end with an empty slot.
    m_ppKeys = new (std::nothrow) char*[pieces + 1]();
    m_ppTexts = new (std::nothrow) char*[pieces + 1]();
    if (!m_ppKeys || !m_ppTexts) {
        std::fclose(f);
        Clear();
        return -1;
    }
    std::rewind(f);
    while (m_nCount < pieces && std::fgets(piece, sizeof piece, f)) {
        StripLineEnd(piece);
        char* eq = std::strchr(piece, '=');
        if (!eq || eq == piece)
            continue;
        *eq = '\0';
        if (add_string(m_ppKeys, m_nCount, piece) != 0)
            continue;
        // An empty text is a valid entry: the key then shows as nothing.
        m_ppTexts[m_nCount] = CopyText(eq + 1);
        if (!m_ppTexts[m_nCount]) {
            std::fclose(f);
            Clear();
            return -1;
        }
        ++m_nCount;
    }
    std::fclose(f);
    return 0;
}

int CLang::add_string(char** ppArray, int nIndex, char* pszText)
{
    if (!ppArray || !pszText || !pszText[0])
        return -1;
    char* copy = CopyText(pszText);
    if (!copy)
        return -1;
    ppArray[nIndex] = copy;
    return 0;
}

char* CLang::get_string(char** ppArray, int nIndex)
{
    return ppArray ? ppArray[nIndex] : nullptr;
}

int CLang::free_strings(char** ppArray)
{
    if (!ppArray)
        return -1;
    for (int i = 0; ppArray[i]; ++i)
        delete[] ppArray[i];
    delete[] ppArray;
    if (ppArray == m_ppLangKeys)
        m_ppLangKeys = nullptr;
    if (ppArray == m_ppLangNames)
        m_ppLangNames = nullptr;
    return 0;
}
