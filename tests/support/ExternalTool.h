#pragma once
#include <cstdio>
#include <cstdlib>
#include <string>

// Debian's independent tools (ffmpeg, ffprobe, mplex) check what the engine
// writes. They exist only in the native build's world: tests that need them
// skip themselves under Wine or when a tool is missing.
inline bool HaveTool(const std::string& name)
{
#ifdef _WIN32
    (void)name;
    return false;
#else
    return std::system(("command -v " + name + " >/dev/null 2>&1").c_str()) == 0;
#endif
}

// Runs a shell command; returns its exit status and what it printed on
// standard output.
inline int RunTool(const std::string& command, std::string* output = nullptr)
{
#ifdef _WIN32
    (void)command;
    (void)output;
    return -1;
#else
    std::FILE* p = popen(command.c_str(), "r");
    if (!p)
        return -1;
    std::string text;
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0)
        text.append(buf, n);
    int status = pclose(p);
    if (output)
        *output = text;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
}

#define SKIP_WITHOUT_TOOL(name)                                              \
    do {                                                                     \
        if (!HaveTool(name))                                                 \
            GTEST_SKIP() << name << " is not available here";               \
    } while (0)
