#pragma once
#include <string>

// Opens a document or address with the shell's "open" verb. Above 32: it
// was opened; otherwise the shell's error code.
int OpenLink(const std::string& target, int showCommand);
