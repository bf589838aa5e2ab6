#include "Engine.h"

#include "engine/recorder/ImageRecorder.h"

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
    m_bInitialised = true;
    ++m_generation;
    return 0;
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
