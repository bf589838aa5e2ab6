#include "StillPrefetcher.h"

#include <exception>
#include <new>

StillPrefetcher::StillPrefetcher(std::vector<std::string> paths, StillItemOptions options, unsigned int threads,
                                 Maker maker)
    : m_paths(std::move(paths)), m_options(options), m_maker(std::move(maker)),
      m_window(2 * static_cast<size_t>(threads) + 2)
{
    for (unsigned int t = 0; t < threads; ++t)
        m_threads.emplace_back([this] { Work(); });
}

StillPrefetcher::~StillPrefetcher()
{
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_stopping = true;
    }
    m_changed.notify_all();
    for (std::thread& t : m_threads)
        t.join();
}

void StillPrefetcher::Work()
{
    for (;;) {
        size_t i;
        {
            std::unique_lock<std::mutex> lock(m_lock);
            // Stay within a few items of the writer.
            m_changed.wait(lock, [this] {
                return m_stopping || (m_nextToMake < m_paths.size() && m_nextToMake < m_nextToTake + m_window);
            });
            if (m_stopping)
                return;
            i = m_nextToMake++;
        }
        StillItem item = Make(i);
        {
            std::lock_guard<std::mutex> lock(m_lock);
            m_ready.emplace(i, std::move(item));
        }
        m_changed.notify_all();
    }
}

StillItem StillPrefetcher::Make(size_t i) const
{
    StillItem item;
    try {
        return m_maker(m_paths[i], m_options);
    } catch (const std::bad_alloc&) {
        item.error = m_paths[i] + ": there was not enough memory to make its still picture";
    } catch (const std::exception& e) {
        item.error = m_paths[i] + ": its still picture could not be made (" + e.what() + ")";
    }
    return item;
}

StillItem StillPrefetcher::Take(size_t i)
{
    std::unique_lock<std::mutex> lock(m_lock);
    // Out of order, or nobody to make it ahead: make it here.
    if (m_threads.empty() || i >= m_paths.size() || i < m_nextToTake) {
        lock.unlock();
        if (i < m_paths.size())
            return Make(i);
        StillItem none;
        none.error = "photo " + std::to_string(i + 1) + " is not in the list";
        return none;
    }
    if (i > m_nextToTake) {  // items skipped are dropped and the window moves on
        m_ready.erase(m_ready.begin(), m_ready.lower_bound(i));
        m_nextToTake = i;
        m_changed.notify_all();
    }
    m_changed.wait(lock, [this, i] { return m_ready.count(i) != 0; });
    StillItem item = std::move(m_ready[i]);
    m_ready.erase(i);
    m_nextToTake = i + 1;
    lock.unlock();
    m_changed.notify_all();
    return item;
}
