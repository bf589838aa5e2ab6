#include "ProjectFile.h"

#include <cstdio>

#include "CProjectInfo.h"
#include "framework/CArchive.h"
#include "framework/CFile.h"
#include "framework/CFileException.h"
#include "framework/FileReplace.h"

void WriteProjectFile(const std::string& path, CProjectInfo& project)
{
    // The new contents go to a file of their own beside the old one, which
    // is replaced only once they are complete: a save that fails half way
    // leaves the old project as it was.
    const std::string temporary = path + ".saving";
    try {
        CFile file(temporary, CFile::modeCreate | CFile::modeWrite);
        CArchive ar(file, CArchive::store);
        ar.WriteObject(project);
        ar.Close();
        file.Flush();
        file.Close();
        ReplaceFileWith(temporary, path);
    } catch (const CFileException& e) {
        std::remove(temporary.c_str());
        throw CFileException(e.m_cause, path);  // the user knows the project's name, not ours
    } catch (...) {
        std::remove(temporary.c_str());
        throw;
    }
}

std::unique_ptr<CProjectInfo> ReadProjectFile(const std::string& path)
{
    CFile file(path, CFile::modeRead);
    CArchive ar(file, CArchive::load);
    return ar.ReadObject<CProjectInfo>();
}
