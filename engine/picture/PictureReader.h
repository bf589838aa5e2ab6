#pragma once
#include <string>

#include "DecodeResult.h"

// Reads a BMP or JPEG file (recognised by its contents, not its name),
// turns it upright and returns it. boxWidth and boxHeight let a JPEG be
// decoded at a reduced scale: the smallest at which the upright picture,
// fitted into that box keeping its shape, is not enlarged (0, 0: full size).
// Errors name the file and the reason.
DecodeResult ReadPicture(const std::string& path, int boxWidth = 0, int boxHeight = 0);

// Looks at a picture file without decoding it: that it opens, is not too
// large a file, is a BMP or JPEG picture, and that the size its header gives
// is within the limits. Reads only the headers, so a long list of photos is
// checked in moments. Empty when nothing is wrong; else the file and the
// reason. A file that passes can still fail when it is decoded.
std::string CheckPictureFile(const std::string& path);
