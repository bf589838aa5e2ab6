// The JPEG reader on any bytes, at the scale the last byte asks for, and
// the picture turned by its EXIF orientation and by one the input picks.
#include "FuzzSupport.h"
#include "engine/picture/ExifOrientation.h"
#include "engine/picture/JpegDecoder.h"

namespace {

void CheckPicture(const Image& image)
{
    FUZZ_CHECK(image.width > 0 && image.height > 0);
    FUZZ_CHECK(image.width <= kMaxPictureSide && image.height <= kMaxPictureSide);
    FUZZ_CHECK(image.rgb.size() == static_cast<size_t>(image.width) * image.height * 3);
}

void CheckTurned(const Image& stored, int orientation)
{
    Image upright = ApplyOrientation(stored, orientation);
    const bool swapped = orientation >= 5 && orientation <= 8;
    FUZZ_CHECK(upright.width == (swapped ? stored.height : stored.width));
    FUZZ_CHECK(upright.height == (swapped ? stored.width : stored.height));
    FUZZ_CHECK(upright.rgb.size() == stored.rgb.size());
}

}  // namespace

FUZZ_TARGET(FuzzJpeg)
{
    // The whole input is the file; its last byte also gives the box the
    // picture is fitted into (0 x 0: full size) and an orientation to try.
    const uint8_t last = size > 0 ? data[size - 1] : 0;
    const int boxWidth = (last & 0x0F) * 64;
    const int boxHeight = (last >> 4) * 48;

    const int orientation = ReadExifOrientation(data, size);
    FUZZ_CHECK(orientation >= 1 && orientation <= 8);
    DecodeResult result = DecodeJpeg(data, size, boxWidth, boxHeight);
    if (!result.ok) {
        FUZZ_CHECK(!result.error.empty());
        return 0;
    }
    CheckPicture(result.image);
    FUZZ_CHECK(result.sourceWidth >= result.image.width / 2 && result.sourceHeight >= result.image.height / 2);
    CheckTurned(result.image, orientation);
    CheckTurned(result.image, last % 10);  // 0 and 9 mean as stored
    return 0;
}
