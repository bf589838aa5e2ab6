#include "SamplePictures.h"

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstdio>  // jpeglib.h uses FILE and size_t without including their headers
#include <initializer_list>
#include <memory>

#include <jpeglib.h>

namespace {

constexpr int W = kSamplePictureWidth;
constexpr int H = kSamplePictureHeight;
constexpr float kPi = 3.14159265f;

// Colours are worked on as floats, 0 to 255 a channel, and rounded once at
// the end.
struct Colour {
    float r, g, b;
};

Colour Rgb(int r, int g, int b)
{
    return {static_cast<float>(r), static_cast<float>(g), static_cast<float>(b)};
}

Colour Mix(Colour a, Colour b, float t)
{
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Colour Add(Colour a, Colour b, float k)
{
    return {a.r + b.r * k, a.g + b.g * k, a.b + b.b * k};
}

float Clamp01(float t)
{
    return std::min(1.0f, std::max(0.0f, t));
}

float Smooth(float edge0, float edge1, float x)
{
    float t = Clamp01((x - edge0) / (edge1 - edge0));
    return t * t * (3 - 2 * t);
}

// How much of a pixel a shape covers, from the signed distance of the
// pixel's centre to the shape's edge (negative inside): a one-pixel soft
// edge, so that curves and slopes come out without steps.
float Inside(float distance)
{
    return Clamp01(0.5f - distance);
}

float Circle(float x, float y, float cx, float cy, float r)
{
    return std::hypot(x - cx, y - cy) - r;
}

float RoundedBox(float x, float y, float left, float top, float right, float bottom, float radius)
{
    float hw = (right - left) / 2, hh = (bottom - top) / 2;
    float qx = std::fabs(x - (left + hw)) - hw + radius;
    float qy = std::fabs(y - (top + hh)) - hh + radius;
    return std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f)) + std::min(std::max(qx, qy), 0.0f) - radius;
}

// A convex polygon whose corners go round either way.
float Polygon(float x, float y, std::initializer_list<float> xy)
{
    const float* p = xy.begin();
    size_t n = xy.size() / 2;
    float area = 0;
    for (size_t i = 0; i < n; ++i) {
        size_t j = (i + 1) % n;
        area += p[2 * i] * p[2 * j + 1] - p[2 * j] * p[2 * i + 1];
    }
    float side = area > 0 ? 1.0f : -1.0f;
    float distance = -1e9f;
    for (size_t i = 0; i < n; ++i) {
        size_t j = (i + 1) % n;
        float ex = p[2 * j] - p[2 * i], ey = p[2 * j + 1] - p[2 * i + 1];
        float length = std::hypot(ex, ey);
        float outward = ((x - p[2 * i]) * ey - (y - p[2 * i + 1]) * ex) * side / length;
        distance = std::max(distance, outward);
    }
    return distance;
}

// An ellipse of half-axes a and b turned by `angle`; the distance is close
// enough to the true one near the edge.
float Ellipse(float x, float y, float cx, float cy, float a, float b, float angle)
{
    float c = std::cos(angle), s = std::sin(angle);
    float u = ((x - cx) * c + (y - cy) * s) / a;
    float v = (-(x - cx) * s + (y - cy) * c) / b;
    return (std::hypot(u, v) - 1) * std::min(a, b);
}

Colour Hsv(float hue, float saturation, float value)
{
    float h = (hue - std::floor(hue)) * 6;
    int sector = static_cast<int>(h) % 6;
    float f = h - std::floor(h);
    float p = value * (1 - saturation), q = value * (1 - saturation * f), t = value * (1 - saturation * (1 - f));
    float r = value, g = t, b = p;
    switch (sector) {
    case 1: r = q; g = value; b = p; break;
    case 2: r = p; g = value; b = t; break;
    case 3: r = p; g = q; b = value; break;
    case 4: r = t; g = p; b = value; break;
    case 5: r = value; g = p; b = q; break;
    default: break;
    }
    return {r * 255, g * 255, b * 255};
}

