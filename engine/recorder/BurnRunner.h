#pragma once
#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "engine/include/NeroAPI.h"

// What the work of a burn sees: it reports progress and phases from its own
// thread and stops soon after ShouldStop() turns true.
class BurnWork {
public:
    void SetProgress(unsigned int percent);
    void SetPhase(const std::string& text);
    // A line for the program's log (a photo's warning, say), passed on in
    // order with the next round of callbacks.
    void AddLogLine(const std::string& text);
    bool ShouldStop() const { return m_stop.load(); }

private:
    friend class BurnRunner;
    std::atomic<bool> m_stop{false};
    std::atomic<unsigned int> m_percent{0};
    std::mutex m_lock;
    std::string m_phase;
    unsigned int m_phaseVersion = 0;
    std::vector<std::string> m_logLines;  // not passed on yet
    std::condition_variable* m_wake = nullptr;
};

// Runs the work of a burn on a second thread while the calling thread keeps
// the program alive: at least every 100 ms it calls the idle callback, and
// it passes progress, phase changes and log lines on to the program's
// callbacks. Any
// callback that answers "stop" makes the work stop. Every callback runs on
// the calling thread, and none after Run returned.
class BurnRunner {
public:
    BurnRunner(std::function<bool()> idleSaysStop, EngineProgress* progress)
        : m_idleSaysStop(std::move(idleSaysStop)), m_progress(progress) {}

    // Returns the work's own result (work that finished wins over a late
    // stop); Aborted() tells whether a callback asked to stop.
    bool Run(const std::function<bool(BurnWork&)>& work);
    bool Aborted() const { return m_aborted; }
    // Why the work failed when it threw (out of memory, say) instead of
    // returning: the exception never leaves the worker thread.
    const std::string& Failure() const { return m_failure; }

private:
    bool CallbacksSayStop(BurnWork& w, unsigned int& shownPercent, unsigned int& shownPhase);

    std::function<bool()> m_idleSaysStop;
    EngineProgress* m_progress;
    bool m_aborted = false;
    std::string m_failure;
};
