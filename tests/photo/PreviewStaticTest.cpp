// The preview area under Wine: what it draws for real picture files.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "photo/CPreviewStatic.h"
#include "support/FacePixel.h"
#include "support/FakePrompter.h"
#include "support/TempDir.h"

namespace {

const COLORREF kBackground = RGB(185, 183, 245);
const COLORREF kShadow = RGB(64, 64, 64);  // the stock dark-grey brush

// A 24-bit BMP of one colour.
std::string Bmp(int width, int height, COLORREF colour)
{
    const int stride = (width * 3 + 3) & ~3;
    std::string b;
    auto put = [&b](uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            b.push_back(static_cast<char>(v >> (8 * i)));
    };
    b += "BM";
    put(54u + static_cast<uint32_t>(stride * height), 4), put(0, 4), put(54, 4);
    put(40, 4), put(static_cast<uint32_t>(width), 4), put(static_cast<uint32_t>(height), 4), put(1, 2), put(24, 2);
    put(0, 4), put(static_cast<uint32_t>(stride * height), 4), put(2835, 4), put(2835, 4), put(0, 4), put(0, 4);
    std::string row(static_cast<size_t>(stride), '\0');
    for (int x = 0; x < width; ++x) {
        row[static_cast<size_t>(x * 3)] = static_cast<char>(GetBValue(colour));
        row[static_cast<size_t>(x * 3 + 1)] = static_cast<char>(GetGValue(colour));
        row[static_cast<size_t>(x * 3 + 2)] = static_cast<char>(GetRValue(colour));
    }
    for (int y = 0; y < height; ++y)
        b += row;
    return b;
}

void Pump()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
}

class PreviewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_hParent = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 300, 300, nullptr, nullptr,
                                    GetModuleHandleA(nullptr), nullptr);
        HWND area = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 10, 10, 187, 175, m_hParent, nullptr,
                                    GetModuleHandleA(nullptr), nullptr);
        ASSERT_TRUE(m_preview.SubclassWindow(area));
    }
    void TearDown() override { DestroyWindow(m_hParent); }

    void Show(const std::string& path)
    {
        m_preview.m_strPicturePath = path;
        InvalidateRect(m_preview.m_hWnd, nullptr, TRUE);
        UpdateWindow(m_preview.m_hWnd);
    }
    COLORREF At(int x, int y) { return WindowPixel(m_preview.m_hWnd, x, y); }

    TempDir m_dir;
    FakePrompter m_prompter;
    HWND m_hParent = nullptr;
    CPreviewStatic m_preview;
};

}  // namespace

TEST_F(PreviewTest, LandscapeAndPortraitFitTheArea)
{
    const COLORREF red = RGB(200, 30, 40);
    Show(m_dir.Write("wide.bmp", Bmp(1600, 1200, red)));
    // Picture (5, 19) 167 x 125; shadow (8, 22) to (175, 148); background to (177, 165).
    struct {
        int x, y;
        COLORREF expected;
    } wide[] = {{5, 19, red},          {171, 143, red},         {4, 19, kBackground}, {5, 18, kBackground},
                {172, 143, kShadow},   {174, 147, kShadow},     {8, 144, kShadow},    {7, 144, kBackground},
                {175, 147, kBackground}, {174, 148, kBackground}, {176, 164, kBackground}};
    for (const auto& p : wide)
        EXPECT_EQ(p.expected, At(p.x, p.y)) << p.x << "," << p.y;
    EXPECT_NE(kBackground, At(177, 100));  // the 10-pixel strip is not filled

    Show(m_dir.Write("tall.bmp", Bmp(1200, 1600, red)));
    // Picture (30, 5) 116 x 155; shadow (33, 8) to (149, 163).
    struct {
        int x, y;
        COLORREF expected;
    } tall[] = {{30, 5, red},         {145, 159, red},       {29, 5, kBackground}, {146, 159, kShadow},
                {148, 162, kShadow},  {149, 162, kBackground}, {32, 161, kBackground}, {33, 161, kShadow}};
    for (const auto& p : tall)
        EXPECT_EQ(p.expected, At(p.x, p.y)) << p.x << "," << p.y;
    EXPECT_TRUE(m_prompter.m_messages.empty());
}

TEST_F(PreviewTest, RotatedPhotoIsShownUpright)
{
    const std::string corpus = SNAPDISC_CORPUS_DIR "\\jpeg\\";
    // Both files hold the same upright 600 x 400 picture: one stored upright,
    // one stored turned with EXIF orientation 6.
    auto capture = [this]() {
        std::vector<COLORREF> pixels;
        for (int y = 27; y < 136; y += 3)
            for (int x = 6; x < 170; x += 3)
                pixels.push_back(At(x, y));
        return pixels;
    };
    Show(corpus + "gen_orient_1.jpg");
    std::vector<COLORREF> upright = capture();
    Show(corpus + "gen_orient_6.jpg");
    // Landscape fit: the shadow lies along the bottom right of a 167 x 111 picture.
    EXPECT_EQ(kShadow, At(173, 130));
    EXPECT_EQ(kBackground, At(100, 141));
    std::vector<COLORREF> turned = capture();
    double difference = 0;
    for (size_t i = 0; i < upright.size(); ++i)
        for (int shift : {0, 8, 16})
            difference += std::abs(static_cast<int>((upright[i] >> shift) & 0xFF) -
                                   static_cast<int>((turned[i] >> shift) & 0xFF));
    EXPECT_LT(difference / (upright.size() * 3.0), 8.0);
    EXPECT_TRUE(m_prompter.m_messages.empty());
}

TEST_F(PreviewTest, FailuresAreToldOncePerPicture)
{
    Show("");
    EXPECT_EQ(kBackground, At(1, 1));
    EXPECT_NE(kBackground, At(180, 170));  // only the background, margin left to the erase

    // A missing file draws nothing, not even the background, and says
    // nothing: what was there stays.
    Show(m_dir.Write("red.bmp", Bmp(1600, 1200, RGB(200, 30, 40))));
    Show(m_dir.File("missing.jpg"));
    EXPECT_EQ(RGB(200, 30, 40), At(5, 19));

    // A file that is no picture is told once, after the paint, however often
    // the area is painted again while it shows.
    std::string bad = m_dir.Write("bad.jpg", "this is not a picture");
    Show(bad);
    Pump();
    Show(bad);
    Show(bad);
    Pump();
    ASSERT_EQ(1u, m_prompter.m_messages.size());
    EXPECT_EQ("Error Loading Picture From Stream!", m_prompter.m_messages[0].text);
    EXPECT_EQ(UINT(MB_OK), m_prompter.m_messages[0].type);

    // Shown again after another picture, it is told again.
    Show(m_dir.Write("good.bmp", Bmp(40, 30, RGB(0, 0, 255))));
    Show(bad);
    Pump();
    EXPECT_EQ(2u, m_prompter.m_messages.size());
}
