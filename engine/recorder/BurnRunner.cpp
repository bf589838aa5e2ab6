#include "BurnRunner.h"

#include <chrono>
#include <exception>
#include <new>
#include <thread>

namespace {

const auto kPumpInterval = std::chrono::milliseconds(50);

}  // namespace

void BurnWork::SetProgress(unsigned int percent)
{
    m_percent.store(percent > 100 ? 100 : percent);
}

void BurnWork::SetPhase(const std::string& text)
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_phase = text;
    ++m_phaseVersion;
    if (m_wake)
        m_wake->notify_one();
}

void BurnWork::AddLogLine(const std::string& text)
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_logLines.push_back(text);
}

bool BurnRunner::CallbacksSayStop(BurnWork& w, unsigned int& shownPercent, unsigned int& shownPhase)
{
    bool stop = m_idleSaysStop && m_idleSaysStop();
    if (!m_progress)
        return stop;
    std::string phase;
    bool newPhase = false;
    std::vector<std::string> lines;
    {
        std::lock_guard<std::mutex> lock(w.m_lock);
        if (w.m_phaseVersion != shownPhase) {
            shownPhase = w.m_phaseVersion;
            phase = w.m_phase;
            newPhase = true;
        }
        lines.swap(w.m_logLines);
    }
    if (newPhase && m_progress->setPhase)
        m_progress->setPhase(m_progress->userData, phase.c_str());
    if (m_progress->addLogLine)
        for (const std::string& line : lines)
            m_progress->addLogLine(m_progress->userData, ENGINE_LOG_WARNING, line.c_str());
    unsigned int percent = w.m_percent.load();
    if (percent != shownPercent && m_progress->progress) {
        shownPercent = percent;
        stop = m_progress->progress(m_progress->userData, percent) != 0 || stop;
    }
    if (m_progress->aborted)
        stop = m_progress->aborted(m_progress->userData) != 0 || stop;
    return stop;
}

bool BurnRunner::Run(const std::function<bool(BurnWork&)>& work)
{
    BurnWork w;
    std::condition_variable wake;
    std::mutex doneLock;
    bool done = false, result = false;
    w.m_wake = &wake;

    unsigned int shownPercent = ~0u, shownPhase = 0;
    if (m_progress && m_progress->progress) {
        shownPercent = 0;
        if (m_progress->progress(m_progress->userData, 0) != 0) {
            m_aborted = true;  // stopped before anything began
            return false;
        }
    }

    std::thread worker([&] {
        bool r = false;
        try {
            r = work(w);
        } catch (const std::bad_alloc&) {
            m_failure = "there was not enough memory for the burn";
        } catch (const std::exception& e) {
            m_failure = std::string("the burn failed: ") + e.what();
        }
        std::lock_guard<std::mutex> lock(doneLock);
        result = r;
        done = true;
        wake.notify_one();
    });
    for (;;) {
        {
            std::unique_lock<std::mutex> lock(doneLock);
            wake.wait_for(lock, kPumpInterval, [&] { return done; });
            if (done)
                break;
        }
        if (CallbacksSayStop(w, shownPercent, shownPhase))
            w.m_stop.store(true);
    }
    worker.join();
    m_aborted = w.m_stop.load();
    // The last word the program hears: phases, log lines and a final 100 on
    // success.
    CallbacksSayStop(w, shownPercent, shownPhase);
    if (result && m_progress && m_progress->progress && shownPercent != 100)
        m_progress->progress(m_progress->userData, 100);
    return result;
}
