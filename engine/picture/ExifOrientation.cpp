#include "ExifOrientation.h"

#include <cstddef>
#include <cstring>

#include "engine/base/ByteOrder.h"

// The orientation is tag 0x0112 of IFD0 in the TIFF structure that follows
// "Exif\0\0" in an APP1 segment:
//
//   APP1: FF E1, length (2, big-endian, counts itself), "Exif\0\0", TIFF
//   TIFF: "II" or "MM" (byte order of everything after), 42 (2),
//         offset of IFD0 from the TIFF start (4)
//   IFD:  entry count (2), entries of 12 bytes, offset of the next IFD (4)
//   entry: tag (2), type (2), count (4), value or offset (4);
//          a single SHORT sits in the first 2 bytes of the value field
//
// Only IFD0 is read and no offset is followed beyond it, so a file whose
// IFD chain loops back on itself cannot trap the reader.

namespace {

constexpr uint8_t kMarkerEoi = 0xD9;
constexpr uint8_t kMarkerSos = 0xDA;
constexpr uint8_t kMarkerApp1 = 0xE1;
constexpr size_t kMarkerSize = 2;   // FF xx
constexpr size_t kLengthSize = 2;   // segment length field
constexpr char kExifId[] = "Exif\0";  // 6 bytes with the implicit terminator
constexpr size_t kExifIdSize = sizeof kExifId;
constexpr size_t kTiffHeaderSize = 8;
constexpr uint16_t kTiffMagic = 42;
constexpr size_t kIfdCountSize = 2;
constexpr size_t kIfdEntrySize = 12;
constexpr uint16_t kTagOrientation = 0x0112;
constexpr uint16_t kTypeShort = 3;
constexpr int kUpright = 1;

// Reads from the TIFF structure in its own byte order; every read is
// checked against the end of the APP1 segment.
class TiffReader {
public:
    TiffReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    bool ReadByteOrder()
    {
        if (size_ < kTiffHeaderSize)
            return false;
        if (data_[0] == 'I' && data_[1] == 'I')
            bigEndian_ = false;
        else if (data_[0] == 'M' && data_[1] == 'M')
            bigEndian_ = true;
        else
            return false;
        uint16_t magic = 0;
        return U16(2, magic) && magic == kTiffMagic;
    }

    bool U16(size_t offset, uint16_t& value) const
    {
        if (offset > size_ || size_ - offset < 2)
            return false;
        const uint8_t* p = data_ + offset;
        value = bigEndian_ ? GetBe16(p) : GetLe16(p);
        return true;
    }

    bool U32(size_t offset, uint32_t& value) const
    {
        if (offset > size_ || size_ - offset < 4)
            return false;
        value = bigEndian_ ? GetBe32(data_ + offset) : GetLe32(data_ + offset);
        return true;
    }

    size_t Size() const { return size_; }

private:
    const uint8_t* data_;
    size_t size_;
    bool bigEndian_ = false;
};

bool IsStandaloneMarker(uint8_t marker)
{
    return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7);  // TEM, RST0..7
}

// Finds the first APP1 segment that starts with "Exif\0\0" among the
// segments before the first scan, and gives back the TIFF data inside it.
bool FindExifTiff(const uint8_t* data, size_t size, const uint8_t*& tiff, size_t& tiffSize)
{
    size_t pos = kMarkerSize;  // after SOI
    while (size - pos >= kMarkerSize + kLengthSize) {
        if (data[pos] != 0xFF)
            return false;
        const uint8_t marker = data[pos + 1];
        if (marker == 0xFF) {  // fill byte before a marker
            ++pos;
            continue;
        }
        if (marker == kMarkerSos || marker == kMarkerEoi)
            return false;
        if (IsStandaloneMarker(marker)) {
            pos += kMarkerSize;
            continue;
        }
        const size_t length = GetBe16(data + pos + kMarkerSize);
        if (length < kLengthSize || length > size - pos - kMarkerSize)
            return false;
        const uint8_t* payload = data + pos + kMarkerSize + kLengthSize;
        const size_t payloadSize = length - kLengthSize;
        if (marker == kMarkerApp1 && payloadSize >= kExifIdSize &&
            std::memcmp(payload, kExifId, kExifIdSize) == 0) {
            tiff = payload + kExifIdSize;
            tiffSize = payloadSize - kExifIdSize;
            return true;
        }
        pos += kMarkerSize + length;
    }
    return false;
}

