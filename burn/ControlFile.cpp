#include "ControlFile.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "framework/FileHelpers.h"

namespace {

// What a burn's control file may hold: the program writes one line per
// photo, and a disc takes at most 1,900 photos; no path is longer than the
// longest Windows can name.
const size_t kMaxEntries = 1900;
const size_t kMaxLineBytes = 32768;  // without its line end

enum class Line { read, end, bad };

// One line, its end of line included. A line too long, or holding a zero
// byte (which no path has), is bad: the file is damaged.
Line ReadLine(std::FILE* f, std::string& line)
{
    line.clear();
    int c;
    while ((c = std::getc(f)) != EOF) {
        if (c == 0 || line.size() > kMaxLineBytes + 8)  // room for CRs before the LF
            return Line::bad;
        line += static_cast<char>(c);
        if (c == '\n')
            break;
    }
    if (line.empty())
        return Line::end;
    size_t text = line.size();
    while (text > 0 && (line[text - 1] == '\n' || line[text - 1] == '\r'))
        --text;
    return text > kMaxLineBytes ? Line::bad : Line::read;
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
    Line state;
    while ((state = ReadLine(f, text)) == Line::read) {
        while (!text.empty() && text.back() == '\n')
            text.pop_back();
        while (!text.empty() && text.back() == '\r')
            text.pop_back();
        if (text.empty() || text[0] == ';')
            continue;
        if (entries.size() == kMaxEntries) {
            state = Line::bad;
            break;
        }
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
    if (state == Line::bad) {
        entries.clear();
        return false;
    }
    return true;
}
