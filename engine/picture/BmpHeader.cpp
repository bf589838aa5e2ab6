#include "BmpHeader.h"

#include <string>

#include "Image.h"
#include "engine/base/ByteOrder.h"

// File layout:
//   BITMAPFILEHEADER  14 bytes: "BM", file size, 2 reserved words, offset of the pixels
//   bitmap header     12 (OS/2 core), 40 (info), 52 / 56 (info with masks), 108 (V4), 124 (V5)
//   colour masks      3 or 4 DWORDs, only after a 40-byte header with bit-field compression
//   palette           3-byte (core) or 4-byte (others) BGR entries, up to 8 bits per pixel
//   pixel data        at the offset named in the file header
// The file header's file size is not checked: writers often get it wrong.

namespace {

const size_t kFileHeaderSize = 14;
const uint32_t kCoreHeaderSize = 12;
const uint32_t kInfoHeaderSize = 40;

// Offsets inside the bitmap header.
const size_t kCoreWidth = 4, kCoreHeight = 6, kCorePlanes = 8, kCoreBitCount = 10;
const size_t kInfoWidth = 4, kInfoHeight = 8, kInfoPlanes = 12, kInfoBitCount = 14;
const size_t kInfoCompression = 16, kInfoSizeImage = 20, kInfoClrUsed = 32, kInfoMasks = 40;

bool IsKnownHeaderSize(uint32_t size)
{
    return size == kCoreHeaderSize || size == kInfoHeaderSize || size == 52 || size == 56 ||
           size == 108 || size == 124;
}

bool IsBitFields(uint32_t compression)
{
    return compression == kBmpBitFields || compression == kBmpAlphaBitFields;
}

bool IsRle(uint32_t compression)
{
    return compression == kBmpRle8 || compression == kBmpRle4;
}

// A mask must be one run of set bits; windows of any width are accepted,
// as 10-bit channels are.
bool MakeChannel(uint32_t mask, BmpChannel& channel)
{
    if (mask == 0)
        return false;
    channel.mask = mask;
    channel.shift = 0;
    while (!(mask & 1)) {
        mask >>= 1;
        ++channel.shift;
    }
    channel.bits = 0;
    while (mask & 1) {
        mask >>= 1;
        ++channel.bits;
    }
    return mask == 0;
}

// Reads and checks one bitmap file's headers in the order they appear, so
// that each step may rely on the ones before it.
class HeaderReader {
public:
    HeaderReader(const uint8_t* data, size_t size, BmpHeader& header, std::string& error)
        : data_(data), size_(size), h_(header), error_(error)
    {
    }

    bool Read()
    {
        return ReadFileHeader() && ReadBitmapHeader() && CheckFormat() && CheckDimensions() &&
               ReadMasks() && ReadPalette() && LocatePixels();
    }

private:
    bool Fail(const std::string& reason)
    {
        error_ = reason;
        return false;
    }

    const uint8_t* Field(size_t offset) const { return data_ + kFileHeaderSize + offset; }
    bool IsCore() const { return headerSize_ == kCoreHeaderSize; }

    bool ReadFileHeader();
    bool ReadBitmapHeader();
    void ReadCoreFields();
    void ReadInfoFields();
    bool CheckFormat();
    bool CheckDimensions();
    bool ReadMasks();
    bool ReadPalette();
    bool LocatePixels();

    const uint8_t* data_;
    size_t size_;
    BmpHeader& h_;
    std::string& error_;

