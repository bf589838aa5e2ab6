#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "engine/index/IndexSheet.h"
#include "engine/picture/Image.h"

// How the still pictures of a Video CD item are made from a photo.
struct StillItemOptions {
    bool ntsc = false;        // 525 lines; otherwise 625 (PAL)
    bool normalOnly = false;  // only the 352-wide picture, no high-resolution one
    bool safeArea = false;    // fit the photo inside the central 90 %
    bool thumbnail = false;   // also the photo made small for an index page
};

struct StillItem {
    bool ok = false;
    std::string error;          // names the file and the reason
    std::string warning;        // made, but the picture had a fault (e.g. incomplete)
    std::vector<uint8_t> packs; // the item's 2324-byte packs
    PackedThumbnail thumbnail;  // when asked for
};

// Reads, orients, frames and encodes one photo as the still item a disc
// holds for it: a normal-resolution picture and, unless asked otherwise, a
// high-resolution one, multiplexed into packs.
StillItem MakeStillItem(const std::string& picturePath, const StillItemOptions& options);
// The same for a picture already upright in memory (an index sheet).
StillItem MakeStillItemFromImage(const Image& picture, const StillItemOptions& options);
