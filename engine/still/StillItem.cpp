#include "StillItem.h"

#include "StillEncoder.h"
#include "StillFramer.h"
#include "StillPacker.h"
#include "engine/picture/PictureReader.h"

StillItem MakeStillItem(const std::string& picturePath, const StillItemOptions& options)
{
    StillItem item;
    // Decoded no larger than the largest picture made from it needs.
    const PictureBox box = DecodeBoxFor(StillFormat{options.ntsc, !options.normalOnly});
    DecodeResult picture = ReadPicture(picturePath, box.width, box.height);
    if (!picture.ok) {
        item.error = picture.error;
        return item;
    }
    StillItem made = MakeStillItemFromImage(picture.image, options);
    made.warning = picture.warning;
    if (options.thumbnail)
        made.thumbnail = PackThumbnail(MakeThumbnail(picture.image));
    return made;
}

StillItem MakeStillItemFromImage(const Image& picture, const StillItemOptions& options)
{
    StillItem item;
    FramingOptions framing;
    framing.safeArea = options.safeArea;
    const StillFormat normalFormat{options.ntsc, false}, highFormat{options.ntsc, true};
    std::vector<uint8_t> normal, high;
    if (options.normalOnly) {
        normal = EncodeStillWithinBudget(FrameStill(picture, normalFormat, framing), normalFormat).stream;
    } else {
        const StillFrames frames = FrameStillPair(picture, options.ntsc, framing);
        normal = EncodeStillWithinBudget(frames.normal, normalFormat).stream;
        high = EncodeStillWithinBudget(frames.high, highFormat).stream;
    }
    item.packs = PackStillItem(normal, high);
    item.ok = true;
    return item;
}
