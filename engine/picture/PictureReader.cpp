#include "PictureReader.h"

#include <cstdio>
#include <utility>
#include <vector>

#include "BmpDecoder.h"
#include "ExifOrientation.h"
#include "JpegDecoder.h"

namespace {

// A picture file larger than this is refused unread: no 100-megapixel
// picture needs more than a fraction of it.
const long long kMaxFileBytes = 512ll * 1024 * 1024;

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes, std::string& error)
{
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        error = "the file cannot be opened";
        return false;
    }
    bytes.clear();
    uint8_t chunk[65536];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, f)) > 0) {
        if (static_cast<long long>(bytes.size() + got) > kMaxFileBytes) {
            std::fclose(f);
            error = "the file is too large to be a picture";
            return false;
        }
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    bool readError = std::ferror(f) != 0;
    std::fclose(f);
    if (readError) {
        error = "the file cannot be read";
        return false;
    }
    return true;
}

bool IsBmp(const std::vector<uint8_t>& b)
{
    return b.size() >= 2 && b[0] == 'B' && b[1] == 'M';
}

bool IsJpeg(const std::vector<uint8_t>& b)
{
    return b.size() >= 3 && b[0] == 0xFF && b[1] == 0xD8 && b[2] == 0xFF;
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
    if (!ReadWholeFile(path, bytes, result.error)) {
        result.error = path + ": " + result.error;
        return result;
    }
    if (IsBmp(bytes)) {
        result = DecodeBmp(bytes.data(), bytes.size());
    } else if (IsJpeg(bytes)) {
        int orientation = ReadExifOrientation(bytes.data(), bytes.size());
        if (IsTransposed(orientation))
            std::swap(minWidth, minHeight);
        result = DecodeJpeg(bytes.data(), bytes.size(), minWidth, minHeight);
        if (result.ok && orientation != 1)
            result.image = ApplyOrientation(result.image, orientation);
        if (result.ok && IsTransposed(orientation))
            std::swap(result.sourceWidth, result.sourceHeight);
    } else {
        result.error = bytes.empty() ? "the file is empty" : "the file is not a BMP or JPEG picture";
    }
    if (!result.ok)
        result.error = path + ": " + result.error;
    else if (!result.warning.empty())
        result.warning = path + ": " + result.warning;
    return result;
}
