// The whole picture path, checked with Debian's ffmpeg: what a player
// decodes from our packs must match the picture we meant to show.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "engine/picture/PictureReader.h"
#include "engine/still/StillEncoder.h"
#include "engine/still/StillFramer.h"
#include "engine/still/StillItem.h"
#include "engine/still/StillPacker.h"
#include "support/ExternalTool.h"
#include "support/TempDir.h"

namespace {

std::string Corpus(const std::string& name)
{
    return std::string(SNAPDISC_CORPUS_DIR) + "/" + name;
}

// The planes of one still stream of a packed item, as ffmpeg decodes them.
YCbCrFrame DecodeStream(const std::string& mpg, int streamId, int width, int height, const TempDir& dir)
{
    std::string yuv = dir.File("decoded.yuv");
    char map[64];
    std::snprintf(map, sizeof map, "0:i:0x%x", streamId);
    std::string cmd = "ffmpeg -v error -y -i '" + mpg + "' -map " + map + " -frames:v 1 -f rawvideo -pix_fmt yuv420p '" +
                      yuv + "'";
    YCbCrFrame f;
    if (RunTool(cmd) != 0)
        return f;
    std::string bytes = TempDir::Read(yuv);
    size_t luma = static_cast<size_t>(width) * height, chroma = luma / 4;
    if (bytes.size() != luma + 2 * chroma)
        return f;
    f.width = width;
    f.height = height;
    f.y.assign(bytes.begin(), bytes.begin() + static_cast<long>(luma));
    f.cb.assign(bytes.begin() + static_cast<long>(luma), bytes.begin() + static_cast<long>(luma + chroma));
    f.cr.assign(bytes.begin() + static_cast<long>(luma + chroma), bytes.end());
    return f;
}

double Psnr(const YCbCrFrame& a, const YCbCrFrame& b)
{
    double sum = 0;
    size_t n = 0;
    for (auto plane : {&YCbCrFrame::y, &YCbCrFrame::cb, &YCbCrFrame::cr}) {
        const std::vector<uint8_t>& p = a.*plane;
        const std::vector<uint8_t>& q = b.*plane;
        if (p.size() != q.size())
            return 0;
        for (size_t i = 0; i < p.size(); ++i)
            sum += (p[i] - q[i]) * double(p[i] - q[i]);
        n += p.size();
    }
    return sum == 0 ? 99 : 10 * std::log10(255.0 * 255.0 * n / sum);
}

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

// A 24-bit bottom-up BMP of one colour with a white frame.
std::string WriteFramedBmp(const TempDir& dir, int w, int h)
{
    int stride = (w * 3 + 3) & ~3;
    std::string b(54 + static_cast<size_t>(stride) * h, '\0');
    auto put32 = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i)
            b[at + i] = char(v >> (8 * i));
    };
    b[0] = 'B', b[1] = 'M';
    put32(2, uint32_t(b.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, uint32_t(w));
    put32(22, uint32_t(h));
    b[26] = 1, b[28] = 24;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            bool edge = x < 8 || y < 8 || x >= w - 8 || y >= h - 8;
            size_t at = 54 + static_cast<size_t>(y) * stride + x * 3;
            b[at] = char(edge ? 255 : 40), b[at + 1] = char(edge ? 255 : 160), b[at + 2] = char(edge ? 255 : 90);
        }
    return dir.Write("framed.bmp", b);
}

int MeanLuma(const YCbCrFrame& f, int x0, int y0, int x1, int y1)
{
    long sum = 0, n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x, ++n)
            sum += f.y[static_cast<size_t>(y) * f.width + x];
    return n ? int(sum / n) : 0;
}

}  // namespace

