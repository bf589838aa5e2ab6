#include "FuzzSupport.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace {

std::string MakeScratchDir()
{
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path base = "/dev/shm";
    if (!fs::is_directory(base, ec) || access(base.c_str(), W_OK) != 0) {
        const char* tmp = std::getenv("TMPDIR");
        base = tmp && *tmp ? tmp : "/tmp";
    }
    std::string pattern = (base / "snapdisc-fuzz-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        std::perror(pattern.c_str());
        std::abort();
    }
    return pattern;
}

void RemoveScratchDir()
{
    std::error_code ec;
    std::filesystem::remove_all(ScratchDir(), ec);
}

}  // namespace

const std::string& ScratchDir()
{
    // Never destroyed, so that it is still there for the removal at exit.
    static const std::string* dir = new std::string(MakeScratchDir());
    static const bool removedAtExit = std::atexit(RemoveScratchDir) == 0;
    (void)removedAtExit;
    return *dir;
}

std::string WriteScratchFile(const std::string& name, const uint8_t* data, size_t size)
{
    std::filesystem::path path = std::filesystem::path(ScratchDir()) / name;
    std::error_code ec;
    std::filesystem::create_directories(path.parent_path(), ec);
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f || (size > 0 && std::fwrite(data, 1, size, f) != size) || std::fclose(f) != 0) {
        std::perror(path.c_str());
        std::abort();
    }
    return path.string();
}
