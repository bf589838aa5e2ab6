#include "BmpDecoder.h"

#include <cstring>
#include <string>

#include "BmpHeader.h"

namespace {

const char kTruncated[] = "the file ends before the pixel data is complete";

// Turns one channel of a 16- or 32-bit pixel into 0..255: narrow channels
// are stretched so that their largest value is white, wider ones keep their
// top 8 bits.
class ChannelScaler {
public:
    explicit ChannelScaler(const BmpChannel& channel) : channel_(channel)
    {
        if (channel.bits > 8)
            return;
        const uint32_t top = (1u << channel.bits) - 1;
        for (uint32_t v = 0; v <= top; ++v)
            table_[v] = static_cast<uint8_t>((v * 255 + top / 2) / top);
    }

    uint8_t operator()(uint32_t pixel) const
    {
        const uint32_t v = (pixel & channel_.mask) >> channel_.shift;
        return channel_.bits > 8 ? static_cast<uint8_t>(v >> (channel_.bits - 8)) : table_[v];
    }

private:
    BmpChannel channel_;
    uint8_t table_[256] = {};
};

// 1, 4 or 8 bits per pixel; the leftmost pixel is in the high bits of a byte.
void DecodePalettedRow(const BmpHeader& h, const uint8_t* src, uint8_t* dst)
{
    const int bpp = h.bitsPerPixel;
    const int perByte = 8 / bpp;
    const int indexMask = (1 << bpp) - 1;
    for (int x = 0; x < h.width; ++x) {
        const int shift = 8 - bpp * (x % perByte + 1);
        const int index = (src[x / perByte] >> shift) & indexMask;
        std::memcpy(dst + 3 * x, h.palette[index], 3);
    }
}

// Stored as blue, green, red.
void DecodeBgrRow(const BmpHeader& h, const uint8_t* src, uint8_t* dst)
{
    for (int x = 0; x < h.width; ++x, src += 3, dst += 3) {
        dst[0] = src[2];
        dst[1] = src[1];
        dst[2] = src[0];
    }
}

// 16- or 32-bit little-endian pixels split by the channel masks.
class MaskedRowDecoder {
public:
    explicit MaskedRowDecoder(const BmpHeader& h)
        : red_(h.red), green_(h.green), blue_(h.blue), bytesPerPixel_(h.bitsPerPixel / 8)
    {
    }

    void operator()(const BmpHeader& h, const uint8_t* src, uint8_t* dst) const
    {
        for (int x = 0; x < h.width; ++x, src += bytesPerPixel_, dst += 3) {
            uint32_t pixel = static_cast<uint32_t>(src[0]) | static_cast<uint32_t>(src[1]) << 8;
            if (bytesPerPixel_ == 4)
                pixel |= static_cast<uint32_t>(src[2]) << 16 | static_cast<uint32_t>(src[3]) << 24;
            dst[0] = red_(pixel);
            dst[1] = green_(pixel);
            dst[2] = blue_(pixel);
        }
    }

private:
    ChannelScaler red_, green_, blue_;
    int bytesPerPixel_;
};

// Uncompressed rows: the header reader has checked that every row, padding
// included, is in the file.
template <typename RowDecoder>
void DecodeRows(const BmpHeader& h, const uint8_t* pixels, Image& image,
                const RowDecoder& decodeRow)
{
    for (int row = 0; row < h.height; ++row) {
        const uint8_t* src = pixels + static_cast<size_t>(row) * h.rowBytes;
        decodeRow(h, src, image.Row(h.topDown ? row : h.height - 1 - row));
    }
}

void DecodeUncompressed(const BmpHeader& h, const uint8_t* pixels, Image& image)
{
    if (h.bitsPerPixel <= 8)
        DecodeRows(h, pixels, image, DecodePalettedRow);
    else if (h.bitsPerPixel == 24)
        DecodeRows(h, pixels, image, DecodeBgrRow);
    else
        DecodeRows(h, pixels, image, MaskedRowDecoder(h));
}

// Walks a run-length coded picture (RLE8 or RLE4), always bottom-up.
// Codes, two bytes each:
//   n c       n > 0: n pixels of index c (RLE4: the two nibbles of c alternate)
//   0 0       end of line            0 1      end of bitmap
//   0 2 dx dy move right and up       0 n ...  n >= 3: n indices follow as
//                                              they are, padded to a word
// Pixels outside the picture are dropped (a run may not wrap to the next
// line); pixels never written stay black.
class RleDecoder {
public:
    RleDecoder(const BmpHeader& h, const uint8_t* data, Image& image)
        : h_(h), data_(data), size_(h.pixelBytes), image_(image), rle4_(h.compression == kBmpRle4)
    {
    }

