#include "ShowCommand.h"

#include "framework/CException.h"
#include "photo/CProjectInfo.h"
#include "photo/ProjectFile.h"

namespace {

// Titles and paths are narrow text as stored: written byte for byte.
void PrintField(std::FILE* out, const char* label, const std::string& value)
{
    std::fputs(label, out);
    std::fwrite(value.data(), 1, value.size(), out);
    std::fputc('\n', out);
}

}  // namespace

int RunShowCommand(const std::string& path, std::FILE* out, std::FILE* err)
{
    std::unique_ptr<CProjectInfo> project;
    try {
        project = ReadProjectFile(path);
    } catch (const CException& e) {
        std::fprintf(err, "snapburn: %s\n", e.GetErrorMessage().c_str());
        return 2;
    }
    PrintField(out, "title: ", project->m_strTitle);
    PrintField(out, "path: ", project->m_strPath);
    std::fprintf(out, "photos: %d\n", static_cast<int>(project->m_nPhotoCount));
    std::fprintf(out, "total-kb: %d\n", static_cast<int>(project->m_nTotalKB));
    std::fprintf(out, "paths: %zu\n", project->m_arrPaths.size());
    std::fprintf(out, "delays: %zu\n", project->m_arrDelays.size());
    size_t n = project->GetRebuildCount();
    for (size_t i = 0; i < n; ++i) {
        std::fprintf(out, "%zu: %u ", i + 1, static_cast<unsigned>(project->m_arrDelays[i]));
        std::fwrite(project->m_arrPaths[i].data(), 1, project->m_arrPaths[i].size(), out);
        std::fputc('\n', out);
    }
    return std::fflush(out) == 0 ? 0 : 2;
}
