#include "PictureReader.h"

#include <cstdio>
#include <utility>
#include <vector>

#include "BmpDecoder.h"
#include "ExifOrientation.h"
#include "FileSize.h"
#include "JpegDecoder.h"

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
    if (FileSize(f) > kMaxFileBytes) {
        std::fclose(f);
        error = kTooLarge;
        return false;
    }
    uint8_t chunk[65536];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, f)) > 0) {
        // The size may have changed since it was looked at.
        if (static_cast<long long>(bytes.size() + got) > kMaxFileBytes) {
            std::fclose(f);
            error = kTooLarge;
            return false;
        }
        bytes.insert(bytes.end(), chunk, chunk + got);
        if (bytes.size() == got && !IsBmp(bytes.data(), got) && !IsJpeg(bytes.data(), got))
            break;  // the first bytes say what the file is not
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

// Orientations 5 to 8 store the picture transposed.
bool IsTransposed(int orientation)
{
    return orientation >= 5 && orientation <= 8;
}

}  // namespace

DecodeResult ReadPicture(const std::string& path, int minWidth, int minHeight)
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
            std::swap(minWidth, minHeight);
        result = DecodeJpeg(bytes.data(), bytes.size(), minWidth, minHeight);
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
