#include "ProjectFile.h"

#include "CProjectInfo.h"
#include "framework/CArchive.h"
#include "framework/CFile.h"

void WriteProjectFile(const std::string& path, CProjectInfo& project)
{
    CFile file(path, CFile::modeCreate | CFile::modeWrite);
    CArchive ar(file, CArchive::store);
    ar.WriteObject(project);
    ar.Close();
    file.Close();
}

std::unique_ptr<CProjectInfo> ReadProjectFile(const std::string& path)
{
    CFile file(path, CFile::modeRead);
    CArchive ar(file, CArchive::load);
    return ar.ReadObject<CProjectInfo>();
}