// Colour stops from top to bottom (or any 0..1 position), blended between.
struct Stop {
    float at;
    Colour colour;
};

Colour Ramp(std::initializer_list<Stop> stops, float t)
{
    const Stop* s = stops.begin();
    if (t <= s[0].at)
        return s[0].colour;
    for (size_t i = 1; i < stops.size(); ++i)
        if (t <= s[i].at)
            return Mix(s[i - 1].colour, s[i].colour, Smooth(s[i - 1].at, s[i].at, t));
    return s[stops.size() - 1].colour;
}

// Scattered things (stars, trees, leaves) come from a fixed sequence, so
// that every run draws them in the same places.
class Sequence {
public:
    explicit Sequence(uint32_t seed) : m_state(seed) {}
    float Next()
    {
        m_state = m_state * 1664525u + 1013904223u;
        return static_cast<float>(m_state >> 8) / 16777216.0f;
    }
    float Between(float low, float high) { return low + (high - low) * Next(); }

private:
    uint32_t m_state;
};

// Paint laid on in layers: a shape adds its colour over what is there, as
// much as it covers each pixel.
struct Ink {
    Colour colour;
    float cover;
};

class Canvas {
public:
    Canvas() : m_pixels(static_cast<size_t>(W) * H) {}

    // Every pixel from a function of its centre.
    template <class F>
    void Fill(F colourAt)
    {
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x)
                m_pixels[static_cast<size_t>(y) * W + x] = colourAt(x + 0.5f, y + 0.5f);
    }

    // The pixels of a box (clipped to the picture) covered by ink.
    template <class F>
    void Paint(float left, float top, float right, float bottom, F inkAt)
    {
        int x0 = std::max(0, static_cast<int>(std::floor(left))), x1 = std::min(W, static_cast<int>(std::ceil(right)));
        int y0 = std::max(0, static_cast<int>(std::floor(top))), y1 = std::min(H, static_cast<int>(std::ceil(bottom)));
        for (int y = y0; y < y1; ++y) {
            for (int x = x0; x < x1; ++x) {
                Ink ink = inkAt(x + 0.5f, y + 0.5f);
                if (ink.cover > 0) {
                    Colour& p = m_pixels[static_cast<size_t>(y) * W + x];
                    p = Mix(p, ink.colour, std::min(ink.cover, 1.0f));
                }
            }
        }
    }

    // One colour over a shape given by its signed distance.
    template <class F>
    void Shape(float left, float top, float right, float bottom, Colour colour, F distanceAt)
    {
        Paint(left, top, right, bottom, [&](float x, float y) { return Ink{colour, Inside(distanceAt(x, y))}; });
    }

    // Light added around a point, fading out over about `radius` pixels.
    void Glow(float cx, float cy, float radius, Colour colour, float strength)
    {
        int x0 = std::max(0, static_cast<int>(cx - 3 * radius)), x1 = std::min(W, static_cast<int>(cx + 3 * radius) + 1);
        int y0 = std::max(0, static_cast<int>(cy - 3 * radius)), y1 = std::min(H, static_cast<int>(cy + 3 * radius) + 1);
        for (int y = y0; y < y1; ++y) {
            for (int x = x0; x < x1; ++x) {
                float d = std::hypot(x + 0.5f - cx, y + 0.5f - cy) / radius;
                Colour& p = m_pixels[static_cast<size_t>(y) * W + x];
                p = Add(p, colour, strength * std::exp(-d * d));
            }
        }
    }

    Image ToImage() const
    {
        Image image;
        image.width = W;
        image.height = H;
        image.rgb.resize(m_pixels.size() * 3);
        uint8_t* out = image.rgb.data();
        for (const Colour& p : m_pixels) {
            *out++ = ToByte(p.r);
            *out++ = ToByte(p.g);
            *out++ = ToByte(p.b);
        }
        return image;
    }

private:
    static uint8_t ToByte(float v) { return static_cast<uint8_t>(std::min(255.0f, std::max(0.0f, v)) + 0.5f); }

    std::vector<Colour> m_pixels;
};

