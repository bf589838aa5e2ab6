#pragma once
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "EngineConfig.h"
#include "engine/recorder/Recorder.h"
#include "engine/include/NeroAPI.h"

// The state behind the entry points: whether the engine is initialised,
// the callbacks it was given, its recorders, its settings and the errors
// collected since they were last cleared.
class Engine {
public:
    static Engine& Instance();

    int Init(const EngineSettings* settings);
    void Done();
    bool IsInitialised() const { return m_bInitialised; }
    // Counts the starts and stops of the engine: a device handle opened
    // under another count names a recorder that is gone.
    unsigned int Generation() const { return m_generation; }

    const std::vector<std::unique_ptr<Recorder>>& Recorders() const { return m_recorders; }
    // A recorder named by the caller rather than found (a drive given by its
    // device, the simulated drive); listed until the engine is stopped.
    void AddRecorder(std::unique_ptr<Recorder> recorder);
    EngineConfig& Config() { return m_config; }
    const EngineSettings& Settings() const { return m_settings; }

    // Asks the program's idle callback; true when it asks the engine to stop.
    bool IdleSaysStop() const;
    int AskUser(int request, void* data) const;

    // The files of the last image written.
    void SetLastImage(const std::string& bin, const std::string& cue);
    const std::string& LastBin() const { return m_lastBin; }
    const std::string& LastCue() const { return m_lastCue; }

    void AddError(const std::string& text);
    void ClearErrors();
    std::string ErrorLog() const;

private:
    Engine() = default;

    bool m_bInitialised = false;
    unsigned int m_generation = 0;
    EngineSettings m_settings{};
    EngineConfig m_config;
    std::vector<std::unique_ptr<Recorder>> m_recorders;
    std::string m_lastBin, m_lastCue;
    mutable std::mutex m_errorsLock;
    std::vector<std::string> m_errors;
};
