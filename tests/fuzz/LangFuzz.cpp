// The language list and a language file from one input: the bytes before
// the first two zero bytes are lang.ini, those after them the file of the
// language the last byte picks (0: the default). Every lookup must give a
// terminated text or, where documented, null.
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "lang/CLang.h"

namespace {

// A key the list may name, if it can be a file name of the lang folder.
bool IsPlainFileName(const std::string& key)
{
    return !key.empty() && key != "." && key != ".." && key.find('/') == std::string::npos;
}

// The parts of the language file's lines before and after their first "=".
void KeysAndTexts(const std::string& file, std::vector<std::string>& keys, std::vector<std::string>& texts)
{
    size_t start = 0;
    while (start < file.size() && keys.size() < 64) {
        size_t end = file.find('\n', start);
        std::string line = file.substr(start, end == std::string::npos ? std::string::npos : end - start);
        while (!line.empty() && line.back() == '\r')
            line.pop_back();
        size_t eq = line.find('=');
        keys.push_back(line.substr(0, eq));
        if (eq != std::string::npos)
            texts.push_back(line.substr(eq + 1));
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
}

}  // namespace

FUZZ_TARGET(FuzzLang)
{
    ControlBytes control(data, size);
    const uint8_t choice = control.Byte();
    const std::string input(reinterpret_cast<const char*>(data), control.Remaining());
    const size_t split = input.find(std::string("\0\0", 2));
    const std::string list = input.substr(0, split);
    const std::string table = split == std::string::npos ? std::string() : input.substr(split + 2);

    namespace fs = std::filesystem;
    const std::string folder = ScratchDir() + "/program";
    std::error_code ec;
    fs::remove_all(folder, ec);
    WriteScratchFile("program/lang.ini", reinterpret_cast<const uint8_t*>(list.data()), list.size());

    CLang lang;
    std::vector<char> folderArg(folder.begin(), folder.end());
    folderArg.push_back('\0');
    const bool listed = lang.Init(folderArg.data()) == 0;
    const int count = lang.GetLangNumber();
    FUZZ_CHECK(listed == (count > 0));
    FUZZ_CHECK(count >= 0 && count <= 32);
    for (int i = 0; i < count; ++i) {
        const char* name = lang.GetLangName(i);
        FUZZ_CHECK(name != nullptr && name[0] != '\0');
    }
    FUZZ_CHECK(lang.GetLangName(-1) == nullptr && lang.GetLangName(count) == nullptr);

    // The language file goes where the chosen key's table is looked for:
    // "<key>.txt", or "<key>" when the choice's top bit is set.
    std::string key = g_szDefaultLang;
    if (choice != 0 && count > 0) {
        lang.SetLangIndex((choice & 0x7F) % count);  // picks the key; its table is not there yet
        key = lang.GetLang();
    }
    if (IsPlainFileName(key)) {
        const std::string name = "program/lang/" + key + ((choice & 0x80) ? "" : ".txt");
        WriteScratchFile(name, reinterpret_cast<const uint8_t*>(table.data()), table.size());
    }
    std::vector<char> keyArg(key.begin(), key.end());
    keyArg.push_back('\0');
    lang.SetLang(choice == 0 ? nullptr : keyArg.data());
    FUZZ_CHECK(std::strlen(lang.GetLang()) < 32);

    std::vector<std::string> keys, texts;
    KeysAndTexts(table, keys, texts);
    for (const std::string& k : keys) {
        const char* text = lang.GetText(k.c_str());
        FUZZ_CHECK(text != nullptr);
        (void)std::strlen(text);
    }
    for (const std::string& t : texts) {
        const char* found = lang.GetIndex(t.c_str());
        FUZZ_CHECK(found != nullptr);
        (void)std::strlen(found);
    }
    FUZZ_CHECK(lang.GetText(nullptr) == nullptr && lang.GetIndex(nullptr) == nullptr);
    FUZZ_CHECK(std::strcmp(lang.GetText(""), "") == 0);
    return 0;
}
