#include "SheetFont.h"

#include <vector>

namespace {

#include "SheetGlyphs.inc"

std::vector<uint32_t> CodePoints(const std::string& text)
{
    std::vector<uint32_t> codes;
    for (size_t i = 0; i < text.size();) {
        const uint8_t c = static_cast<uint8_t>(text[i]);
        int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
        uint32_t code = extra ? c & (0x3F >> extra) : c;
        ++i;
        for (; extra > 0 && i < text.size(); --extra, ++i)
            code = code << 6 | (static_cast<uint8_t>(text[i]) & 0x3F);
        codes.push_back(code);
    }
    return codes;
}

const SheetGlyph* GlyphOf(const SheetFace& face, uint32_t code)
{
    for (int i = 0; i < face.count; ++i)
        if (face.glyphs[i].code == code)
            return &face.glyphs[i];
    return nullptr;
}

}  // namespace

namespace SheetFont {

const SheetFace& Face(int size)
{
    const SheetFace* best = &kSheetFaces[0];
    for (const SheetFace& face : kSheetFaces)
        if (face.size <= size && face.size > best->size)
            best = &face;
    return *best;
}

int TextWidth(const SheetFace& face, const std::string& text)
{
    int width = 0;
    for (uint32_t code : CodePoints(text))
        if (const SheetGlyph* glyph = GlyphOf(face, code))
            width += glyph->advance;
    return width;
}

void Draw(Image& image, const SheetFace& face, int x, int y, const std::string& text, Rgb colour)
{
    for (uint32_t code : CodePoints(text)) {
        const SheetGlyph* glyph = GlyphOf(face, code);
        if (!glyph)
            continue;
        for (int gy = 0; gy < glyph->height; ++gy) {
            const int py = y + glyph->top + gy;
            if (py < 0 || py >= image.height)
                continue;
            uint8_t* row = image.Row(py);
            const uint8_t* cover = face.coverage + glyph->offset + static_cast<size_t>(gy) * glyph->width;
            for (int gx = 0; gx < glyph->width; ++gx) {
                const int px = x + glyph->left + gx;
                const unsigned a = cover[gx];
                if (px < 0 || px >= image.width || a == 0)
                    continue;
                uint8_t* p = row + static_cast<size_t>(px) * 3;
                p[0] = static_cast<uint8_t>((colour.r * a + p[0] * (255 - a) + 127) / 255);
                p[1] = static_cast<uint8_t>((colour.g * a + p[1] * (255 - a) + 127) / 255);
                p[2] = static_cast<uint8_t>((colour.b * a + p[2] * (255 - a) + 127) / 255);
            }
        }
        x += glyph->advance;
    }
}

}  // namespace SheetFont
