#include "BurnCommand.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <unistd.h>

#include "burn/ControlFile.h"
#include "burn/VideoCdJob.h"
#include "engine/api/Engine.h"
#include "engine/include/NeroAPI.h"
#include "framework/CException.h"
#include "framework/FileHelpers.h"
#include "photo/CProjectInfo.h"
#include "photo/ProjectFile.h"

namespace {

std::atomic<bool> g_interrupted{false};

extern "C" void OnInterrupt(int)
{
    g_interrupted.store(true);
}

struct BurnArguments {
    std::string project;
    std::vector<std::string> pictures;
    long delay = 10;
    bool haveDelay = false;
    std::string outFolder;
    int videoSystem = 0;  // 0 the engine's default, 1 PAL, 2 NTSC
    bool simulate = false;
};

bool ParseArguments(int argc, char** argv, BurnArguments& a, std::FILE* err)
{
    for (int i = 0; i < argc; ++i) {
        std::string arg = argv[i];
        if ((arg == "--delay" || arg == "--out") && i + 1 >= argc) {
            std::fprintf(err, "snapburn burn: %s needs a value\n", arg.c_str());
            return false;
        }
        if (arg == "--delay") {
            char* end = nullptr;
            a.delay = std::strtol(argv[++i], &end, 10);
            if (*end != '\0' || a.delay < 0 || a.delay > 60000) {
                std::fprintf(err, "snapburn burn: the delay must be a number of seconds from 0 to 60000\n");
                return false;
            }
            a.haveDelay = true;
        } else if (arg == "--out") {
            a.outFolder = argv[++i];
        } else if (arg == "--pal") {
            a.videoSystem = 1;
        } else if (arg == "--ntsc") {
            a.videoSystem = 2;
        } else if (arg == "--simulate") {
            a.simulate = true;
        } else if (arg.size() > 1 && arg[0] == '-') {
            std::fprintf(err, "snapburn burn: unknown option %s\n", arg.c_str());
            return false;
        } else {
            a.pictures.push_back(arg);
        }
    }
    if (a.pictures.empty()) {
        std::fprintf(err, "snapburn burn: a project file or pictures are needed\n");
        return false;
    }
    if (!a.haveDelay && a.pictures.size() == 1) {
        a.project = a.pictures.front();
        a.pictures.clear();
    }
    return true;
}

// The photos to burn: the project's, or the pictures given with one delay.
bool CollectPhotos(const BurnArguments& a, std::vector<std::string>& paths, std::vector<uint32_t>& delays,
                   std::FILE* err)
{
    if (a.project.empty()) {
        paths = a.pictures;
        delays.assign(paths.size(), static_cast<uint32_t>(a.delay));
        return true;
    }
    try {
        std::unique_ptr<CProjectInfo> project = ReadProjectFile(a.project);
        size_t n = project->GetRebuildCount();
        paths.assign(project->m_arrPaths.begin(), project->m_arrPaths.begin() + static_cast<long>(n));
        delays.assign(project->m_arrDelays.begin(), project->m_arrDelays.begin() + static_cast<long>(n));
        return true;
    } catch (const CException& e) {
        std::fprintf(err, "snapburn: %s\n", e.GetErrorMessage().c_str());
        return false;
    }
}

struct Progress {
    std::FILE* out;
    std::FILE* err;
    std::chrono::steady_clock::time_point start;
};

int OnIdle(void*)
{
    return g_interrupted.load() ? 1 : 0;
}

int OnProgress(void* data, unsigned int percent)
{
    Progress* p = static_cast<Progress*>(data);
    auto seconds = std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - p->start).count();
    std::fprintf(p->out, "\r%3u%%  %02ld:%02ld", percent, static_cast<long>(seconds / 60), static_cast<long>(seconds % 60));
    std::fflush(p->out);
    return g_interrupted.load() ? 1 : 0;
}

int OnAborted(void*)
{
    return g_interrupted.load() ? 1 : 0;
}

// A photo burned despite a fault: the engine's line names the photo.
void OnLogLine(void* data, int kind, const char* text)
{
    Progress* p = static_cast<Progress*>(data);
    std::fputc('\n', p->out);
    std::fflush(p->out);
    std::fprintf(p->err, "snapburn: %s%s\n", kind == ENGINE_LOG_WARNING ? "warning: " : "", text);
}