// A line of hills: its top edge at each x, and the colour from that edge down.
struct Hills {
    float base, height1, wave1, shift1, height2, wave2, shift2;
    Colour top, bottom;

    float Ridge(float x) const
    {
        return base + height1 * std::sin(x * wave1 + shift1) + height2 * std::sin(x * wave2 + shift2);
    }
    void PaintOn(Canvas& canvas) const
    {
        canvas.Paint(0, base - height1 - height2 - 1, W, H, [&](float x, float y) {
            float ridge = Ridge(x);
            return Ink{Mix(top, bottom, Clamp01((y - ridge) / 160)), Clamp01(y - ridge + 0.5f)};
        });
    }
};

void PaintSun(Canvas& canvas, float cx, float cy, float r, Colour colour)
{
    canvas.Shape(cx - r - 1, cy - r - 1, cx + r + 1, cy + r + 1, colour,
                 [&](float x, float y) { return Circle(x, y, cx, cy, r); });
}

// A fir of three tiers standing on (x, ground).
void PaintFir(Canvas& canvas, float x, float ground, float height, Colour colour)
{
    float w = height * 0.42f;
    canvas.Shape(x - 0.06f * w, ground - 0.2f * height, x + 0.06f * w, ground, colour,
                 [&](float px, float py) { return RoundedBox(px, py, x - 0.06f * w, ground - 0.2f * height, x + 0.06f * w, ground, 0); });
    for (int tier = 0; tier < 3; ++tier) {
        float bottom = ground - height * (0.12f + 0.24f * tier);
        float top = bottom - height * (0.5f - 0.06f * tier);
        float half = w * (1 - 0.22f * tier);
        canvas.Shape(x - half, top, x + half, bottom, colour, [&](float px, float py) {
            return Polygon(px, py, {x, top, x + half, bottom, x - half, bottom});
        });
    }
}

// A broad-leaved tree: a trunk and a crown of three round clumps.
void PaintBroadTree(Canvas& canvas, float x, float ground, float height, Colour colour)
{
    float r = height * 0.24f;
    float trunk = height * 0.05f;
    canvas.Shape(x - trunk, ground - height * 0.5f, x + trunk, ground, colour, [&](float px, float py) {
        return Polygon(px, py, {x - trunk, ground, x + trunk, ground, x + trunk * 0.6f, ground - height * 0.5f,
                                x - trunk * 0.6f, ground - height * 0.5f});
    });
    float cy = ground - height + r * 1.3f;
    const float clumps[3][3] = {{-0.7f, 0.35f, 0.8f}, {0.65f, 0.3f, 0.85f}, {0, -0.25f, 1.0f}};
    for (const auto& c : clumps) {
        float ccx = x + c[0] * r, ccy = cy + c[1] * r, cr = c[2] * r;
        PaintSun(canvas, ccx, ccy, cr, colour);
    }
}

void DrawSunrise(Canvas& canvas)
{
    const float sunX = 640, sunY = 452, sunR = 62;
    canvas.Fill([&](float x, float y) {
        Colour sky = Ramp({{0, Rgb(34, 52, 118)}, {0.32f, Rgb(112, 104, 168)}, {0.5f, Rgb(236, 146, 122)},
                           {0.64f, Rgb(255, 206, 142)}},
                          y / H);
        float d = std::hypot(x - sunX, y - sunY);
        return Add(sky, Rgb(255, 186, 110), 0.6f * std::exp(-d / 170));
    });
    PaintSun(canvas, sunX, sunY, sunR, Rgb(255, 246, 218));
    const Hills hills[] = {
        {470, 24, 0.0061f, 0.4f, 11, 0.017f, 1.3f, Rgb(168, 118, 142), Rgb(146, 108, 136)},
        {548, 32, 0.0047f, 2.1f, 13, 0.013f, 0.2f, Rgb(118, 150, 88), Rgb(78, 118, 70)},
        {640, 40, 0.0038f, 4.0f, 16, 0.011f, 2.6f, Rgb(64, 126, 58), Rgb(26, 74, 38)},
    };
    for (const Hills& h : hills)
        h.PaintOn(canvas);
    // Two birds, each two arcs.
    const float birds[2][3] = {{318, 230, 14}, {372, 262, 10}};
    for (const auto& b : birds) {
        for (int side = -1; side <= 1; side += 2) {
            float cx = b[0] + side * b[2], cy = b[1] + b[2] * 0.9f, r = b[2];
            canvas.Shape(cx - r - 2, cy - r - 2, cx + r + 2, cy, Rgb(60, 40, 70), [&](float x, float y) {
                return y > cy - r * 0.45f ? 1e9f : std::fabs(Circle(x, y, cx, cy, r)) - 1.2f;
            });
        }
    }
}

