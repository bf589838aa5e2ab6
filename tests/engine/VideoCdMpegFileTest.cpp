// How large an MPEG item may be: refused from its size alone, before any of
// it is read, with an error naming the file.
#include <gtest/gtest.h>

#include <filesystem>

#include "engine/slideshow/VideoCdMpegFile.h"
#include "support/TempDir.h"

TEST(VideoCdMpegFile, SizeLimitIsCheckedBeforeReading)
{
    TempDir dir;
    const struct {
        uint64_t size;
        const char* error;
    } cases[] = {
        // Sparse files of zeros: at the limit the file is read and found wanting.
        {kMaxMpegFileBytes, "not a Video CD MPEG file (its size is not a whole number of 2324-byte packs)"},
        {kMaxMpegFileBytes + 1, "MPEG files larger than 64 MB cannot be put on the disc"},
    };
    for (const auto& c : cases) {
        const std::string path = dir.Write("item.mpg", "");
        std::filesystem::resize_file(path, c.size);
        const VideoCdMpegFile file = ReadVideoCdMpegFile(path);
        EXPECT_FALSE(file.ok);
        EXPECT_EQ(file.error, path + ": " + c.error) << c.size;
    }
}
