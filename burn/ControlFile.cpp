#include "ControlFile.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "framework/FileHelpers.h"

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
    char line[260];
    while (std::fgets(line, sizeof line, f)) {
        size_t len = std::strlen(line);
        while (len > 0 && line[len - 1] == '\n')
            line[--len] = '\0';
        while (len > 0 && line[len - 1] == '\r')
            line[--len] = '\0';
        if (len == 0 || line[0] == ';')
            continue;
        std::string text(line, len);
        text += ',';  // a missing final "," is supplied
        size_t first = text.find(',');
        size_t second = text.find(',', first + 1);
        ControlEntry entry;
        entry.path = text.substr(0, first);
        entry.delaySeconds = std::strtoll(text.substr(first + 1, second - first - 1).c_str(), nullptr, 10);
        entries.push_back(entry);
    }
    std::fclose(f);
    return true;
}