void DrawSea(Canvas& canvas)
{
    const float horizon = 420, sunX = 780, sunY = 150;
    canvas.Fill([&](float x, float y) {
        if (y < horizon) {
            Colour sky = Ramp({{0, Rgb(66, 134, 210)}, {1, Rgb(196, 226, 246)}}, y / horizon);
            float d = std::hypot(x - sunX, y - sunY);
            return Add(sky, Rgb(255, 244, 210), 0.5f * std::exp(-d / 120));
        }
        float depth = y - horizon;
        Colour sea = Ramp({{0, Rgb(46, 118, 170)}, {0.35f, Rgb(18, 76, 126)}, {1, Rgb(10, 48, 92)}}, depth / (H - horizon));
        // Waves seen in perspective: crests lie at equal steps of the
        // distance into the picture, which shrinks towards the horizon.
        float z = 600 / (depth + 0.5f);
        float across = (x - W / 2.0f) / (depth + 0.5f);
        float phase = z * 0.9f + 0.3f * std::sin(across * 1.7f + z * 0.5f) + 0.12f * std::sin(across * 4.1f - z);
        float f = phase - std::floor(phase);
        float pixelsPerWave = depth * depth / 540;
        float closeBy = Smooth(3, 12, pixelsPerWave);
        float step = 1 / std::max(pixelsPerWave, 1.0f);
        float foam = Smooth(0.86f, 0.95f, f) * Clamp01((1 - f) / step) * closeBy;
        sea = Mix(sea, Mix(sea, Rgb(255, 255, 255), 0.22f), f * f * f * closeBy);
        sea = Mix(sea, Rgb(232, 244, 250), foam * 0.85f);
        // The sun's path of glitter on the water.
        float spread = 18 + 0.4f * depth;
        float glitter = std::exp(-(x - sunX) * (x - sunX) / (spread * spread)) * std::pow(f, 4.0f) * 0.9f;
        return Add(sea, Rgb(255, 240, 200), glitter);
    });
    PaintSun(canvas, sunX, sunY, 36, Rgb(255, 252, 236));
    // Clouds: a few round puffs each, a little grey underneath.
    const float clouds[2][2] = {{340, 118}, {600, 226}};
    const float puffs[5][3] = {{-78, 14, 34}, {-30, -8, 50}, {28, -18, 56}, {80, 4, 40}, {0, 18, 40}};
    for (const auto& c : clouds) {
        float scale = c[1] > 200 ? 0.7f : 1.0f;
        canvas.Paint(c[0] - 140 * scale, c[1] - 90 * scale, c[0] + 140 * scale, c[1] + 70 * scale, [&](float x, float y) {
            float d = 1e9f;
            for (const auto& p : puffs)
                d = std::min(d, Circle(x, y, c[0] + p[0] * scale, c[1] + p[1] * scale, p[2] * scale));
            d = std::max(d, y - (c[1] + 40 * scale));  // flat underneath
            Colour white = Mix(Rgb(255, 255, 255), Rgb(206, 218, 236), Clamp01((y - c[1] + 50 * scale) / (90 * scale)));
            return Ink{white, Smooth(3, -3, d) * 0.95f};
        });
    }
    // A sailing boat.
    const float bx = 330, water = 470;
    canvas.Shape(270, water - 4, 392, water + 16, Rgb(70, 42, 40), [&](float x, float y) {
        return Polygon(x, y, {268, water - 2, 392, water - 2, 374, water + 14, 286, water + 14});
    });
    canvas.Shape(bx - 3, water - 116, bx + 3, water, Rgb(70, 50, 44),
                 [&](float x, float y) { return RoundedBox(x, y, bx - 1.5f, water - 114, bx + 1.5f, water, 1); });
    canvas.Shape(bx + 2, water - 112, bx + 64, water - 6, Rgb(250, 250, 246), [&](float x, float y) {
        return Polygon(x, y, {bx + 3, water - 110, bx + 62, water - 8, bx + 3, water - 8});
    });
    canvas.Shape(bx - 52, water - 98, bx - 2, water - 6, Rgb(236, 226, 212), [&](float x, float y) {
        return Polygon(x, y, {bx - 3, water - 96, bx - 3, water - 8, bx - 50, water - 8});
    });
    canvas.Shape(bx - 2, water - 126, bx + 20, water - 110, Rgb(214, 60, 50), [&](float x, float y) {
        return Polygon(x, y, {bx, water - 124, bx + 18, water - 119, bx, water - 113});
    });
}