int OrientationInTiff(const uint8_t* data, size_t size)
{
    TiffReader tiff(data, size);
    uint32_t ifd = 0;
    uint16_t count = 0;
    if (!tiff.ReadByteOrder() || !tiff.U32(4, ifd) || ifd < kTiffHeaderSize || !tiff.U16(ifd, count))
        return kUpright;
    // An entry count that runs past the segment means the IFD is not what it claims.
    const size_t entries = ifd + kIfdCountSize;
    if ((tiff.Size() - entries) / kIfdEntrySize < count)
        return kUpright;
    for (uint16_t i = 0; i < count; ++i) {
        const size_t entry = entries + i * kIfdEntrySize;
        uint16_t tag = 0, type = 0, value = 0;
        uint32_t valueCount = 0;
        if (!tiff.U16(entry, tag) || tag != kTagOrientation)
            continue;
        if (!tiff.U16(entry + 2, type) || !tiff.U32(entry + 4, valueCount) || !tiff.U16(entry + 8, value))
            return kUpright;
        if (type != kTypeShort || valueCount != 1 || value < 1 || value > 8)
            return kUpright;
        return value;
    }
    return kUpright;
}

// Where output pixel (x, y) comes from in the stored picture: the source of
// (0, 0), and how the source moves for one step in x and in y.
struct Walk {
    int originX, originY;  // in units of (width - 1, height - 1): 0 or 1
    int stepXx, stepXy;    // source step for output x + 1
    int stepYx, stepYy;    // source step for output y + 1
};

// Indexed by orientation - 1; the stored picture is turned so it shows
// upright (EXIF's meaning of the tag).
constexpr Walk kWalks[8] = {
    {0, 0, 1, 0, 0, 1},    // 1: as stored
    {1, 0, -1, 0, 0, 1},   // 2: mirror left-right
    {1, 1, -1, 0, 0, -1},  // 3: rotate 180
    {0, 1, 1, 0, 0, -1},   // 4: mirror top-bottom
    {0, 0, 0, 1, 1, 0},    // 5: transpose
    {0, 1, 0, -1, 1, 0},   // 6: rotate 90 clockwise
    {1, 1, 0, -1, -1, 0},  // 7: transverse
    {1, 0, 0, 1, -1, 0},   // 8: rotate 90 counter-clockwise
};

}  // namespace

int ReadExifOrientation(const uint8_t* data, size_t size)
{
    const uint8_t* tiff = nullptr;
    size_t tiffSize = 0;
    if (data == nullptr || size < kMarkerSize || data[0] != 0xFF || data[1] != 0xD8)
        return kUpright;
    if (!FindExifTiff(data, size, tiff, tiffSize))
        return kUpright;
    return OrientationInTiff(tiff, tiffSize);
}

Image ApplyOrientation(const Image& stored, int orientation)
{
    if (orientation < 1 || orientation > 8)
        orientation = kUpright;
    const Walk& walk = kWalks[orientation - 1];
    const bool swapsSides = orientation >= 5;
    Image upright;
    upright.width = swapsSides ? stored.height : stored.width;
    upright.height = swapsSides ? stored.width : stored.height;
    upright.rgb.resize(stored.rgb.size());
    if (stored.width <= 0 || stored.height <= 0)
        return upright;

    // In pixels of the stored picture.
    const ptrdiff_t width = stored.width;
    const ptrdiff_t origin = walk.originY * (stored.height - 1) * width + walk.originX * (width - 1);
    const ptrdiff_t stepX = walk.stepXy * width + walk.stepXx;
    const ptrdiff_t stepY = walk.stepYy * width + walk.stepYx;
    for (int y = 0; y < upright.height; ++y) {
        ptrdiff_t source = origin + y * stepY;
        uint8_t* to = upright.Row(y);
        for (int x = 0; x < upright.width; ++x, source += stepX, to += 3) {
            const uint8_t* from = stored.rgb.data() + source * 3;
            to[0] = from[0];
            to[1] = from[1];
            to[2] = from[2];
        }
    }
    return upright;
}
