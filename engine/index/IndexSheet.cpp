#include "IndexSheet.h"

#include <algorithm>

#include "SheetFont.h"

namespace {

// The safe area: 5 % in from each edge.
constexpr int kLeft = kSheetWidth / 20, kRight = kSheetWidth - kSheetWidth / 20;
constexpr int kTop = kSheetHeight / 20, kBottom = kSheetHeight - kSheetHeight / 20;
constexpr int kTitleHeight = 46;
constexpr int kGap = 8;  // between tiles
constexpr int kTitleSize = 34, kNumberSize = 34, kCaptionSize = 20;
constexpr int kMaxThumbnailWidth = 128, kMaxThumbnailHeight = 96;

const Rgb kBackground{24, 28, 40};
const Rgb kTileBackground{0, 0, 0};
const Rgb kTitleColour{235, 235, 235};
const Rgb kNumberColour{255, 214, 0};
const Rgb kCaptionColour{200, 200, 200};

void Fill(Image& image, int x0, int y0, int x1, int y1, Rgb colour)
{
    x0 = std::max(x0, 0), y0 = std::max(y0, 0);
    x1 = std::min(x1, image.width), y1 = std::min(y1, image.height);
    for (int y = y0; y < y1; ++y) {
        uint8_t* p = image.Row(y) + static_cast<size_t>(x0) * 3;
        for (int x = x0; x < x1; ++x, p += 3) {
            p[0] = colour.r;
            p[1] = colour.g;
            p[2] = colour.b;
        }
    }
}

// Area-average resampling of src into a width x height picture.
Image Resample(const Image& src, int width, int height)
{
    Image out;
    out.width = width;
    out.height = height;
    out.rgb.resize(static_cast<size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y) {
        const int sy0 = static_cast<int>(int64_t{y} * src.height / height);
        const int sy1 = std::max(sy0 + 1, static_cast<int>(int64_t{y + 1} * src.height / height));
        for (int x = 0; x < width; ++x) {
            const int sx0 = static_cast<int>(int64_t{x} * src.width / width);
            const int sx1 = std::max(sx0 + 1, static_cast<int>(int64_t{x + 1} * src.width / width));
            unsigned sum[3] = {0, 0, 0};
            for (int sy = sy0; sy < sy1; ++sy) {
                const uint8_t* p = src.Row(sy) + static_cast<size_t>(sx0) * 3;
                for (int sx = sx0; sx < sx1; ++sx, p += 3) {
                    sum[0] += p[0];
                    sum[1] += p[1];
                    sum[2] += p[2];
                }
            }
            const unsigned n = static_cast<unsigned>((sy1 - sy0) * (sx1 - sx0));
            uint8_t* o = out.Row(y) + static_cast<size_t>(x) * 3;
            for (int c = 0; c < 3; ++c)
                o[c] = static_cast<uint8_t>((sum[c] + n / 2) / n);
        }
    }
    return out;
}

// The largest width x height of the given shape inside a box.
void Fit(int sourceWidth, int sourceHeight, int boxWidth, int boxHeight, int& width, int& height)
{
    if (int64_t{sourceWidth} * boxHeight >= int64_t{sourceHeight} * boxWidth) {
        width = boxWidth;
        height = std::max(1, static_cast<int>(int64_t{boxWidth} * sourceHeight / sourceWidth));
    } else {
        height = boxHeight;
        width = std::max(1, static_cast<int>(int64_t{boxHeight} * sourceWidth / sourceHeight));
    }
}

// Draws a picture scaled into a box, centred, keeping its shape.
void Place(Image& sheet, const Image& picture, int x, int y, int boxWidth, int boxHeight)
{
    int width = 0, height = 0;
    Fit(picture.width, picture.height, boxWidth, boxHeight, width, height);
    const Image scaled = width == picture.width && height == picture.height ? picture : Resample(picture, width, height);
    const int left = x + (boxWidth - width) / 2, top = y + (boxHeight - height) / 2;
    for (int row = 0; row < height; ++row)
        std::copy(scaled.Row(row), scaled.Row(row) + static_cast<size_t>(width) * 3,
                  sheet.Row(top + row) + static_cast<size_t>(left) * 3);
}

void DrawCentred(Image& sheet, const SheetFace& face, int x, int width, int y, const std::string& text, Rgb colour)
{
    SheetFont::Draw(sheet, face, x + (width - SheetFont::TextWidth(face, text)) / 2, y, text, colour);
}

}  // namespace

