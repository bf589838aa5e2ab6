#pragma once
#include <functional>
#include <string>

class CRecorderInfo;

// The status strip's line and the shorter text the burn dialog shows: the
// project, the recorder and the disc in it. Texts come from the lookup
// (the language tables); they carry their own spacing.
struct StatusFacts {
    std::string projectName, projectPath;
    int photoCount = 0;  // as stored with the project
    int totalKB = 0;
    const CRecorderInfo* recorder = nullptr;
    std::string recorderLine;  // the recorder box's current line
};
using TextLookup = std::function<std::string(const char* key)>;

void ComposeStatusText(const StatusFacts& facts, const TextLookup& text, std::string& status,
                       std::string& burnInfo);

// What the disc is: its kinds and speed, or that there is none.
std::string DiscText(const CRecorderInfo* recorder, const TextLookup& text);
