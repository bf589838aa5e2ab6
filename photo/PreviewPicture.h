#pragma once
#include "engine/picture/Image.h"

// Where the preview area draws a picture. The area is W x H pixels; the
// picture's longer side is fitted to the area less 20 pixels, keeping its
// shape, and drawn centred and 5 pixels up and left, over a dark shadow of
// the same size 2 pixels up and left of centre. The background leaves a
// 10-pixel strip at the right and bottom.
struct PreviewRect {
    int left, top, right, bottom;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

struct PreviewLayout {
    PreviewRect background;
    PreviewRect shadow;
    PreviewRect picture;
};

// pictureWidth and pictureHeight are the picture's full upright size (only
// their ratio matters); both must be above 0.
PreviewLayout LayOutPreview(int areaWidth, int areaHeight, double pictureWidth, double pictureHeight);

// The picture resampled to width x height (area average when shrinking,
// linear when enlarging), as the preview shows it.
Image ScalePicture(const Image& source, int width, int height);
