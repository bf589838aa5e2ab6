#pragma once
#include <string>

// Puts the file at `from` in the place of the file at `to`, replacing it in
// one step (written through to the disk). When that is refused, throws
// CFileException naming `to`; both files are then as they were.
void ReplaceFileWith(const std::string& from, const std::string& to);
