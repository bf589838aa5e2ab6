#pragma once
#include <string>

// Opens a document or address with the shell's "open" verb and, when the
// shell cannot, with the browser registered for ".htm" pages. Above 32: it
// was opened; otherwise the shell's error code.
int OpenLink(const std::string& target, int showCommand);

// Tells the user why OpenLink failed.
void ReportOpenError(int code);
