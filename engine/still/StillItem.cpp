#include "StillItem.h"

#include "StillEncoder.h"
#include "StillFramer.h"
#include "StillPacker.h"
#include "engine/picture/PictureReader.h"

StillItem MakeStillItem(const std::string& picturePath, const StillItemOptions& options)
{
    StillItem item;
    // Decode no larger than the square-pixel canvas the photo is fitted into.
    const int canvasW = options.ntsc ? 640 : 768, canvasH = options.ntsc ? 480 : 576;
    DecodeResult picture = ReadPicture(picturePath, canvasW, canvasH);
    if (!picture.ok) {
        item.error = picture.error;
        return item;
    }
    item.warning = picture.warning;

    FramingOptions framing;
    framing.safeArea = options.safeArea;
    StillFormat normalFormat{options.ntsc, false};
    std::vector<uint8_t> normal =
        EncodeStillWithinBudget(FrameStill(picture.image, normalFormat, framing), normalFormat).stream;
    std::vector<uint8_t> high;
    if (!options.normalOnly) {
        StillFormat highFormat{options.ntsc, true};
        high = EncodeStillWithinBudget(FrameStill(picture.image, highFormat, framing), highFormat).stream;
    }
    item.packs = PackStillItem(normal, high);
    item.ok = true;
    return item;
}
