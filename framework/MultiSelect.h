#pragma once
#include <cstddef>
#include <string>
#include <vector>

// Splits what a multiple-selection open dialog returns: either one full
// path, or a folder followed by file names, each ending in NUL, the list
// ending with an extra NUL. Never reads past size bytes.
std::vector<std::string> SplitMultiSelect(const char* buffer, size_t size);
