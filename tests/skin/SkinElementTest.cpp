#include "skin/CSkinElement.h"

#include <gtest/gtest.h>

#include <set>

#include "skin/KeyColourRects.h"

TEST(SkinElement, HitTestEdges)
{
    struct {
        int x, y;
        const char* expected;  // nullptr: no element
    } cases[] = {
        {385, 3, "help"},  {421, 3, "help"},   {422, 3, nullptr}, {424, 31, nullptr}, {425, 3, "about"},
        {77, 380, "add"},  {78, 380, "del"},   {2, 50, nullptr},  {385, 32, nullptr}, {538, 3, "exit"},
        {539, 3, nullptr}, {294, 361, "next"}, {294, 362, "last"}, {0, 0, nullptr},
    };
    for (const auto& c : cases) {
        int hit = HitTestElement(c.x, c.y);
        if (c.expected)
            EXPECT_EQ(c.expected, hit >= 0 ? g_skinElements[hit].m_strName : "none") << c.x << "," << c.y;
        else
            EXPECT_EQ(-1, hit) << c.x << "," << c.y;
    }
    // An inactive push element is not hit; active again, it is.
    int play = FindSkinElement("play");
    ASSERT_EQ(15, play);
    g_skinElements[play].m_bActive = 0;
    EXPECT_EQ(-1, HitTestElement(420, 380));
    g_skinElements[play].m_bActive = 1;
    EXPECT_EQ(play, HitTestElement(420, 380));
}

TEST(SkinElement, TableShape)
{
    ASSERT_EQ(size_t(kElementCount), g_skinElements.size());
    // The named positions the program uses follow the table.
    const char* names[] = {"help", "min", "exit", "new", "load", "save", "start", "about", "bird", "language",
                           "setup", "first", "prev", "next", "last", "play", "stop", "add", "del", "delall",
                           "delay", "delayedit", "piclist", "picstatic", "status", "devices", "listnum"};
    ASSERT_EQ(27u, sizeof names / sizeof names[0]);
    for (int i = 0; i < kElementCount; ++i)
        EXPECT_EQ(names[i], g_skinElements[static_cast<size_t>(i)].m_strName) << i;
    // No two push elements overlap, so hit-testing never depends on their order.
    for (size_t a = 0; a < g_skinElements.size(); ++a)
        for (size_t b = a + 1; b < g_skinElements.size(); ++b) {
            const CSkinElement& p = g_skinElements[a];
            const CSkinElement& q = g_skinElements[b];
            if (!p.m_bActive || !q.m_bActive)
                continue;
            bool overlap = p.x < q.x + q.width && q.x < p.x + p.width && p.y < q.y + q.height && q.y < p.y + p.height;
            EXPECT_FALSE(overlap) << p.m_strName << " / " << q.m_strName;
        }
}

namespace {

// The set of pixels the rectangles cover; fails on any overlap.
std::set<std::pair<int, int>> Covered(const std::vector<PixelRect>& rects)
{
    std::set<std::pair<int, int>> pixels;
    for (const PixelRect& r : rects)
        for (int x = r.left; x < r.right; ++x)
            for (int y = r.top; y < r.bottom; ++y)
                EXPECT_TRUE(pixels.insert({x, y}).second) << "covered twice: " << x << "," << y;
    return pixels;
}

std::set<std::pair<int, int>> KeyPixels(const std::vector<std::string>& rows)
{
    std::set<std::pair<int, int>> pixels;
    for (int y = 0; y < static_cast<int>(rows.size()); ++y)
        for (int x = 0; x < static_cast<int>(rows[0].size()); ++x)
            if (rows[y][x] == rows[0][0])
                pixels.insert({x, y});
    return pixels;
}

}  // namespace

TEST(KeyColourRects, CoverExactlyTheKeyColouredPixels)
{
    const std::vector<std::vector<std::string>> faces = {
        {"kaaa", "aaaa", "aaaa"},                 // only the corner
        {"kaaa", "kaba", "kaab"},                 // the whole first column
        {"kkaakk", "kaaaak", "aakkaa", "kaaaak", "kkaakk"},  // rounded corners and a hole
        {"kkk", "kkk"},                           // all key
        {"kakak", "akaka", "kakak"},              // a checkerboard
    };
    for (const auto& rows : faces) {
        int w = static_cast<int>(rows[0].size()), h = static_cast<int>(rows.size());
        auto rects = KeyColourRects(w, h, [&](int x, int y) { return uint32_t(rows[y][x]); });
        EXPECT_EQ(KeyPixels(rows), Covered(rects)) << rows[0];
    }
    // Identical runs in neighbouring columns become one rectangle.
    std::vector<std::string> band = {"kkkk", "kkkk", "aaaa"};
    auto rects = KeyColourRects(4, 3, [&](int x, int y) { return uint32_t(band[y][x]); });
    ASSERT_EQ(1u, rects.size());
    EXPECT_EQ(4, rects[0].right);
    EXPECT_EQ(2, rects[0].bottom);
}
