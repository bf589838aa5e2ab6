#pragma once
#include <cstdint>
#include <string>

#include "engine/picture/Image.h"

// One character of a built-in face: its coverage map (8-bit, 255 = fully
// covered) and where it sits, in pixels from the pen position at the top
// of the line.
struct SheetGlyph {
    uint32_t code;
    int16_t width, height;
    int16_t left, top;  // from the pen, down from the line's top
    int16_t advance;
    uint32_t offset;    // into the face's coverage bytes
};

struct SheetFace {
    int size;        // em size in pixels
    int ascent;      // from the line's top to the baseline
    int lineHeight;
    const SheetGlyph* glyphs;
    int count;
    const uint8_t* coverage;
};

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
};

// The text of the index sheets: digits, the dash of a range ("41–60"), '#',
// '/' and space, from DejaVu Sans Bold rasterised when the engine is built.
// Text is UTF-8; characters the faces do not have are skipped.
namespace SheetFont {

// The largest built-in face not above size pixels (the smallest if none is).
const SheetFace& Face(int size);
int TextWidth(const SheetFace& face, const std::string& text);
// Draws text with the top of its line at y, blending the colour by each
// pixel's coverage; whatever falls outside the image is left out.
void Draw(Image& image, const SheetFace& face, int x, int y, const std::string& text, Rgb colour);

}  // namespace SheetFont
