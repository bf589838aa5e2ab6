#pragma once
#include <functional>
#include <string>
#include <vector>

#include "engine/disc/VideoCdDisc.h"

// An MPEG file a Video CD can carry as it is, as one of its MPEG tracks.
struct VideoCdMpegFile {
    bool ok = false;
    std::string error;  // names the file and the reason it cannot be used
    VideoSystem system = VideoSystem::Pal;
    std::vector<uint8_t> packs;
};

// Files larger than this are refused: the engine holds a track in memory.
constexpr size_t kMaxMpegFileBytes = 64u * 1024 * 1024;

// Reads an MPEG-1 system stream made for Video CD: 2324-byte packs at the
// 1x CD rate (mux rate 3528) carrying 352-wide MPEG-1 video of 288 (PAL)
// or 240 (NTSC) lines. Anything else is refused with the reason.
// shouldStop is asked as the file is read; when it says stop, the result
// is not ok and has no error.
VideoCdMpegFile ReadVideoCdMpegFile(const std::string& path, const std::function<bool()>& shouldStop = {});
