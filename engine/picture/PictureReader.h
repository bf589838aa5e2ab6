#pragma once
#include <string>

#include "DecodeResult.h"

// Reads a BMP or JPEG file (recognised by its contents, not its name),
// turns it upright and returns it. minWidth and minHeight let a JPEG be
// decoded at a reduced scale that still covers that size (0, 0: full size).
// Errors name the file and the reason.
DecodeResult ReadPicture(const std::string& path, int minWidth = 0, int minHeight = 0);
