#pragma once
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "engine/still/StillItem.h"

// Makes the still items of a disc ahead of the image writer on the spare
// cores: the writer asks for the items in order and usually finds them
// ready. At most a few items are held at a time, so memory does not grow
// with the number of photos.
class StillPrefetcher {
public:
    using Maker = std::function<StillItem(const std::string& path, const StillItemOptions& options)>;
    StillPrefetcher(std::vector<std::string> paths, StillItemOptions options, unsigned int threads,
                    Maker maker = MakeStillItem);
    ~StillPrefetcher();
    StillPrefetcher(const StillPrefetcher&) = delete;
    StillPrefetcher& operator=(const StillPrefetcher&) = delete;

    // The item of photo i; waits until it is made. Items must be taken in
    // order, each once.
    StillItem Take(size_t i);

private:
    void Work();
    // The maker's item; a failure (out of memory, say) becomes the item's
    // error instead of leaving the thread.
    StillItem Make(size_t i) const;

    std::vector<std::string> m_paths;
    StillItemOptions m_options;
    Maker m_maker;
    size_t m_window;
    std::mutex m_lock;
    std::condition_variable m_changed;
    size_t m_nextToMake = 0;
    size_t m_nextToTake = 0;
    bool m_stopping = false;
    std::map<size_t, StillItem> m_ready;
    std::vector<std::thread> m_threads;
};
