#pragma once
#include <cstdint>
#include <functional>
#include <vector>

struct PixelRect {
    int left, top, right, bottom;  // half-open
};

// The pixels of a picture that have exactly the colour of its pixel (0, 0),
// as rectangles that cover them and nothing else: runs down each column,
// merged with the same run of the column before. Cutting them from the
// picture's rectangle gives the window outline.
std::vector<PixelRect> KeyColourRects(int width, int height, const std::function<uint32_t(int x, int y)>& pixel);
