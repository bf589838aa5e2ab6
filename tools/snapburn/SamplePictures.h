#pragma once
#include <cstdint>
#include <vector>

#include "engine/picture/Image.h"

// The pictures of the sample project, drawn here rather than shipped as
// files: a sunrise over hills, the sea with a sailing boat, a night sky, a
// colour wheel, a pattern of tiles and an autumn forest. Each is 4:3 and
// shows its number big in the top left corner, so that the order of the
// pictures on the disc is plain to see.
constexpr int kSamplePictureWidth = 1024;
constexpr int kSamplePictureHeight = 768;
constexpr int kSamplePictureKinds = 6;

// Draws picture `number`, 1 to kSamplePictureKinds. The same number gives
// the same pixels every time.
Image DrawSamplePicture(int number);

// Codes an RGB picture as a baseline JPEG of the given quality (1 to 100).
// False, with `bytes` left as it was, when libjpeg refuses.
bool EncodeJpeg(const Image& image, int quality, std::vector<uint8_t>& bytes);
