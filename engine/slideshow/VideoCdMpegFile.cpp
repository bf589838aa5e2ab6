#include "VideoCdMpegFile.h"

#include <cstdio>

#include "engine/disc/MpegPackCoding.h"
#include "engine/picture/FileSize.h"
#include "engine/mpeg1/SystemStream.h"

namespace {

const uint32_t kCdMuxRate = 3528;  // units of 50 bytes/s: 176,400 bytes/s

// The mux rate of an MPEG-1 pack header: 22 bits between marker bits.
uint32_t MuxRate(const uint8_t* pack)
{
    return (uint32_t(pack[9] & 0x7F) << 15) | (uint32_t(pack[10]) << 7) | (pack[11] >> 1);
}

// Motion video travels in packets of stream 0xE0 (stills use 0xE1, 0xE2).
bool HasMotionVideo(const std::vector<uint8_t>& b)
{
    for (size_t i = 0; i + 3 < b.size(); ++i)
        if (b[i] == 0 && b[i + 1] == 0 && b[i + 2] == 1 && b[i + 3] == 0xE0)
            return true;
    return false;
}

// The picture size in the first sequence header of the stream.
bool FindPictureSize(const std::vector<uint8_t>& b, int& width, int& height)
{
    for (size_t i = 0; i + 7 < b.size(); ++i) {
        if (b[i] == 0 && b[i + 1] == 0 && b[i + 2] == 1 && b[i + 3] == 0xB3) {
            width = (b[i + 4] << 4) | (b[i + 5] >> 4);
            height = ((b[i + 5] & 0x0F) << 8) | b[i + 6];
            return true;
        }
    }
    return false;
}

bool ReadFile(const std::string& path, std::vector<uint8_t>& bytes, std::string& error,
              const std::function<bool()>& shouldStop)
{
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        error = "the file cannot be opened";
        return false;
    }
    // Refused from its size before any of it is read, and again should it
    // grow while it is read.
    bool tooLarge = FileSize(f) > static_cast<long long>(kMaxMpegFileBytes);
    uint8_t chunk[65536];
    size_t got;
    while (!tooLarge && (got = std::fread(chunk, 1, sizeof chunk, f)) > 0) {
        if (shouldStop && shouldStop()) {
            std::fclose(f);
            bytes.clear();
            return false;  // stopped: no error
        }
        tooLarge = bytes.size() + got > kMaxMpegFileBytes;
        if (tooLarge)
            break;
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    std::fclose(f);
    if (tooLarge) {
        bytes.clear();
        error = "MPEG files larger than 64 MB cannot be put on the disc";
        return false;
    }
    return true;
}

std::string Check(const std::vector<uint8_t>& b, VideoSystem& system)
{
    if (b.empty() || b.size() % kPackSize != 0)
        return "not a Video CD MPEG file (its size is not a whole number of 2324-byte packs)";
    for (size_t at = 0; at < b.size(); at += kPackSize) {
        // An MPEG-1 pack header: its SCR field starts with the bits 0010.
        if (!IsMpegPack(&b[at]) || (b[at + 4] & 0xF0) != 0x20)
            return "not a Video CD MPEG file (it is not an MPEG-1 stream in 2324-byte packs)";
        if (MuxRate(&b[at]) != kCdMuxRate)
            return "not a Video CD MPEG file (it is not multiplexed at the CD rate)";
    }
    int width = 0, height = 0;
    if (!HasMotionVideo(b) || !FindPictureSize(b, width, height))
        return "not a Video CD MPEG file (it holds no MPEG-1 motion video)";
    if (width != 352 || (height != 288 && height != 240))
        return "not a Video CD MPEG file (its pictures are " + std::to_string(width) + "x" + std::to_string(height) +
               ", not 352x288 or 352x240)";
    system = height == 240 ? VideoSystem::Ntsc : VideoSystem::Pal;
    return {};
}

}  // namespace

VideoCdMpegFile ReadVideoCdMpegFile(const std::string& path, const std::function<bool()>& shouldStop)
{
    VideoCdMpegFile file;
    std::string error;
    if (ReadFile(path, file.packs, error, shouldStop))
        error = Check(file.packs, file.system);
    else if (error.empty())
        return file;  // stopped
    if (!error.empty()) {
        file.error = path + ": " + error;
        file.packs.clear();
        return file;
    }
    file.ok = true;
    return file;
}
