// The BMP reader on any bytes, and the picture turned by an orientation
// the last byte picks.
#include "FuzzSupport.h"
#include "engine/picture/BmpDecoder.h"
#include "engine/picture/ExifOrientation.h"

FUZZ_TARGET(FuzzBmp)
{
    DecodeResult result = DecodeBmp(data, size);
    if (!result.ok) {
        FUZZ_CHECK(!result.error.empty());
        return 0;
    }
    const Image& image = result.image;
    FUZZ_CHECK(image.width > 0 && image.height > 0);
    FUZZ_CHECK(image.width <= kMaxPictureSide && image.height <= kMaxPictureSide);
    FUZZ_CHECK(static_cast<int64_t>(image.width) * image.height <= kMaxPicturePixels);
    FUZZ_CHECK(image.rgb.size() == static_cast<size_t>(image.width) * image.height * 3);
    FUZZ_CHECK(result.sourceWidth == image.width && result.sourceHeight == image.height);

    const int orientation = size > 0 ? data[size - 1] % 10 : 1;  // 0 and 9 mean as stored
    Image upright = ApplyOrientation(image, orientation);
    const bool swapped = orientation >= 5 && orientation <= 8;
    FUZZ_CHECK(upright.width == (swapped ? image.height : image.width));
    FUZZ_CHECK(upright.rgb.size() == image.rgb.size());
    return 0;
}
