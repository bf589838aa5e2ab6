#include "ControlFile.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "framework/FileHelpers.h"

namespace {

// One line of any length, its end of line included; false at the end of the file.
bool ReadLine(std::FILE* f, std::string& line)
{
    line.clear();
    char chunk[260];
    while (std::fgets(chunk, sizeof chunk, f)) {
        line += chunk;
        if (!line.empty() && line.back() == '\n')
            break;
    }
    return !line.empty();
}

}  // namespace

bool WriteControlFile(const std::string& file, const std::vector<std::string>& paths,
                      const std::vector<uint32_t>& delays)
{
    std::FILE* f = std::fopen(file.c_str(), "wb");
    if (!f)
        return false;
    bool ok = true;
    for (size_t i = 0; i < paths.size() && i < delays.size(); ++i) {
        if (!FileExists(paths[i]))
            continue;
        ok = std::fprintf(f, "%s,%u\r\n", paths[i].c_str(), static_cast<unsigned>(delays[i])) > 0 && ok;
    }
    return std::fclose(f) == 0 && ok;
}

bool ReadControlFile(const std::string& file, std::vector<ControlEntry>& entries)
{
    std::FILE* f = std::fopen(file.c_str(), "rb");
    if (!f)
        return false;
    entries.clear();
    std::string text;
    while (ReadLine(f, text)) {
        while (!text.empty() && text.back() == '\n')
            text.pop_back();
        while (!text.empty() && text.back() == '\r')
            text.pop_back();
        if (text.empty() || text[0] == ';')
            continue;
        // A path may hold commas ("Rome, 2003"): the delay follows the last
        // one, once a final comma is dropped.
        if (text.back() == ',')
            text.pop_back();
        size_t comma = text.rfind(',');
        ControlEntry entry;
        entry.path = text.substr(0, comma);
        if (comma != std::string::npos)
            entry.delaySeconds = std::strtoll(text.c_str() + comma + 1, nullptr, 10);
        entries.push_back(entry);
    }
    std::fclose(f);
    return true;
}