    uint32_t pixelOffset_ = 0;
    uint32_t headerSize_ = 0;
    int64_t width_ = 0;
    int64_t height_ = 0;  // as stored: negative for top-down
    int planes_ = 0;
    uint32_t sizeImage_ = 0;
    uint32_t colorsUsed_ = 0;
    uint64_t tablesEnd_ = 0;  // end of the headers, masks and palette
};

bool HeaderReader::ReadFileHeader()
{
    if (size_ < 2 || data_[0] != 'B' || data_[1] != 'M')
        return Fail("not a BMP file");
    if (size_ < kFileHeaderSize + 4)
        return Fail("the file ends inside the bitmap header");
    pixelOffset_ = GetLe32(data_ + 10);
    headerSize_ = GetLe32(data_ + kFileHeaderSize);
    return true;
}

bool HeaderReader::ReadBitmapHeader()
{
    if (!IsKnownHeaderSize(headerSize_))
        return Fail("unknown bitmap header size (" + std::to_string(headerSize_) + " bytes)");
    tablesEnd_ = kFileHeaderSize + headerSize_;
    if (tablesEnd_ > size_)
        return Fail("the file ends inside the bitmap header");
    if (IsCore())
        ReadCoreFields();
    else
        ReadInfoFields();
    if (planes_ != 1)
        return Fail("the bitmap has " + std::to_string(planes_) + " colour planes instead of 1");
    return true;
}

void HeaderReader::ReadCoreFields()
{
    width_ = GetLe16(Field(kCoreWidth));
    height_ = GetLe16(Field(kCoreHeight));
    planes_ = GetLe16(Field(kCorePlanes));
    h_.bitsPerPixel = GetLe16(Field(kCoreBitCount));
    h_.compression = kBmpRgb;
}

void HeaderReader::ReadInfoFields()
{
    width_ = static_cast<int32_t>(GetLe32(Field(kInfoWidth)));
    height_ = static_cast<int32_t>(GetLe32(Field(kInfoHeight)));
    planes_ = GetLe16(Field(kInfoPlanes));
    h_.bitsPerPixel = GetLe16(Field(kInfoBitCount));
    h_.compression = GetLe32(Field(kInfoCompression));
    sizeImage_ = GetLe32(Field(kInfoSizeImage));
    colorsUsed_ = GetLe32(Field(kInfoClrUsed));
}

// The bit depth, and a compression that goes with it.
bool HeaderReader::CheckFormat()
{
    const int bpp = h_.bitsPerPixel;
    const bool coreDepth = bpp == 1 || bpp == 4 || bpp == 8 || bpp == 24;
    if (!coreDepth && (IsCore() || (bpp != 16 && bpp != 32)))
        return Fail("unsupported bit depth (" + std::to_string(bpp) + " bits per pixel)");
    const uint32_t c = h_.compression;
    if (c != kBmpRgb && !IsRle(c) && !IsBitFields(c))
        return Fail("unsupported compression " + std::to_string(c));
    const bool fits = c == kBmpRgb || (c == kBmpRle8 && bpp == 8) || (c == kBmpRle4 && bpp == 4) ||
                      (IsBitFields(c) && (bpp == 16 || bpp == 32));
    if (!fits)
        return Fail("compression " + std::to_string(c) + " cannot be used with " +
                    std::to_string(bpp) + " bits per pixel");
    return true;
}

// Refuses oversized pictures here, before anyone allocates pixel memory.
bool HeaderReader::CheckDimensions()
{
    if (width_ == 0 || height_ == 0)
        return Fail("the bitmap's size is zero");
    if (width_ < 0)
        return Fail("the bitmap's width is negative");
    h_.topDown = height_ < 0;
    const int64_t height = h_.topDown ? -height_ : height_;
    if (h_.topDown && IsRle(h_.compression))
        return Fail("a compressed bitmap cannot be stored top to bottom");
    if (width_ > kMaxPictureSide || height > kMaxPictureSide)
        return Fail("the picture is larger than " + std::to_string(kMaxPictureSide) +
                    " pixels on a side");
    if (width_ * height > kMaxPicturePixels)
        return Fail("the picture is larger than " + std::to_string(kMaxPicturePixels / 1000000) +
                    " megapixels");
    h_.width = static_cast<int>(width_);
    h_.height = static_cast<int>(height);
    return true;
}

// The channel masks of 16- and 32-bit pictures: the defaults for
// uncompressed ones (5-5-5 and 8-8-8), otherwise read from the file. Alpha
// masks are not read: the picture is shown opaque.
bool HeaderReader::ReadMasks()
{
    const int bpp = h_.bitsPerPixel;
    if (bpp != 16 && bpp != 32)
        return true;
    uint32_t masks[3] = {0x7C00, 0x03E0, 0x001F};
    if (bpp == 32) {
        masks[0] = 0xFF0000;
        masks[1] = 0x00FF00;
        masks[2] = 0x0000FF;
    }
    if (IsBitFields(h_.compression)) {
        if (headerSize_ == kInfoHeaderSize)
            tablesEnd_ += h_.compression == kBmpAlphaBitFields ? 16 : 12;
        if (tablesEnd_ > size_)
            return Fail("the file ends inside the bitmap header");
        for (int i = 0; i < 3; ++i)
            masks[i] = GetLe32(Field(kInfoMasks + 4 * i));
    }
    const bool valid = MakeChannel(masks[0], h_.red) && MakeChannel(masks[1], h_.green) &&
                       MakeChannel(masks[2], h_.blue);
    const bool disjoint =
        !(masks[0] & masks[1]) && !(masks[0] & masks[2]) && !(masks[1] & masks[2]);
    const bool inPixel = bpp == 32 || ((masks[0] | masks[1] | masks[2]) >> 16) == 0;
    if (!valid || !disjoint || !inPixel)
        return Fail("the bitmap's colour masks are not valid");
    return true;
}

// A palette may list fewer colours than the bit depth allows (the colour
// count); a count above that is taken as the full palette rather than
// refused, as Windows shows such files.
bool HeaderReader::ReadPalette()
{
    if (h_.bitsPerPixel > 8)
        return true;
    const uint32_t maxEntries = 1u << h_.bitsPerPixel;
    const uint32_t entries =
        colorsUsed_ == 0 || colorsUsed_ > maxEntries ? maxEntries : colorsUsed_;
    const uint32_t entrySize = IsCore() ? 3 : 4;
    const uint64_t start = tablesEnd_;
    tablesEnd_ += static_cast<uint64_t>(entries) * entrySize;
    if (tablesEnd_ > size_)
        return Fail("the file ends inside the colour table");
    for (uint32_t i = 0; i < entries; ++i) {
        const uint8_t* bgr = data_ + start + i * entrySize;
        h_.palette[i][0] = bgr[2];
        h_.palette[i][1] = bgr[1];
        h_.palette[i][2] = bgr[0];
    }
    return true;
}

// The pixel data must start after the headers and palette and be complete.
// A run-length coded picture's length is only known by decoding it, so
// there the decoder checks the end.
bool HeaderReader::LocatePixels()
{
    if (pixelOffset_ < tablesEnd_)
        return Fail("the pixel data offset points inside the bitmap header");
    if (pixelOffset_ > size_)
        return Fail("the pixel data starts past the end of the file");
    h_.pixelOffset = pixelOffset_;
    const uint64_t available = size_ - pixelOffset_;
    uint64_t needed = 0;
    if (IsRle(h_.compression)) {
        needed = sizeImage_ != 0 ? sizeImage_ : available;  // the coded size, 0 if not given
    } else {
        const uint64_t rowBits = static_cast<uint64_t>(h_.width) * h_.bitsPerPixel;
        h_.rowBytes = static_cast<size_t>((rowBits + 31) / 32 * 4);
        needed = static_cast<uint64_t>(h_.rowBytes) * h_.height;
    }
    if (needed > available)
        return Fail("the file ends before the pixel data is complete");
    h_.pixelBytes = static_cast<size_t>(needed);
    return true;
}

}  // namespace

bool ReadBmpHeader(const uint8_t* data, size_t size, BmpHeader& header, std::string& error)
{
    header = BmpHeader();
    return HeaderReader(data, size, header, error).Read();
}