    bool Decode(std::string& error)
    {
        while (pos_ + 2 <= size_ && y_ < h_.height) {
            const uint8_t count = data_[pos_];
            const uint8_t value = data_[pos_ + 1];
            pos_ += 2;
            if (count > 0)
                Run(count, value);
            else if (value == 0)
                NextLine();
            else if (value == 1)
                return true;
            else if (!(value == 2 ? Delta() : Absolute(value)))
                break;
        }
        if (IsComplete())
            return true;
        error = kTruncated;
        return false;
    }

private:
    // Without an end-of-bitmap code, the picture counts as complete once
    // its last line is filled.
    bool IsComplete() const { return y_ >= h_.height || (y_ == h_.height - 1 && x_ >= h_.width); }

    void Put(uint8_t index)
    {
        if (x_ < h_.width && y_ < h_.height) {
            uint8_t* row = image_.Row(h_.height - 1 - static_cast<int>(y_));
            std::memcpy(row + 3 * x_, h_.palette[index], 3);
        }
        ++x_;
    }

    void Run(int count, uint8_t value)
    {
        for (int i = 0; i < count && x_ < h_.width; ++i)
            Put(rle4_ ? (i % 2 == 0 ? value >> 4 : value & 0x0F) : value);
    }

    void NextLine()
    {
        x_ = 0;
        ++y_;
    }

    bool Delta()
    {
        if (pos_ + 2 > size_)
            return false;
        x_ += data_[pos_];
        y_ += data_[pos_ + 1];
        pos_ += 2;
        return true;
    }

    bool Absolute(int count)
    {
        const size_t bytes = rle4_ ? (count + 1) / 2 : count;
        if (pos_ + bytes > size_)
            return false;
        const uint8_t* src = data_ + pos_;
        for (int i = 0; i < count; ++i)
            Put(rle4_ ? (i % 2 == 0 ? src[i / 2] >> 4 : src[i / 2] & 0x0F) : src[i]);
        pos_ += bytes + (bytes & 1);
        return true;
    }

    const BmpHeader& h_;
    const uint8_t* data_;
    size_t size_;
    Image& image_;
    bool rle4_;
    size_t pos_ = 0;
    int64_t x_ = 0;
    int64_t y_ = 0;  // from the bottom line
};

}  // namespace

DecodeResult DecodeBmp(const uint8_t* data, size_t size)
{
    DecodeResult result;
    BmpHeader header;
    if (!ReadBmpHeader(data, size, header, result.error))
        return result;
    Image& image = result.image;
    image.width = header.width;
    image.height = header.height;
    image.rgb.assign(static_cast<size_t>(header.width) * header.height * 3, 0);
    const uint8_t* pixels = data + header.pixelOffset;
    if (header.compression == kBmpRle8 || header.compression == kBmpRle4) {
        if (!RleDecoder(header, pixels, image).Decode(result.error)) {
            result.image = Image();
            return result;
        }
    } else {
        DecodeUncompressed(header, pixels, image);
    }
    result.ok = true;
    result.sourceWidth = image.width;
    result.sourceHeight = image.height;
    return result;
}