void DrawNightSky(Canvas& canvas)
{
    canvas.Fill([&](float, float y) {
        return Ramp({{0, Rgb(6, 8, 30)}, {0.55f, Rgb(26, 28, 76)}, {0.8f, Rgb(62, 42, 96)}}, y / H);
    });
    Sequence random(7);
    for (int i = 0; i < 260; ++i) {
        float x = random.Between(0, W), y = random.Between(0, 600);
        float bright = random.Next(), size = random.Next();
        float strength = (0.35f + 0.65f * bright * bright) * (1 - y / 760);
        float radius = 0.7f + 1.5f * size * size * size;
        canvas.Glow(x, y, radius, Rgb(255, 250, 232), strength);
        if (size > 0.93f)
            canvas.Glow(x, y, radius * 5, Rgb(170, 190, 255), 0.12f);
    }
    // A shooting star, bright at its head.
    const float ax = 210, ay = 100, bx = 370, by = 176;
    canvas.Paint(ax - 4, ay - 4, bx + 4, by + 4, [&](float x, float y) {
        float dx = bx - ax, dy = by - ay;
        float t = Clamp01(((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy));
        float d = std::hypot(x - (ax + t * dx), y - (ay + t * dy));
        return Ink{Rgb(255, 255, 240), Inside(d - 0.4f - 1.4f * t) * t * t};
    });
    // The moon: a crescent with a halo.
    const float mx = 770, my = 170, mr = 76;
    canvas.Glow(mx, my, 150, Rgb(110, 120, 170), 0.45f);
    canvas.Paint(mx - mr - 1, my - mr - 1, mx + mr + 1, my + mr + 1, [&](float x, float y) {
        float lit = Inside(Circle(x, y, mx, my, mr)) * (1 - Inside(Circle(x, y, mx + 34, my - 22, mr - 4)));
        return Ink{Rgb(250, 244, 214), lit};
    });
    // Mountains, then the near ground with firs and a cabin with a lit window.
    Hills mountains{560, 58, 0.0042f, 1.0f, 24, 0.013f, 2.0f, Rgb(30, 28, 62), Rgb(22, 22, 48)};
    mountains.PaintOn(canvas);
    Hills ground{668, 12, 0.006f, 0.5f, 5, 0.021f, 1.0f, Rgb(9, 9, 20), Rgb(6, 6, 14)};
    ground.PaintOn(canvas);
    const float firs[][2] = {{40, 150}, {96, 110}, {420, 130}, {470, 180}, {526, 120}, {640, 90},
                             {860, 170}, {918, 120}, {975, 200}};
    for (const auto& f : firs)
        PaintFir(canvas, f[0], ground.Ridge(f[0]) + 4, f[1], Rgb(9, 9, 20));
    const float cx = 250, base = ground.Ridge(cx) + 4;
    canvas.Shape(cx - 66, base - 120, cx + 66, base, Rgb(9, 9, 20), [&](float x, float y) {
        return std::min(RoundedBox(x, y, cx - 52, base - 66, cx + 52, base, 0),
                        Polygon(x, y, {cx - 64, base - 64, cx, base - 116, cx + 64, base - 64}));
    });
    canvas.Glow(cx - 18, base - 36, 40, Rgb(255, 170, 80), 0.25f);
    canvas.Shape(cx - 34, base - 50, cx - 2, base - 22, Rgb(255, 206, 120),
                 [&](float x, float y) { return RoundedBox(x, y, cx - 32, base - 48, cx - 4, base - 24, 2); });
    canvas.Shape(cx - 34, base - 50, cx - 2, base - 22, Rgb(9, 9, 20), [&](float x, float y) {
        return std::min(std::fabs(x - (cx - 18)) - 1.2f, std::fabs(y - (base - 36)) - 1.2f);
    });
}

void DrawColourWheel(Canvas& canvas)
{
    const float cx = W / 2.0f, cy = H / 2.0f, inner = 240, ringIn = 262, ringOut = 318;
    canvas.Fill([&](float x, float y) {
        return Mix(Rgb(62, 62, 74), Rgb(16, 16, 22), Clamp01(std::hypot(x - cx, y - cy) / 640));
    });
    canvas.Paint(cx - ringOut - 40, cy - ringOut - 40, cx + ringOut + 50, cy + ringOut + 50, [&](float x, float y) {
        return Ink{Rgb(0, 0, 0), 0.45f * Smooth(ringOut + 30, ringOut - 20, std::hypot(x - cx - 10, y - cy - 14))};
    });
    // Hue goes round clockwise from red at the top; white in the middle.
    auto turnAt = [&](float x, float y) {
        float t = std::atan2(x - cx, cy - y) / (2 * kPi);
        return t - std::floor(t);
    };
    canvas.Paint(cx - inner - 1, cy - inner - 1, cx + inner + 1, cy + inner + 1, [&](float x, float y) {
        float r = std::hypot(x - cx, y - cy);
        return Ink{Hsv(turnAt(x, y), std::pow(std::min(r / inner, 1.0f), 0.8f), 1), Inside(r - inner)};
    });
    // Twelve blocks of pure colour round it, parted by thin gaps.
    canvas.Paint(cx - ringOut - 1, cy - ringOut - 1, cx + ringOut + 1, cy + ringOut + 1, [&](float x, float y) {
        float r = std::hypot(x - cx, y - cy);
        float blocks = turnAt(x, y) * 12 + 0.5f;
        float block = std::floor(blocks), within = blocks - block;
        float gap = std::min(within, 1 - within) * (2 * kPi / 12) * r;
        float cover = Inside(std::max(ringIn - r, r - ringOut)) * Inside(3.5f - gap);
        return Ink{Hsv(block / 12, 0.92f, 0.96f), cover};
    });
}

void DrawTiles(Canvas& canvas)
{
    const int tile = 128;
    const Colour navy = Rgb(30, 52, 92), cream = Rgb(244, 234, 212);
    const Colour accents[] = {Rgb(236, 178, 48), Rgb(228, 92, 70), Rgb(40, 150, 140), Rgb(110, 172, 214)};
    canvas.Fill([&](float x, float y) {
        int i = static_cast<int>(x) / tile, j = static_cast<int>(y) / tile;
        uint32_t h = static_cast<uint32_t>(i) * 73856093u ^ static_cast<uint32_t>(j) * 19349663u;
        h ^= h >> 13;
        h *= 0x5bd1e995u;
        h ^= h >> 15;
        Colour back = (i + j) % 2 ? navy : cream;
        Colour front = accents[h % 4];
        float lx = x - i * tile, ly = y - j * tile;  // 0..128 within the tile
        float d;
        switch ((h >> 4) % 4) {
        case 0: {  // a quarter circle from one corner
            float ox = (h >> 8) & 1 ? tile : 0, oy = (h >> 9) & 1 ? tile : 0;
            d = Circle(lx, ly, ox, oy, tile - 16);
            break;
        }
        case 1:  // a ring round a dot
            d = std::min(std::fabs(Circle(lx, ly, 64, 64, 40)) - 10, Circle(lx, ly, 64, 64, 12));
            break;
        case 2: {  // a half circle on one side
            int side = (h >> 8) % 4;
            float ox = side == 0 ? 0 : side == 1 ? tile : 64, oy = side == 2 ? 0 : side == 3 ? tile : 64;
            d = Circle(lx, ly, ox, oy, 52);
            break;
        }
        default:  // a diamond
            d = (std::fabs(lx - 64) + std::fabs(ly - 64) - 50) * 0.7071f;
            break;
        }
        return Mix(back, front, Inside(d));
    });
}

void DrawAutumnForest(Canvas& canvas)
{
    const float sunX = 640, sunY = 400;
    canvas.Fill([&](float x, float y) {
        Colour sky = Ramp({{0, Rgb(104, 136, 184)}, {0.34f, Rgb(234, 190, 162)}, {0.62f, Rgb(250, 148, 86)}}, y / H);
        float d = std::hypot(x - sunX, y - sunY);
        return Add(sky, Rgb(255, 170, 100), 0.5f * std::exp(-d / 200));
    });
    PaintSun(canvas, sunX, sunY, 58, Rgb(255, 230, 176));
    // Three rows of trees, hazy far away and dark near by.
    struct Row {
        Hills ground;
        int trees;
        float low, high;
    };
    const Row rows[] = {
        {{486, 8, 0.007f, 0.3f, 4, 0.019f, 1.0f, Rgb(206, 128, 104), Rgb(200, 122, 100)}, 18, 60, 110},
        {{566, 12, 0.005f, 2.2f, 5, 0.017f, 0.4f, Rgb(166, 72, 46), Rgb(150, 64, 42)}, 11, 120, 200},
        {{668, 14, 0.004f, 4.1f, 6, 0.015f, 2.2f, Rgb(78, 36, 28), Rgb(56, 26, 22)}, 5, 170, 260},
    };
    Sequence random(11);
    for (const Row& row : rows) {
        for (int i = 0; i < row.trees; ++i) {
            float x = (i + random.Between(0.15f, 0.85f)) * W / row.trees;
            float height = random.Between(row.low, row.high);
            if (random.Next() < 0.4f)
                PaintFir(canvas, x, row.ground.Ridge(x) + 6, height, row.ground.top);
            else
                PaintBroadTree(canvas, x, row.ground.Ridge(x) + 6, height, row.ground.top);
        }
        row.ground.PaintOn(canvas);
    }
    // Falling leaves in front.
    const Colour leaves[] = {Rgb(232, 124, 40), Rgb(204, 62, 40), Rgb(242, 184, 52), Rgb(176, 92, 30)};
    for (int i = 0; i < 44; ++i) {
        float x = random.Between(0, W), y = random.Between(200, H - 10);
        float angle = random.Between(0, kPi), size = random.Between(7, 12);
        Colour colour = leaves[static_cast<int>(random.Next() * 4) % 4];
        canvas.Shape(x - size - 1, y - size - 1, x + size + 1, y + size + 1, colour,
                     [&](float px, float py) { return Ellipse(px, py, x, y, size, size * 0.5f, angle); });
    }
}

// Digits 0 to 9 of a 5x7 font, a row a byte, the leftmost dot in bit 4.
const uint8_t kDigits[10][7] = {
    {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}, {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E},
    {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}, {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E},
    {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}, {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E},
    {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}, {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08},
    {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}, {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C},
};

// The picture's number in white on a dark plate in the top left corner,
// inside the part of the picture a television never crops.
void PaintNumber(Canvas& canvas, int number)
{
    const int dot = 12, left = 64, top = 52, pad = 18;
    const int right = left + 2 * pad + 5 * dot, bottom = top + 2 * pad + 7 * dot;
    canvas.Paint(left - 1, top - 1, right + 1, bottom + 1, [&](float x, float y) {
        return Ink{Rgb(0, 0, 0), 0.5f * Inside(RoundedBox(x, y, left, top, right, bottom, 16))};
    });
    const uint8_t* rows = kDigits[number % 10];
    canvas.Paint(left + pad, top + pad, left + pad + 5 * dot, top + pad + 7 * dot, [&](float x, float y) {
        int column = (static_cast<int>(x) - left - pad) / dot, row = (static_cast<int>(y) - top - pad) / dot;
        bool on = (rows[row] >> (4 - column)) & 1;
        return Ink{Rgb(255, 255, 255), on ? 1.0f : 0.0f};
    });
}

// libjpeg's errors jump back into EncodeJpeg; its messages are not printed.
struct ErrorJump {
    jpeg_error_mgr pub;  // first member: libjpeg hands back a pointer to it
    std::jmp_buf jump;
};

[[noreturn]] void OnError(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<ErrorJump*>(info->err)->jump, 1);
}

