#pragma once
#include <memory>
#include <string>

class CProjectInfo;

// Writes a project file holding one archived project. The old file, if any,
// is replaced only by a complete new one: on failure it is left as it was,
// nothing else is left behind, and CFileException or CArchiveException is
// thrown.
void WriteProjectFile(const std::string& path, CProjectInfo& project);

// Reads a project file into a new project. A file that is short, foreign or
// damaged throws CArchiveException and yields nothing; one that cannot be
// opened throws CFileException. Bytes after the last field are ignored.
std::unique_ptr<CProjectInfo> ReadProjectFile(const std::string& path);
