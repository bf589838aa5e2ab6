#pragma once
#include <cstdio>
#include <string>
#include <vector>

#include "support/TempDir.h"

// What one of snapburn's commands did: its exit status and what it wrote.
struct CommandOutcome {
    int status;
    std::string out, err;
};

// Runs a command function (argc, argv, out, err) on the arguments.
template <class Command>
CommandOutcome RunCommand(Command command, std::vector<std::string> args)
{
    TempDir dir;
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(&a[0]);
    std::FILE* out = std::fopen(dir.File("out").c_str(), "wb");
    std::FILE* err = std::fopen(dir.File("err").c_str(), "wb");
    int status = command(static_cast<int>(argv.size()), argv.data(), out, err);
    std::fclose(out);
    std::fclose(err);
    return {status, TempDir::Read(dir.File("out")), TempDir::Read(dir.File("err"))};
}
