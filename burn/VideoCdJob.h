#pragma once
#include <memory>
#include <string>
#include <vector>

#include "ControlFile.h"
#include "engine/include/NeroAPI.h"

struct VideoCdJobDeleter {
    void operator()(EngineVideoCdJob* job) const;
};
using VideoCdJobPtr = std::unique_ptr<EngineVideoCdJob, VideoCdJobDeleter>;

// The engine's Video CD job for the control file's entries: one item per
// entry, pause = delay x 75 blocks, the item type from the extension (".mpg"
// and ".mpeg" MPEG, ".avi" AVI, anything else a picture). Null, with the
// reason, when there is no entry or a path does not fit the job's field.
VideoCdJobPtr MakeVideoCdJob(const std::vector<ControlEntry>& entries, std::string& error);

// The item type of a path, by its extension (case does not matter).
int VideoItemTypeOf(const std::string& path);
