#include "Engine.h"

#include "engine/recorder/DriveRecorder.h"
#include "engine/recorder/ImageRecorder.h"
#ifdef _WIN32
#include "engine/mmc/DriveDiscovery_win.h"
#endif

namespace {

// The machine's CD writers, each behind its drive letter. Drives that only
// read, or that cannot be opened, are left out. Elsewhere a drive is named
// by its device (snapburn's --device).
void AddMachineDrives(std::vector<std::unique_ptr<Recorder>>& recorders)
{
#ifdef _WIN32
    for (char letter : CdDriveLetters()) {
        std::string error;
        if (std::unique_ptr<DriveRecorder> drive = DriveRecorder::Probe(letter, OpenCdDrive(letter, error)))
            recorders.push_back(std::move(drive));
    }
#else
    (void)recorders;
#endif
}

}  // namespace

Engine& Engine::Instance()
{
    static Engine engine;
    return engine;
}

int Engine::Init(const EngineSettings* settings)
{
    if (!settings)
        return 1;
    m_settings = *settings;
    m_config = DefaultEngineConfig();
    m_recorders.clear();
    m_recorders.push_back(std::make_unique<ImageRecorder>(FreeDriveLetter(), m_config.imageFolder));
    AddMachineDrives(m_recorders);
    m_bInitialised = true;
    ++m_generation;
    return 0;
}

void Engine::AddRecorder(std::unique_ptr<Recorder> recorder)
{
    m_recorders.push_back(std::move(recorder));
}

void Engine::Done()
{
    m_recorders.clear();
    m_settings = EngineSettings{};
    m_bInitialised = false;
    ++m_generation;
}

bool Engine::IdleSaysStop() const
{
    return m_settings.idle && m_settings.idle(m_settings.idleUserData) != 0;
}

int Engine::AskUser(int request, void* data) const
{
    return m_settings.userDialog ? m_settings.userDialog(m_settings.userDialogUserData, request, data) : 0;
}

void Engine::SetLastImage(const std::string& bin, const std::string& cue)
{
    m_lastBin = bin;
    m_lastCue = cue;
}

void Engine::AddError(const std::string& text)
{
    std::lock_guard<std::mutex> lock(m_errorsLock);
    m_errors.push_back(text);
}

void Engine::ClearErrors()
{
    std::lock_guard<std::mutex> lock(m_errorsLock);
    m_errors.clear();
}

std::string Engine::ErrorLog() const
{
    std::lock_guard<std::mutex> lock(m_errorsLock);
    std::string log;
    for (const std::string& e : m_errors)
        log += e + "\n";
    return log;
}