Image MakeThumbnail(const Image& photo)
{
    if (photo.width <= 0 || photo.height <= 0)
        return Image{};
    int width = 0, height = 0;
    Fit(photo.width, photo.height, std::min(photo.width, kMaxThumbnailWidth),
        std::min(photo.height, kMaxThumbnailHeight), width, height);
    return Resample(photo, width, height);
}

PackedThumbnail PackThumbnail(const Image& thumbnail)
{
    PackedThumbnail packed;
    packed.width = thumbnail.width;
    packed.height = thumbnail.height;
    const int cw = (thumbnail.width + 1) / 2, ch = (thumbnail.height + 1) / 2;
    packed.planes.resize(static_cast<size_t>(thumbnail.width) * thumbnail.height + 2 * static_cast<size_t>(cw) * ch);
    uint8_t* luma = packed.planes.data();
    uint8_t* cb = luma + static_cast<size_t>(thumbnail.width) * thumbnail.height;
    uint8_t* cr = cb + static_cast<size_t>(cw) * ch;
    for (int y = 0; y < thumbnail.height; ++y) {
        const uint8_t* p = thumbnail.Row(y);
        for (int x = 0; x < thumbnail.width; ++x, p += 3)
            *luma++ = static_cast<uint8_t>((77 * p[0] + 150 * p[1] + 29 * p[2] + 128) >> 8);
    }
    for (int by = 0; by < ch; ++by)
        for (int bx = 0; bx < cw; ++bx) {
            int r = 0, g = 0, b = 0, n = 0;
            for (int y = 2 * by; y < std::min(2 * by + 2, thumbnail.height); ++y)
                for (int x = 2 * bx; x < std::min(2 * bx + 2, thumbnail.width); ++x, ++n) {
                    const uint8_t* p = thumbnail.Row(y) + static_cast<size_t>(x) * 3;
                    r += p[0], g += p[1], b += p[2];
                }
            r /= n, g /= n, b /= n;
            const int yy = (77 * r + 150 * g + 29 * b + 128) >> 8;
            *cb++ = static_cast<uint8_t>(std::clamp(128 + ((b - yy) * 144 >> 8), 0, 255));
            *cr++ = static_cast<uint8_t>(std::clamp(128 + ((r - yy) * 182 >> 8), 0, 255));
        }
    return packed;
}

Image UnpackThumbnail(const PackedThumbnail& packed)
{
    Image image;
    image.width = packed.width;
    image.height = packed.height;
    image.rgb.resize(static_cast<size_t>(packed.width) * packed.height * 3);
    const int cw = (packed.width + 1) / 2;
    const uint8_t* luma = packed.planes.data();
    const uint8_t* cb = luma + static_cast<size_t>(packed.width) * packed.height;
    const uint8_t* cr = cb + static_cast<size_t>(cw) * ((packed.height + 1) / 2);
    for (int y = 0; y < packed.height; ++y) {
        uint8_t* p = image.Row(y);
        for (int x = 0; x < packed.width; ++x, p += 3) {
            const int yy = luma[static_cast<size_t>(y) * packed.width + x];
            const int u = cb[static_cast<size_t>(y / 2) * cw + x / 2] - 128;
            const int v = cr[static_cast<size_t>(y / 2) * cw + x / 2] - 128;
            // The inverse of the packing's scaled differences.
            const int r = yy + (v * 256 / 182), b = yy + (u * 256 / 144);
            const int g = (256 * yy - 77 * r - 29 * b) / 150;
            p[0] = static_cast<uint8_t>(std::clamp(r, 0, 255));
            p[1] = static_cast<uint8_t>(std::clamp(g, 0, 255));
            p[2] = static_cast<uint8_t>(std::clamp(b, 0, 255));
        }
    }
    return image;
}

