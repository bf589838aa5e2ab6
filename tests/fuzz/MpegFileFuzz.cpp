// The reader of MPEG items on any bytes: accepted files are whole packs of
// one of the two Video CD rasters.
#include "FuzzSupport.h"
#include "engine/slideshow/VideoCdMpegFile.h"

FUZZ_TARGET(FuzzMpegFile)
{
    VideoCdMpegFile file = ReadVideoCdMpegFile(WriteScratchFile("item.mpg", data, size));
    if (!file.ok) {
        FUZZ_CHECK(!file.error.empty() && file.packs.empty());
        return 0;
    }
    FUZZ_CHECK(file.packs.size() == size && size % 2324 == 0);
    return 0;
}
