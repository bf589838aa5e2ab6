#pragma once
#include <cstdio>
#include <string>

// "snapburn show FILE.snz": prints the project stored in the file. Returns
// the exit status: 0 on success, 2 when the file cannot be read.
int RunShowCommand(const std::string& path, std::FILE* out, std::FILE* err);
