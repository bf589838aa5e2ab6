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
};