TEST(StillPipeline, DecodedStillsMatchTheFramedPhotos)
{
    SKIP_WITHOUT_TOOL("ffmpeg");
    TempDir dir;
    for (const auto& entry : std::filesystem::directory_iterator(Corpus("photos"))) {
        std::string path = entry.path().string();
        for (bool ntsc : {false, true}) {
            DecodeResult photo = ReadPicture(path, ntsc ? 640 : 768, ntsc ? 480 : 576);
            ASSERT_TRUE(photo.ok) << photo.error;
            StillFormat normal{ntsc, false}, high{ntsc, true};
            YCbCrFrame nf = FrameStill(photo.image, normal), hf = FrameStill(photo.image, high);
            EncodedStill ne = EncodeStillWithinBudget(nf, normal), he = EncodeStillWithinBudget(hf, high);
            EXPECT_LE(ne.stream.size(), 46u * 1024) << path;
            std::string mpg = dir.File("item.mpg");
            WriteBytes(mpg, PackStillItem(ne.stream, he.stream));
            double pn = Psnr(nf, DecodeStream(mpg, 0x1e1, 352, normal.Height(), dir));
            double ph = Psnr(hf, DecodeStream(mpg, 0x1e2, 704, high.Height(), dir));
            EXPECT_GE(pn, 36.0) << path << (ntsc ? " NTSC" : " PAL") << " normal, q" << ne.quantiser;
            EXPECT_GE(ph, 38.0) << path << (ntsc ? " NTSC" : " PAL") << " high, q" << he.quantiser;
        }
    }
}

TEST(StillPipeline, OrientedPhotosComeOutUpright)
{
    SKIP_WITHOUT_TOOL("ffmpeg");
    TempDir dir;
    auto decoded = [&](const std::string& name) {
        StillItem item = MakeStillItem(Corpus("jpeg/" + name), StillItemOptions{false, true, false});
        EXPECT_TRUE(item.ok) << item.error;
        WriteBytes(dir.File(name + ".mpg"), item.packs);
        return DecodeStream(dir.File(name + ".mpg"), 0x1e1, 352, 288, dir);
    };
    YCbCrFrame upright = decoded("gen_orient_1.jpg");
    for (const char* name : {"gen_orient_3.jpg", "gen_orient_6.jpg", "gen_orient_8.jpg"})
        EXPECT_GE(Psnr(upright, decoded(name)), 30.0) << name;
}

TEST(StillPipeline, PortraitIsPillarboxedAndWidescreenLetterboxed)
{
    SKIP_WITHOUT_TOOL("ffmpeg");
    TempDir dir;
    struct {
        int w, h;
        int x0, y0, x1, y1;  // where the photo must be, in the 352x288 PAL still
    } cases[] = {{400, 600, 88, 0, 264, 288}, {1280, 720, 0, 36, 352, 252}};
    for (const auto& c : cases) {
        std::string bmp = WriteFramedBmp(dir, c.w, c.h);
        StillItem item = MakeStillItem(bmp, StillItemOptions{false, true, false});
        ASSERT_TRUE(item.ok) << item.error;
        WriteBytes(dir.File("p.mpg"), item.packs);
        YCbCrFrame f = DecodeStream(dir.File("p.mpg"), 0x1e1, 352, 288, dir);
        ASSERT_EQ(352, f.width);
        // Black bars outside, the white frame just inside the photo's edges.
        if (c.x0 > 0) {
            EXPECT_LE(MeanLuma(f, 0, 10, c.x0 - 3, 278), 20);
            EXPECT_LE(MeanLuma(f, c.x1 + 3, 10, 352, 278), 20);
        }
        if (c.y0 > 0) {
            EXPECT_LE(MeanLuma(f, 10, 0, 342, c.y0 - 3), 20);
            EXPECT_LE(MeanLuma(f, 10, c.y1 + 3, 342, 288), 20);
        }
        EXPECT_GE(MeanLuma(f, c.x0 + 1, c.y0 + 40, c.x0 + 3, c.y1 - 40), 180) << c.w << "x" << c.h;
        EXPECT_GE(MeanLuma(f, c.x0 + 40, c.y0 + 1, c.x1 - 40, c.y0 + 3), 180) << c.w << "x" << c.h;
    }
}
