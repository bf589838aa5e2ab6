#include "BurnCommand.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <unistd.h>

#include "burn/ControlFile.h"
#include "burn/VideoCdJob.h"
#ifdef _WIN32
#include "engine/mmc/DriveDiscovery_win.h"
#elif defined(__linux__)
#include "engine/mmc/SgIoTransport_posix.h"
#endif
#include "engine/api/Engine.h"
#include "engine/mmc/SimulatedDrive.h"
#include "engine/recorder/DriveRecorder.h"
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
    bool verify = true;
    bool index = true;
    std::string device;  // empty: the image recorder
};

bool ParseArguments(int argc, char** argv, BurnArguments& a, std::FILE* err)
{
    for (int i = 0; i < argc; ++i) {
        std::string arg = argv[i];
        if ((arg == "--delay" || arg == "--out" || arg == "--device") && i + 1 >= argc) {
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
        } else if (arg == "--no-verify") {
            a.verify = false;
        } else if (arg == "--no-index") {
            a.index = false;
        } else if (arg == "--device") {
            a.device = argv[++i];
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

// The files the simulated drive records into: "Snapdisc simulated
// drive.bin" and its CUE sheet in the image folder.
std::string SimulatedDiscBase(const std::string& folder)
{
    return (folder.empty() ? std::string(".") : folder) + "/Snapdisc simulated drive";
}

// The drive --device names, added to the engine's recorders: "simulated"
// or "simulated:FAULT" (see SimulatedDrive; it records into the image
// folder), a drive letter on Windows, a device node on Linux. False with a
// message when there is no such drive or it cannot write CDs.
bool AddDevice(const BurnArguments& a, SimulatedDrive*& simulated, std::FILE* err)
{
    const std::string& device = a.device;
    std::unique_ptr<ScsiTransport> transport;
    std::string error;
    char letter = 0;
    if (device == "simulated" || device.rfind("simulated:", 0) == 0) {
        SimulatedDriveSetup setup;
        if (device.size() > 10 && !SimulatedDrive::ParseFault(device.substr(10), setup.fault)) {
            std::string names;
            for (const std::string& name : SimulatedDrive::FaultNames())
                names += " " + name;
            std::fprintf(err, "snapburn: %s: no such fault of the simulated drive; there are:%s\n",
                         device.substr(10).c_str(), names.c_str());
            return false;
        }
        std::error_code ignored;
        std::filesystem::create_directories(a.outFolder.empty() ? "." : a.outFolder, ignored);
        setup.imageFile = SimulatedDiscBase(a.outFolder) + ".bin";
        auto drive = std::make_unique<SimulatedDrive>(setup);
        if (!drive->ImageFileOk()) {
            std::fprintf(err, "snapburn: %s: the simulated drive cannot record here\n", setup.imageFile.c_str());
            return false;
        }
        simulated = drive.get();
        transport = std::move(drive);
    } else {
#ifdef _WIN32
        letter = static_cast<char>(std::toupper(static_cast<unsigned char>(device[0])));
        if (device.size() <= 2 && (device.size() == 1 || device[1] == ':'))
            transport = OpenCdDrive(letter, error);
        else
            error = device + ": name a drive by its letter, such as E:";
#elif defined(__linux__)
        transport = SgIoTransport::Open(device, error);
#else
        error = device + ": drives cannot be reached on this system";
#endif
    }
    if (!transport) {
        std::fprintf(err, "snapburn: %s\n", error.c_str());
        return false;
    }
    std::unique_ptr<DriveRecorder> recorder = DriveRecorder::Probe(letter, std::move(transport));
    if (!recorder) {
        std::fprintf(err, "snapburn: %s: the drive cannot write CDs\n", device.c_str());
        return false;
    }
    Engine::Instance().AddRecorder(std::move(recorder));
    return true;
}

// The CUE sheet of what the simulated drive recorded, beside its BIN; or,
// when the burn did not complete, no files at all.
bool SaveRecordedDisc(const SimulatedDrive& drive, bool burned, const std::string& folder, std::FILE* out,
                      std::FILE* err)
{
    const std::string base = SimulatedDiscBase(folder);
    const std::string bin = base + ".bin", cue = base + ".cue";
    if (!burned) {
        std::remove(bin.c_str());
        return false;
    }
    const std::string sheet = drive.CueText("Snapdisc simulated drive.bin");
    if (!drive.ImageFileOk() || !WriteWholeFile(cue, std::vector<uint8_t>(sheet.begin(), sheet.end()))) {
        std::fprintf(err, "snapburn: %s: the recorded disc cannot be saved\n", base.c_str());
        std::remove(bin.c_str());
        return false;
    }
    std::fprintf(out, "recorded by the simulated drive\ncue: %s\nbin: %s\n", cue.c_str(), bin.c_str());
    return true;
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
    if (!a.index)
        config.index = false;

    SimulatedDrive* simulated = nullptr;
    if (!a.device.empty() && !AddDevice(a, simulated, err)) {
        NeroDone();
        return 1;
    }
    int result = ENGINE_BURN_FAILED;
    // The image recorder comes first; a drive given by --device last.
    EngineRecorderList* recorders = NeroGetAvailableDrivesEx(ENGINE_MEDIA_CD, nullptr);
    const int chosen = recorders && recorders->count > 0 ? (a.device.empty() ? 0 : recorders->count - 1) : -1;
    EngineDeviceHandle device = chosen >= 0 ? NeroOpenDevice(&recorders->recorders[chosen]) : nullptr;
    if (device) {
        Progress progress{out, err, std::chrono::steady_clock::now()};
        EngineProgress callbacks{};
        callbacks.progress = OnProgress;
        callbacks.aborted = OnAborted;
        callbacks.addLogLine = OnLogLine;
        callbacks.userData = &progress;
        unsigned int flags = ENGINE_BURN_DISC_AT_ONCE | ENGINE_BURN_CLOSE_SESSION |
                             (a.simulate ? ENGINE_BURN_SIMULATE : ENGINE_BURN_WRITE) |
                             (a.verify ? 0u : unsigned{ENGINE_BURN_NO_VERIFY});
        result = NeroBurn(device, ENGINE_FORMAT_VIDEO_CD, &job, flags, 0, &callbacks);
        std::fputc('\n', out);
        NeroCloseDevice(device);
    }
    NeroFreeMem(recorders);
    const bool written = result == ENGINE_BURN_OK && !a.simulate;
    // The simulated drive's recording is kept only when the burn completed.
    if (simulated && !SaveRecordedDisc(*simulated, written, a.outFolder, out, err) && written)
        result = ENGINE_BURN_FAILED;
    if (result == ENGINE_BURN_OK && a.simulate) {
        std::fprintf(out, "simulation complete: nothing was written\n");
    } else if (result == ENGINE_BURN_OK && a.device.empty()) {
        std::fprintf(out, "cue: %s\nbin: %s\n", Engine::Instance().LastCue().c_str(), Engine::Instance().LastBin().c_str());
    } else if (result == ENGINE_BURN_OK && !simulated) {
        std::fprintf(out, "the disc is written\n");
    } else if (result == ENGINE_BURN_USER_ABORT) {
        std::fprintf(err, a.device.empty() ? "snapburn: aborted; nothing was written\n" : "snapburn: aborted\n");
        PrintErrors(err);  // what a drive stopped part way means for its disc
    } else if (result != ENGINE_BURN_OK) {
        PrintErrors(err);
    }
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
