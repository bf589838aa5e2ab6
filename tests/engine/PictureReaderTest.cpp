// How large a picture file may be, and the quick look at a file that a burn
// takes before it makes any still.
#include <gtest/gtest.h>

#include <filesystem>

#include "engine/picture/PictureReader.h"
#include "support/TempDir.h"

namespace {

std::string Corpus(const std::string& name)
{
    return std::string(SNAPDISC_CORPUS_DIR) + "/" + name;
}

}  // namespace

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

// The quick look never refuses a picture the reader shows, and it already
// refuses what the headers alone give away.
TEST(PictureReader, CheckPictureFileAgreesWithTheReader)
{
    for (const auto& entry : std::filesystem::recursive_directory_iterator(SNAPDISC_CORPUS_DIR)) {
        if (!entry.is_regular_file())
            continue;
        const std::string path = entry.path().string();
        if (ReadPicture(path, 64, 64).ok) {
            EXPECT_EQ("", CheckPictureFile(path));
        }
    }
    TempDir dir;
    const std::pair<std::string, const char*> refused[] = {
        {Corpus("invalid/gen_bomb_20000x15000.jpg"), "the picture is larger than 100 megapixels"},
        {Corpus("invalid/gen_bomb_65500x65500.jpg"), "the picture is larger than 100 megapixels"},
        {Corpus("invalid/gen_bmp_bomb_20000x15000_no_data.bmp"), "the picture is larger than 100 megapixels"},
        {Corpus("invalid/gen_empty.jpg"), "the file is empty"},
        {Corpus("invalid/gen_text_renamed.jpg"), "the file is not a BMP or JPEG picture"},
        {dir.Write("head.jpg", "\xff\xd8\xff\xe1\x10\x00"), "the JPEG file ends before the picture data"},
        {dir.File("missing.jpg"), "the file cannot be opened"},
    };
    for (const auto& r : refused)
        EXPECT_EQ(r.first + ": " + r.second, CheckPictureFile(r.first));
}