SheetRect TileRect(size_t i, int columns, int rows, bool captions)
{
    const SheetFace& caption = SheetFont::Face(kCaptionSize);
    const int cellWidth = (kRight - kLeft + kGap) / columns;
    const int cellHeight = (kBottom - kTop - kTitleHeight + kGap) / rows;
    const int captionHeight = captions ? caption.lineHeight : 0;
    SheetRect rect;
    Fit(4, 3, cellWidth - kGap, cellHeight - kGap - captionHeight, rect.width, rect.height);
    const int column = static_cast<int>(i) % columns, row = static_cast<int>(i) / columns;
    rect.x = kLeft + column * cellWidth + (cellWidth - kGap - rect.width) / 2;
    rect.y = kTop + kTitleHeight + row * cellHeight;
    return rect;
}

Image MakeIndexSheet(const std::vector<SheetTile>& tiles, int columns, int rows, const std::string& range,
                     const std::string& pageOfPages)
{
    Image sheet;
    sheet.width = kSheetWidth;
    sheet.height = kSheetHeight;
    sheet.rgb.resize(static_cast<size_t>(kSheetWidth) * kSheetHeight * 3);
    Fill(sheet, 0, 0, kSheetWidth, kSheetHeight, kBackground);

    const SheetFace& title = SheetFont::Face(kTitleSize);
    SheetFont::Draw(sheet, title, kLeft, kTop, range, kTitleColour);
    SheetFont::Draw(sheet, title, kRight - SheetFont::TextWidth(title, pageOfPages), kTop, pageOfPages,
                    kTitleColour);

    const SheetFace& number = SheetFont::Face(kNumberSize);
    const SheetFace& caption = SheetFont::Face(kCaptionSize);
    const bool captions = std::any_of(tiles.begin(), tiles.end(), [](const SheetTile& t) { return !t.caption.empty(); });
    for (size_t i = 0; i < tiles.size() && i < static_cast<size_t>(columns * rows); ++i) {
        const SheetTile& tile = tiles[i];
        // A 4:3 tile as large as its cell allows, with room for the caption.
        const SheetRect rect = TileRect(i, columns, rows, captions);
        const int x = rect.x, y = rect.y, tileWidth = rect.width, tileHeight = rect.height;
        Fill(sheet, x, y, x + tileWidth, y + tileHeight, kTileBackground);
        if (tile.thumbnail && tile.thumbnail->width > 0)
            Place(sheet, *tile.thumbnail, x, y, tileWidth, tileHeight);
        else {
            // The label (a page's range) below the badge, smaller where it
            // would not fit the tile.
            const SheetFace& face =
                SheetFont::TextWidth(number, tile.label) <= tileWidth - 8 ? number : caption;
            const int top = y + number.lineHeight - 4;
            DrawCentred(sheet, face, x, tileWidth, top + (tileHeight - (top - y) - face.lineHeight) / 2, tile.label,
                        kTitleColour);
        }
        // The key on a dark badge in the tile's corner, readable on any photo.
        const int badgeWidth = SheetFont::TextWidth(number, tile.number) + 8;
        Fill(sheet, x, y, x + badgeWidth, y + number.lineHeight - 4, kTileBackground);
        SheetFont::Draw(sheet, number, x + 4, y - 4, tile.number, kNumberColour);
        if (!tile.caption.empty())
            DrawCentred(sheet, caption, x, tileWidth, y + tileHeight, tile.caption, kCaptionColour);
    }
    return sheet;
}
