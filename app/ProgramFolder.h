#pragma once
#include <string>

// The folder of the program file, from the module path: drive, a separator,
// then the directory without leading or trailing separators. "D:\Apps\x.exe"
// gives "D:\Apps"; a program in a drive's root gives "D:\" (with the
// separator); a UNC path keeps its leading "\\".
std::string ProgramFolderFromModulePath(const std::string& modulePath);
