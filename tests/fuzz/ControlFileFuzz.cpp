// The control file of a burn on any bytes, and the engine's job made from
// its entries: one item per entry, each naming its entry's path in full.
#include <cstring>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "burn/ControlFile.h"
#include "burn/VideoCdJob.h"

FUZZ_TARGET(FuzzControlFile)
{
    std::vector<ControlEntry> entries;
    if (!ReadControlFile(WriteScratchFile("burn.ctl", data, size), entries)) {
        FUZZ_CHECK(entries.empty());  // refused whole
        return 0;
    }
    FUZZ_CHECK(entries.size() <= 1900);
    for (const ControlEntry& entry : entries)
        FUZZ_CHECK(entry.path.size() <= 32768);

    std::string error;
    VideoCdJobPtr job = MakeVideoCdJob(entries, error);
    if (!job) {
        FUZZ_CHECK(!error.empty());
        return 0;
    }
    FUZZ_CHECK(job->itemCount == static_cast<int>(entries.size()));
    for (size_t i = 0; i < entries.size(); ++i) {
        const EngineVideoItem& item = *EngineJobItemConst(job.get(), static_cast<int>(i));
        const size_t length = strnlen(item.sourcePath, sizeof item.sourcePath);
        FUZZ_CHECK(length < sizeof item.sourcePath);
        FUZZ_CHECK(std::string(item.sourcePath, length) == entries[i].path);
        FUZZ_CHECK(item.itemType == VideoItemTypeOf(entries[i].path));
        FUZZ_CHECK(entries[i].delaySeconds > 0 || item.pauseBlocks == 0);
    }
    return 0;
}
