// The threads of a burn on their own: the worker the runner starts and the
// still prefetcher's makers. Built with ThreadSanitizer as well (ENABLE_TSAN).
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <new>
#include <string>
#include <thread>
#include <vector>

#include "engine/recorder/BurnRunner.h"
#include "engine/slideshow/StillPrefetcher.h"

namespace {

// What the callbacks of one run saw.
struct RunCalls {
    enum Stopper { kNone, kIdle, kProgress, kAborted } stopper;
    std::thread::id caller = std::this_thread::get_id();
    std::atomic<int> rounds{0};          // idle calls, one a round of callbacks
    std::atomic<bool> workBegun{false};  // set by the work
    std::atomic<bool> returned{false};   // set once Run returned
    std::atomic<int> stray{0};           // calls on another thread or after Run returned

    int Call(Stopper where)
    {
        if (std::this_thread::get_id() != caller || returned)
            ++stray;
        return where == stopper && workBegun;
    }
};

int OnProgress(void* data, unsigned int)
{
    return static_cast<RunCalls*>(data)->Call(RunCalls::kProgress);
}

int OnAborted(void* data)
{
    return static_cast<RunCalls*>(data)->Call(RunCalls::kAborted);
}

void OnPhase(void* data, const char*)
{
    static_cast<RunCalls*>(data)->Call(RunCalls::kNone);
}

}  // namespace

// Whichever callback asks to stop, the work is told, and Run waits for it
// even when it takes several more rounds of callbacks to end; every
// callback comes on the caller's thread, and none once Run returned.
TEST(BurnRunner, AStopWaitsForSlowWorkAndNoCallbackFollowsRun)
{
    for (RunCalls::Stopper stopper : {RunCalls::kIdle, RunCalls::kProgress, RunCalls::kAborted}) {
        RunCalls calls{stopper};
        EngineProgress progress{};
        progress.progress = OnProgress;
        progress.aborted = OnAborted;
        progress.setPhase = OnPhase;
        progress.userData = &calls;
        BurnRunner runner(
            [&calls] {
                ++calls.rounds;
                return calls.Call(RunCalls::kIdle) != 0;
            },
            &progress);
        std::atomic<bool> endedBeforeReturn{false};
        bool ok = runner.Run([&](BurnWork& work) {
            work.SetPhase("Writing");
            calls.workBegun = true;
            for (unsigned int percent = 1; !work.ShouldStop(); percent = percent % 99 + 1) {
                work.SetProgress(percent);
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
            // Slow to stop: three more rounds of callbacks go by first.
            int until = calls.rounds + 3;
            while (calls.rounds < until && !calls.returned)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            endedBeforeReturn = !calls.returned;
            return false;
        });
        calls.returned = true;
        EXPECT_FALSE(ok) << stopper;
        EXPECT_TRUE(runner.Aborted()) << stopper;
        EXPECT_TRUE(endedBeforeReturn) << stopper;
        EXPECT_EQ(0, calls.stray) << stopper;
    }
}

// Items come out in the order asked, each the photo's own, whether made
// ahead, skipped over or asked for again; the prefetcher can go while its
// threads are still making items.
TEST(StillPrefetcher, ItemsMatchTheirPhotosAndItEndsWithWorkInFlight)
{
    const std::string corpus = SNAPDISC_CORPUS_DIR;
    const std::vector<std::string> paths = {corpus + "/bmp/rgb24.bmp", corpus + "/bmp/pal8.bmp",
                                            corpus + "/jpeg/gen_orient_6.jpg", corpus + "/bmp/rle8.bmp",
                                            corpus + "/bmp/pal4.bmp", corpus + "/bmp/rle4.bmp",
                                            corpus + "/bmp/rgb24_v5.bmp"};
    StillItemOptions options;
    options.normalOnly = true;
    std::vector<StillItem> alone(paths.size());
    for (size_t i : {0, 1, 3, 4}) {
        alone[i] = MakeStillItem(paths[i], options);
        ASSERT_TRUE(alone[i].ok) << paths[i];
    }
    auto expect = [&](size_t i, const StillItem& item) {
        EXPECT_TRUE(item.ok) << paths[i];
        EXPECT_EQ(alone[i].packs, item.packs) << paths[i];
    };
    StillPrefetcher stills(paths, options, 2);
    expect(0, stills.Take(0));
    expect(1, stills.Take(1));
    expect(3, stills.Take(3));  // 2 skipped
    expect(1, stills.Take(1));  // again, out of order
    expect(4, stills.Take(4));
    // 5 and 6 are still being made as it goes.
}

// Running out of memory on a worker fails the photo or the burn with a
// message; the exception never leaves the thread, so the process lives.
TEST(BurnThreads, AnAllocationFailureOnAWorkerIsTheJobsError)
{
    auto maker = [](const std::string& path, const StillItemOptions&) {
        if (path == "b")
            throw std::bad_alloc();
        StillItem item;
        item.ok = true;
        return item;
    };
    StillPrefetcher stills({"a", "b", "c"}, StillItemOptions{}, 2, maker);
    EXPECT_TRUE(stills.Take(0).ok);
    const StillItem failed = stills.Take(1);
    EXPECT_FALSE(failed.ok);
    EXPECT_EQ("b: there was not enough memory to make its still picture", failed.error);
    EXPECT_TRUE(stills.Take(2).ok);

    BurnRunner runner(nullptr, nullptr);
    EXPECT_FALSE(runner.Run([](BurnWork&) -> bool { throw std::bad_alloc(); }));
    EXPECT_FALSE(runner.Aborted());
    EXPECT_EQ("there was not enough memory for the burn", runner.Failure());
}
