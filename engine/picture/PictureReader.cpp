#include "PictureReader.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <utility>
#include <vector>

#include "BmpDecoder.h"
#include "Image.h"
#include "ExifOrientation.h"
#include "FileSize.h"
#include "JpegDecoder.h"
#include "engine/base/ByteOrder.h"

namespace {

// A picture file larger than this is refused before any of it is read: no
// 100-megapixel picture needs more than a fraction of it.
const long long kMaxFileBytes = 512ll * 1024 * 1024;
const char kTooLarge[] = "the file is larger than 512 MB, the most a picture file may be";

bool IsBmp(const uint8_t* b, size_t size)
{
    return size >= 2 && b[0] == 'B' && b[1] == 'M';
}

bool IsJpeg(const uint8_t* b, size_t size)
{
    return size >= 3 && b[0] == 0xFF && b[1] == 0xD8 && b[2] == 0xFF;
}

// The whole file, if its size and its first bytes show a picture worth
// reading: a file too large or of another kind is refused from its size and
// first bytes alone.
bool ReadPictureFile(const std::string& path, std::vector<uint8_t>& bytes, std::string& error)
{
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        error = "the file cannot be opened";
        return false;
    }
    bytes.clear();
    const long long size = FileSize(f);
    if (size > kMaxFileBytes) {
        std::fclose(f);
        error = kTooLarge;
        return false;
    }
    // The first bytes say what the file is; a picture is then read straight
    // into one buffer of the size the file has (growing only if it grew).
    const size_t probe = 65536;
    size_t expected = size > 0 ? static_cast<size_t>(size) : 0;
    bytes.resize(expected > 0 ? std::min(expected, probe) : probe);
    size_t got = std::fread(bytes.data(), 1, bytes.size(), f);
    bytes.resize(got);
    if (got > 0 && (IsBmp(bytes.data(), got) || IsJpeg(bytes.data(), got))) {
        if (expected > got) {
            bytes.resize(expected);
            got += std::fread(bytes.data() + got, 1, expected - got, f);
            bytes.resize(got);
        }
        uint8_t chunk[65536];
        size_t more;
        while ((more = std::fread(chunk, 1, sizeof chunk, f)) > 0) {
            // The size may have changed since it was looked at.
            if (static_cast<long long>(bytes.size() + more) > kMaxFileBytes) {
                std::fclose(f);
                error = kTooLarge;
                return false;
            }
            bytes.insert(bytes.end(), chunk, chunk + more);
        }
    }
    bool readError = std::ferror(f) != 0;
    std::fclose(f);
    if (readError) {
        error = "the file cannot be read";
        return false;
    }
    if (!IsBmp(bytes.data(), bytes.size()) && !IsJpeg(bytes.data(), bytes.size())) {
        error = bytes.empty() ? "the file is empty" : "the file is not a BMP or JPEG picture";
        return false;
    }
    return true;
}

// The limits of the decoders, from the size a header gives.
std::string SizeFault(int64_t width, int64_t height)
{
    if (width * height > kMaxPicturePixels)
        return "the picture is larger than " + std::to_string(kMaxPicturePixels / 1000000) + " megapixels";
    if (width > kMaxPictureSide || height > kMaxPictureSide)
        return "the picture is more than " + std::to_string(kMaxPictureSide) + " pixels wide or high";
    return std::string();
}

bool ReadAt(std::FILE* f, long offset, uint8_t* out, size_t n)
{
    return std::fseek(f, offset, SEEK_SET) == 0 && std::fread(out, 1, n, f) == n;
}

// Walks the JPEG markers to the frame header, seeking over the segments
// (EXIF data and the like) in between.
std::string CheckJpegHeader(std::FILE* f)
{
    const char kEnded[] = "the JPEG file ends before the picture data";
    long at = 2;
    uint8_t b[9];
    for (int segments = 0; segments < 100000; ++segments) {
        if (!ReadAt(f, at, b, 2))
            return kEnded;
        if (b[0] != 0xFF)
            return "the JPEG data is damaged: a marker is missing";
        const uint8_t marker = b[1];
        if (marker == 0xFF) {  // fill byte
            at += 1;
            continue;
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8)) {  // no length follows
            at += 2;
            continue;
        }
        if (marker == 0xD9 || marker == 0xDA)
            return kEnded;  // no frame header before the end or the scan
        if (!ReadAt(f, at + 2, b, 7))
            return kEnded;
        const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame)
            return SizeFault(GetBe16(b + 5), GetBe16(b + 3));
        at += 2 + GetBe16(b);
    }
    return "the JPEG data is damaged: it has too many segments";
}

std::string CheckBmpHeader(std::FILE* f)
{
    uint8_t b[26];
    if (!ReadAt(f, 0, b, sizeof b))
        return "the bitmap ends before its header is complete";
    if (GetLe32(b + 14) == 12)  // OS/2 core header: 16-bit sizes
        return SizeFault(GetLe16(b + 18), GetLe16(b + 20));
    const int64_t width = static_cast<int32_t>(GetLe32(b + 18));
    const int64_t height = static_cast<int32_t>(GetLe32(b + 22));
    return SizeFault(width < 0 ? -width : width, height < 0 ? -height : height);
}

// Orientations 5 to 8 store the picture transposed.
bool IsTransposed(int orientation)
{
    return orientation >= 5 && orientation <= 8;
}

}  // namespace

DecodeResult ReadPicture(const std::string& path, int boxWidth, int boxHeight)
{
    DecodeResult result;
    std::vector<uint8_t> bytes;
    if (!ReadPictureFile(path, bytes, result.error)) {
        result.error = path + ": " + result.error;
        return result;
    }
    if (IsBmp(bytes.data(), bytes.size())) {
        result = DecodeBmp(bytes.data(), bytes.size());
    } else {
        int orientation = ReadExifOrientation(bytes.data(), bytes.size());
        if (IsTransposed(orientation))
            std::swap(boxWidth, boxHeight);
        result = DecodeJpeg(bytes.data(), bytes.size(), boxWidth, boxHeight);
        if (result.ok && orientation != 1)
            result.image = ApplyOrientation(result.image, orientation);
        if (result.ok && IsTransposed(orientation))
            std::swap(result.sourceWidth, result.sourceHeight);
    }
    if (!result.ok)
        result.error = path + ": " + result.error;
    else if (!result.warning.empty())
        result.warning = path + ": " + result.warning;
    return result;
}

std::string CheckPictureFile(const std::string& path)
{
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return path + ": the file cannot be opened";
    std::string fault;
    uint8_t head[3] = {};
    const size_t got = std::fread(head, 1, sizeof head, f);
    if (FileSize(f) > kMaxFileBytes)
        fault = kTooLarge;
    else if (got == 0)
        fault = "the file is empty";
    else if (IsBmp(head, got))
        fault = CheckBmpHeader(f);
    else if (IsJpeg(head, got))
        fault = CheckJpegHeader(f);
    else
        fault = "the file is not a BMP or JPEG picture";
    std::fclose(f);
    return fault.empty() ? fault : path + ": " + fault;
}
