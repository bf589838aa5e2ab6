// Every input the fuzzers found a fault with, run again through its
// target: none may crash (the sanitizers watch), take long or grow the
// process beyond the fuzzers' memory limit.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#define FUZZ_TARGET_LIST(X) \
    X(project, FuzzProjectFile) \
    X(lang, FuzzLang) \
    X(control, FuzzControlFile) \
    X(jpeg, FuzzJpeg) \
    X(bmp, FuzzBmp) \
    X(still, FuzzStillItem) \
    X(mpeg, FuzzMpegFile) \
    X(disc, FuzzSlideshowDisc)

#define DECLARE_TARGET(folder, function) int function(const uint8_t* data, size_t size);
FUZZ_TARGET_LIST(DECLARE_TARGET)

namespace {

struct Target {
    const char* folder;
    int (*run)(const uint8_t*, size_t);
};

#define TABLE_ENTRY(folder, function) Target{#folder, function},
const Target kTargets[] = {FUZZ_TARGET_LIST(TABLE_ENTRY)};

// As the fuzzers run: -timeout=10 -rss_limit_mb=2048.
const double kMaxSeconds = 10;
const long kMaxRssKb = 2048L * 1024;

std::string PrintName(const testing::TestParamInfo<Target>& info)
{
    return info.param.folder;
}

class FuzzRegression : public testing::TestWithParam<Target> {};

}  // namespace

TEST_P(FuzzRegression, FoundInputsRunCleanly)
{
    namespace fs = std::filesystem;
    const fs::path folder = fs::path(SNAPDISC_FUZZ_DIR) / "regressions" / GetParam().folder;
    std::vector<fs::path> inputs;
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, ec))
        if (entry.is_regular_file())
            inputs.push_back(entry.path());
    if (inputs.empty())
        GTEST_SKIP() << "no input found a fault with this target";
    std::sort(inputs.begin(), inputs.end());
    for (const fs::path& input : inputs) {
        std::ifstream in(input, std::ios::binary);
        const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        const auto start = std::chrono::steady_clock::now();
        GetParam().run(bytes.data(), bytes.size());
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        EXPECT_LT(took.count(), kMaxSeconds) << input;
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        EXPECT_LT(usage.ru_maxrss, kMaxRssKb) << input;
    }
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzRegression, testing::ValuesIn(kTargets), PrintName);
