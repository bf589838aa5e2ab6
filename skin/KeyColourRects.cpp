#include "KeyColourRects.h"

#include <map>
#include <utility>

std::vector<PixelRect> KeyColourRects(int width, int height, const std::function<uint32_t(int x, int y)>& pixel)
{
    std::vector<PixelRect> rects;
    if (width <= 0 || height <= 0)
        return rects;
    const uint32_t key = pixel(0, 0);
    // Runs of the previous column, by (top, bottom), to the rectangle they extend.
    std::map<std::pair<int, int>, size_t> open;
    for (int x = 0; x < width; ++x) {
        std::map<std::pair<int, int>, size_t> next;
        for (int y = 0; y < height;) {
            if (pixel(x, y) != key) {
                ++y;
                continue;
            }
            int top = y;
            while (y < height && pixel(x, y) == key)
                ++y;
            std::pair<int, int> run(top, y);
            auto found = open.find(run);
            if (found != open.end()) {
                rects[found->second].right = x + 1;
                next[run] = found->second;
            } else {
                next[run] = rects.size();
                rects.push_back({x, top, x + 1, y});
            }
        }
        open.swap(next);
    }
    return rects;
}