void Silent(j_common_ptr) {}

// The coded bytes go into a vector, a block at a time.
struct VectorDestination {
    jpeg_destination_mgr pub;  // first member, as above
    std::vector<uint8_t> bytes;
    JOCTET block[65536];
};

void StartBlock(j_compress_ptr info)
{
    auto* d = reinterpret_cast<VectorDestination*>(info->dest);
    d->pub.next_output_byte = d->block;
    d->pub.free_in_buffer = sizeof d->block;
}

boolean FlushBlock(j_compress_ptr info)
{
    auto* d = reinterpret_cast<VectorDestination*>(info->dest);
    d->bytes.insert(d->bytes.end(), d->block, d->block + sizeof d->block);
    StartBlock(info);
    return TRUE;
}

void FlushRest(j_compress_ptr info)
{
    auto* d = reinterpret_cast<VectorDestination*>(info->dest);
    d->bytes.insert(d->bytes.end(), d->block, d->block + (sizeof d->block - d->pub.free_in_buffer));
}

// Everything the coding touches, on the heap: nothing a jump from libjpeg
// skips over is a local variable changed after setjmp.
struct Compressor {
    jpeg_compress_struct info{};
    ErrorJump errors{};
    VectorDestination destination{};

    Compressor() = default;
    Compressor(const Compressor&) = delete;
    Compressor& operator=(const Compressor&) = delete;
    ~Compressor() { jpeg_destroy_compress(&info); }  // safe when never created
};

}  // namespace

