#include "VideoCdJob.h"

#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

std::string LowerExtension(const std::string& path)
{
    size_t dot = path.rfind('.');
    std::string ext = dot == std::string::npos ? std::string() : path.substr(dot);
    for (char& c : ext)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext;
}

// Delays beyond what 32 bits of blocks hold saturate: the engine then
// refuses the job as too long instead of showing a wrong, wrapped delay.
unsigned int PauseBlocks(int64_t delaySeconds)
{
    if (delaySeconds <= 0)
        return 0;
    uint64_t blocks = static_cast<uint64_t>(delaySeconds) * 75;
    return blocks > 0xFFFFFFFFull ? 0xFFFFFFFFu : static_cast<unsigned int>(blocks);
}

}  // namespace

void VideoCdJobDeleter::operator()(EngineVideoCdJob* job) const
{
    std::free(job);
}

int VideoItemTypeOf(const std::string& path)
{
    std::string ext = LowerExtension(path);
    if (ext == ".mpg" || ext == ".mpeg")
        return ENGINE_ITEM_MPEG;
    if (ext == ".avi")
        return ENGINE_ITEM_AVI;
    return ENGINE_ITEM_PICTURE;
}

VideoCdJobPtr MakeVideoCdJob(const std::vector<ControlEntry>& entries, std::string& error)
{
    if (entries.empty()) {
        error = "there is no photo to burn";
        return nullptr;
    }
    size_t bytes = ENGINE_JOB_HEAD_SIZE + entries.size() * sizeof(EngineVideoItem);
    VideoCdJobPtr job(static_cast<EngineVideoCdJob*>(std::calloc(1, bytes)));
    if (!job) {
        error = "there is not enough memory for the job";
        return nullptr;
    }
    job->superVideoCd = 0;
    job->itemCount = static_cast<int>(entries.size());
    for (size_t i = 0; i < entries.size(); ++i) {
        EngineVideoItem& item = *EngineJobItem(job.get(), static_cast<int>(i));
        // A path that does not fit would name another file: refuse it.
        if (entries[i].path.size() >= sizeof item.sourcePath) {
            error = entries[i].path + ": the path is too long";
            return nullptr;
        }
        item.pauseBlocks = PauseBlocks(entries[i].delaySeconds);
        std::memcpy(item.sourcePath, entries[i].path.c_str(), entries[i].path.size() + 1);
        item.itemType = VideoItemTypeOf(entries[i].path);
    }
    return job;
}
