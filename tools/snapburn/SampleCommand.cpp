#include "SampleCommand.h"

#include <cstdlib>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

#include "SamplePictures.h"
#include "engine/recorder/ImageFiles.h"
#include "framework/CException.h"
#include "framework/FileHelpers.h"
#include "photo/CProjectInfo.h"
#include "photo/ProjectFile.h"

static_assert(kSampleFileCount == kSamplePictureKinds, "one file name for every sample picture");

namespace {

constexpr long kDefaultDelay = 5;
constexpr int kJpegQuality = 90;

#ifdef _WIN32
const char kSeparator = '\\';
#else
const char kSeparator = '/';
#endif

bool ParseArguments(int argc, char** argv, std::string& folder, long& delay, std::FILE* err)
{
    for (int i = 0; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--delay") {
            if (i + 1 >= argc) {
                std::fprintf(err, "snapburn sample: --delay needs a value\n");
                return false;
            }
            char* end = nullptr;
            const char* value = argv[++i];
            delay = std::strtol(value, &end, 10);
            if (*value == '\0' || *end != '\0' || delay < 0 || delay > 60000) {
                std::fprintf(err, "snapburn sample: the delay must be a number of seconds from 0 to 60000\n");
                return false;
            }
        } else if (arg.size() > 1 && arg[0] == '-') {
            std::fprintf(err, "snapburn sample: unknown option %s\n", arg.c_str());
            return false;
        } else if (folder.empty() && !arg.empty()) {
            folder = arg;
        } else {
            std::fprintf(err, "snapburn sample: one folder is needed\n");
            return false;
        }
    }
    if (folder.empty()) {
        std::fprintf(err, "snapburn sample: a folder is needed\n");
        return false;
    }
    return true;
}

// The folder's full path, ending in a separator, as the program's file
// dialogs give paths: the project must open from wherever it is started.
bool FullFolderPath(const std::string& folder, std::string& full)
{
#ifdef _WIN32
    char buffer[MAX_PATH * 2] = "";
    DWORD length = GetFullPathNameA(folder.c_str(), sizeof buffer, buffer, nullptr);
    if (length == 0 || length >= sizeof buffer)
        return false;
    full = buffer;
#else
    char* resolved = realpath(folder.c_str(), nullptr);
    if (!resolved)
        return false;
    full = resolved;
    std::free(resolved);
#endif
    if (full.empty() || (full.back() != '/' && full.back() != '\\'))
        full += kSeparator;
    return true;
}

}  // namespace

int RunSampleCommand(int argc, char** argv, std::FILE* out, std::FILE* err)
{
    std::string folder;
    long delay = kDefaultDelay;
    if (!ParseArguments(argc, argv, folder, delay, err))
        return 2;

    std::string full;
    if (!CreateFolders(folder) || !FullFolderPath(folder, full)) {
        std::fprintf(err, "snapburn: %s: the folder cannot be created\n", folder.c_str());
        return 1;
    }

    CProjectInfo project;
    for (int i = 0; i < kSampleFileCount; ++i) {
        std::string path = full + kSamplePictureFiles[i];
        std::vector<uint8_t> jpeg;
        if (!EncodeJpeg(DrawSamplePicture(i + 1), kJpegQuality, jpeg) || !WriteWholeFile(path, jpeg)) {
            std::remove(path.c_str());
            std::fprintf(err, "snapburn: %s: the file cannot be written\n", path.c_str());
            return 1;
        }
        project.m_arrPaths.push_back(path);
        project.m_arrDelays.push_back(static_cast<uint32_t>(delay));
    }

    // As the program saves a project: its title and file, then the count
    // and total size taken from the pictures just written.
    const std::string projectPath = full + kSampleProjectFile;
    project.m_strTitle = kSampleProjectTitle;
    project.m_strPath = projectPath;
    project.PrepareForSave();
    try {
        WriteProjectFile(projectPath, project);
    } catch (const CException& e) {
        std::fprintf(err, "snapburn: %s\n", e.GetErrorMessage().c_str());
        return 1;
    }
    std::fprintf(out, "project: %s\n", projectPath.c_str());
    return 0;
}
