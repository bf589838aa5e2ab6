#!/usr/bin/env python3
"""Rasterises the few characters an index sheet draws (digits, the dash of a
range, '#' and '/') from a TrueType font into a C++ table of 8-bit coverage
maps, so that the engine draws text with no font library.

    make_glyph_table.py FONT.ttf OUT.inc SIZE [SIZE...]

Each SIZE is the font's em size in pixels on the sheet's 576-line canvas.
"""
import sys

from PIL import Image, ImageDraw, ImageFont

CHARACTERS = "0123456789\u2013#/ "


def main():
    if len(sys.argv) < 4:
        sys.exit(__doc__)
    font_path, out_path, sizes = sys.argv[1], sys.argv[2], [int(s) for s in sys.argv[3:]]
    lines = ["// Made by tools/make_glyph_table.py from %s; do not edit." % font_path.split("/")[-1], ""]
    faces = []
    for size in sizes:
        font = ImageFont.truetype(font_path, size)
        ascent, descent = font.getmetrics()
        coverage, glyphs = [], []
        for ch in CHARACTERS:
            left, top, right, bottom = font.getbbox(ch)
            width, height = max(right - left, 0), max(bottom - top, 0)
            if width and height:
                img = Image.new("L", (width, height), 0)
                ImageDraw.Draw(img).text((-left, -top), ch, font=font, fill=255)
                pixels = list(img.getdata())
            else:
                pixels = []
            glyphs.append("    {0x%04X, %d, %d, %d, %d, %d, %d}," % (
                ord(ch), width, height, left, top, round(font.getlength(ch)), len(coverage)))
            coverage.extend(pixels)
        lines.append("const uint8_t kCoverage%d[] = {" % size)
        for i in range(0, len(coverage), 24):
            lines.append("    " + ", ".join(str(v) for v in coverage[i:i + 24]) + ",")
        lines.append("};")
        lines.append("const SheetGlyph kGlyphs%d[] = {" % size)
        lines.extend(glyphs)
        lines.append("};")
        lines.append("")
        faces.append("    {%d, %d, %d, kGlyphs%d, %d, kCoverage%d}," % (
            size, ascent, ascent + descent, size, len(CHARACTERS), size))
    lines.append("const SheetFace kSheetFaces[] = {")
    lines.extend(faces)
    lines.append("};")
    with open(out_path, "w") as out:
        out.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