void PrintErrors(std::FILE* err)
{
    char* log = NeroGetErrorLog();
    if (log) {
        for (char* line = std::strtok(log, "\n"); line; line = std::strtok(nullptr, "\n"))
            std::fprintf(err, "snapburn: %s\n", line);
        NeroFreeMem(log);
    }
}

int Burn(const EngineVideoCdJob& job, const BurnArguments& a, std::FILE* out, std::FILE* err)
{
    EngineSettings settings{};
    settings.filesPath = "xpfiles";
    settings.vendor = "windows";
    settings.software = "burning";
    settings.languageFile = "burning.txt";
    settings.idle = OnIdle;
    if (NeroInit(&settings, nullptr) != 0) {
        std::fprintf(err, "snapburn: the engine cannot start\n");
        return 1;
    }
    EngineConfig& config = Engine::Instance().Config();
    if (!a.outFolder.empty())
        config.imageFolder = a.outFolder;
    if (a.videoSystem != 0)
        config.ntsc = a.videoSystem == 2;

    int result = ENGINE_BURN_FAILED;
    EngineRecorderList* recorders = NeroGetAvailableDrivesEx(ENGINE_MEDIA_CD, nullptr);
    EngineDeviceHandle device = recorders && recorders->count > 0 ? NeroOpenDevice(&recorders->recorders[0]) : nullptr;
    if (device) {
        Progress progress{out, err, std::chrono::steady_clock::now()};
        EngineProgress callbacks{};
        callbacks.progress = OnProgress;
        callbacks.aborted = OnAborted;
        callbacks.addLogLine = OnLogLine;
        callbacks.userData = &progress;
        unsigned int flags = ENGINE_BURN_DISC_AT_ONCE | ENGINE_BURN_CLOSE_SESSION |
                             (a.simulate ? ENGINE_BURN_SIMULATE : ENGINE_BURN_WRITE);
        result = NeroBurn(device, ENGINE_FORMAT_VIDEO_CD, &job, flags, 0, &callbacks);
        std::fputc('\n', out);
        NeroCloseDevice(device);
    }
    NeroFreeMem(recorders);
    if (result == ENGINE_BURN_OK && !a.simulate)
        std::fprintf(out, "cue: %s\nbin: %s\n", Engine::Instance().LastCue().c_str(), Engine::Instance().LastBin().c_str());
    else if (result == ENGINE_BURN_OK)
        std::fprintf(out, "simulation complete: nothing was written\n");
    else if (result == ENGINE_BURN_USER_ABORT)
        std::fprintf(err, "snapburn: aborted; nothing was written\n");
    else
        PrintErrors(err);
    NeroClearErrors();
    NeroDone();
    return result == ENGINE_BURN_OK ? 0 : 1;
}

}  // namespace

int RunBurnCommand(int argc, char** argv, std::FILE* out, std::FILE* err)
{
    BurnArguments a;
    if (!ParseArguments(argc, argv, a, err))
        return 2;
    std::vector<std::string> paths;
    std::vector<uint32_t> delays;
    if (!CollectPhotos(a, paths, delays, err))
        return 2;

    // The program leaves photos whose files are gone off the disc; say so.
    for (const std::string& path : paths)
        if (!FileExists(path))
            std::fprintf(err, "snapburn: warning: %s: the file does not exist; it is left out\n", path.c_str());

    // The same control file the program writes, in the temporary folder.
#ifdef _WIN32
    const char* tmp = std::getenv("TEMP");
    const char* fallback = ".";
#else
    const char* tmp = std::getenv("TMPDIR");
    const char* fallback = "/tmp";
#endif
    std::string control = std::string(tmp && *tmp ? tmp : fallback) + "/snapburn-" + std::to_string(getpid()) + ".ctl";
    std::vector<ControlEntry> entries;
    if (!WriteControlFile(control, paths, delays) || !ReadControlFile(control, entries)) {
        std::fprintf(err, "snapburn: %s: the control file cannot be written\n", control.c_str());
        return 1;
    }
    std::remove(control.c_str());
    std::string error;
    VideoCdJobPtr job = MakeVideoCdJob(entries, error);
    if (!job) {
        std::fprintf(err, "snapburn: %s\n", error.c_str());
        return 1;
    }
    g_interrupted.store(false);
    auto previous = std::signal(SIGINT, OnInterrupt);
    int status = Burn(*job, a, out, err);
    std::signal(SIGINT, previous);
    return status;
}