Image DrawSamplePicture(int number)
{
    Canvas canvas;
    switch (number) {
    case 1: DrawSunrise(canvas); break;
    case 2: DrawSea(canvas); break;
    case 3: DrawNightSky(canvas); break;
    case 4: DrawColourWheel(canvas); break;
    case 5: DrawTiles(canvas); break;
    default: DrawAutumnForest(canvas); break;
    }
    PaintNumber(canvas, number);
    return canvas.ToImage();
}

bool EncodeJpeg(const Image& image, int quality, std::vector<uint8_t>& bytes)
{
    auto c = std::make_unique<Compressor>();
    c->info.err = jpeg_std_error(&c->errors.pub);
    c->errors.pub.error_exit = OnError;
    c->errors.pub.output_message = Silent;
    if (setjmp(c->errors.jump))
        return false;
    jpeg_create_compress(&c->info);
    c->destination.pub.init_destination = StartBlock;
    c->destination.pub.empty_output_buffer = FlushBlock;
    c->destination.pub.term_destination = FlushRest;
    c->info.dest = &c->destination.pub;
    c->info.image_width = static_cast<JDIMENSION>(image.width);
    c->info.image_height = static_cast<JDIMENSION>(image.height);
    c->info.input_components = 3;
    c->info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&c->info);  // baseline, Huffman tables of the standard
    jpeg_set_quality(&c->info, quality, TRUE);
    jpeg_start_compress(&c->info, TRUE);
    while (c->info.next_scanline < c->info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(image.Row(static_cast<int>(c->info.next_scanline)));
        jpeg_write_scanlines(&c->info, &row, 1);
    }
    jpeg_finish_compress(&c->info);
    bytes = std::move(c->destination.bytes);
    return true;
}
