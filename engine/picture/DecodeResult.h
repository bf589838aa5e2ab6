#pragma once
#include <string>

#include "Image.h"

// What a decoder gives back: a picture, or the reason it was refused.
// A picture may carry a warning (for example a truncated JPEG whose missing
// part is shown grey).
struct DecodeResult {
    bool ok = false;
    Image image;
    std::string error;    // why the picture was refused, for the user
    std::string warning;  // decoded, but something was not right
    // The picture's full size, upright; the image itself may be a reduced
    // scale of it (see ReadPicture).
    int sourceWidth = 0;
    int sourceHeight = 0;
};
