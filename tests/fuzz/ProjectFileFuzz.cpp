// The project reader on any bytes: a project comes back, or the framework's
// exception says why not. A project read back is written and read again,
// and must come back the same.
#include <memory>

#include "FuzzSupport.h"
#include "framework/CArchiveException.h"
#include "framework/CFileException.h"
#include "photo/CProjectInfo.h"
#include "photo/ProjectFile.h"

namespace {

std::unique_ptr<CProjectInfo> Read(const std::string& path)
{
    try {
        return ReadProjectFile(path);
    } catch (const CArchiveException&) {
    } catch (const CFileException&) {
    }
    return nullptr;
}

}  // namespace

FUZZ_TARGET(FuzzProjectFile)
{
    std::unique_ptr<CProjectInfo> project = Read(WriteScratchFile("project.snz", data, size));
    if (!project)
        return 0;
    FUZZ_CHECK(project->GetRebuildCount() <= project->m_arrPaths.size());
    FUZZ_CHECK(project->GetRebuildCount() <= project->m_arrDelays.size());

    const std::string copy = ScratchDir() + "/copy.snz";
    WriteProjectFile(copy, *project);
    std::unique_ptr<CProjectInfo> again = Read(copy);
    FUZZ_CHECK(again != nullptr);
    FUZZ_CHECK(again->m_strTitle == project->m_strTitle && again->m_strPath == project->m_strPath);
    FUZZ_CHECK(again->m_nPhotoCount == project->m_nPhotoCount && again->m_nTotalKB == project->m_nTotalKB);
    FUZZ_CHECK(again->m_arrPaths == project->m_arrPaths && again->m_arrDelays == project->m_arrDelays);
    return 0;
}
