// How large a picture file may be: refused from its size alone, before any
// of it is read, and the error names the file.
#include <gtest/gtest.h>

#include <filesystem>

#include "engine/picture/PictureReader.h"
#include "support/TempDir.h"

TEST(PictureReader, FileSizeLimitIsCheckedBeforeReading)
{
    TempDir dir;
    const long long limit = 512ll * 1024 * 1024;
    const struct {
        long long size;
        const char* error;
    } cases[] = {
        // Sparse files of zeros: at the limit only the first bytes are read.
        {limit, "the file is not a BMP or JPEG picture"},
        {limit + 1, "the file is larger than 512 MB, the most a picture file may be"},
    };
    for (const auto& c : cases) {
        const std::string path = dir.Write("big.bmp", "");
        std::filesystem::resize_file(path, static_cast<std::uintmax_t>(c.size));
        const DecodeResult result = ReadPicture(path);
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.error, path + ": " + c.error) << c.size;
    }
}
