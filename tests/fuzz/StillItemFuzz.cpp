// The still encoder fed with whatever the picture readers make of the
// input, written as a picture file; the last byte picks the options.
#include "FuzzSupport.h"
#include "engine/still/StillItem.h"

namespace {

const size_t kPackBytes = 2324;
const size_t kSegmentPacks = 150;  // a still item takes one segment

}  // namespace

FUZZ_TARGET(FuzzStillItem)
{
    const uint8_t last = size > 0 ? data[size - 1] : 0;
    StillItemOptions options;
    options.ntsc = last & 1;
    options.normalOnly = !(last & 2);  // the high-resolution picture is four times the work
    options.safeArea = last & 4;
    StillItem item = MakeStillItem(WriteScratchFile("picture", data, size), options);
    if (!item.ok) {
        FUZZ_CHECK(!item.error.empty() && item.packs.empty());
        return 0;
    }
    FUZZ_CHECK(!item.packs.empty() && item.packs.size() % kPackBytes == 0);
    FUZZ_CHECK(item.packs.size() / kPackBytes <= kSegmentPacks);
    return 0;
}
