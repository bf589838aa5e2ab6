#pragma once
#include <string>
#include <vector>

#include "engine/picture/Image.h"

// An index sheet: a page of numbered thumbnails that a disc shows as a
// still, drawn on the square-pixel 4:3 canvas of a still (768x576) with
// everything inside the central 90 %, which every television shows.

constexpr int kSheetWidth = 768;
constexpr int kSheetHeight = 576;

// A photo made small for its tile, keeping its shape: at most the size of
// the largest tile a sheet has (five columns, four rows).
Image MakeThumbnail(const Image& photo);

// A thumbnail as it waits for its sheet, in half the memory: luma per
// pixel, colour per 2x2 block (a show of 1,900 photos keeps 35 MB of them).
struct PackedThumbnail {
    int width = 0, height = 0;
    std::vector<uint8_t> planes;  // Y, then Cb and Cr at half width and height
};
PackedThumbnail PackThumbnail(const Image& thumbnail);
Image UnpackThumbnail(const PackedThumbnail& packed);

// Where tile i of a sheet lies on the canvas, for the hot spots a player
// with a pointer offers.
struct SheetRect {
    int x = 0, y = 0, width = 0, height = 0;
};
SheetRect TileRect(size_t i, int columns, int rows, bool captions);

struct SheetTile {
    const Image* thumbnail = nullptr;  // none: the tile shows its label instead
    std::string number;                // the key to press, drawn large
    std::string caption;               // small, under the picture ("#147"); may be empty
    std::string label;                 // for a tile without a picture ("41–60")
};

// The sheet for up to columns x rows tiles in reading order, with the page's
// range on the left of the title line and its place among the pages
// ("3/8") on the right.
Image MakeIndexSheet(const std::vector<SheetTile>& tiles, int columns, int rows, const std::string& range,
                     const std::string& pageOfPages);
