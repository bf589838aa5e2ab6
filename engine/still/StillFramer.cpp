#include "StillFramer.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "AxisWeights.h"

namespace {

// sRGB transfer: the filters average light, not its encoded values.
const std::array<float, 256>& ToLinear()
{
    static const std::array<float, 256> table = [] {
        std::array<float, 256> t{};
        for (int i = 0; i < 256; ++i) {
            double v = i / 255.0;
            t[static_cast<size_t>(i)] =
                static_cast<float>(v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4));
        }
        return t;
    }();
    return table;
}

const int kEncodeSteps = 8192;

// Linear light back to encoded values in 0..1, finely enough sampled that
// dark tones keep their steps.
const std::array<float, kEncodeSteps + 1>& ToEncoded()
{
    static const std::array<float, kEncodeSteps + 1> table = [] {
        std::array<float, kEncodeSteps + 1> t{};
        for (int i = 0; i <= kEncodeSteps; ++i) {
            double v = static_cast<double>(i) / kEncodeSteps;
            t[static_cast<size_t>(i)] =
                static_cast<float>(v <= 0.0031308 ? v * 12.92 : 1.055 * std::pow(v, 1 / 2.4) - 0.055);
        }
        return t;
    }();
    return table;
}

float Encode(float linear)
{
    float x = std::clamp(linear, 0.0f, 1.0f) * kEncodeSteps;
    return ToEncoded()[static_cast<size_t>(x + 0.5f)];
}

uint8_t ClampByte(float v)
{
    return static_cast<uint8_t>(std::clamp(v + 0.5f, 0.0f, 255.0f));
}

struct Placement {
    double x, y, width, height;  // the photo's rectangle in raster pixels
};

// Fits the photo, keeping its shape, into the square-pixel 4:3 canvas (or its
// central 90 %), centred, and maps that to the raster's non-square pixels.
Placement Place(int photoWidth, int photoHeight, const StillFormat& format, bool safeArea)
{
    const double canvasW = format.ntsc ? 640 : 768, canvasH = format.ntsc ? 480 : 576;
    const double area = safeArea ? 0.9 : 1.0;
    const double s = std::min(canvasW * area / photoWidth, canvasH * area / photoHeight);
    const double w = photoWidth * s, h = photoHeight * s;
    const double toRasterX = format.Width() / canvasW, toRasterY = format.Height() / canvasH;
    return {(canvasW - w) / 2 * toRasterX, (canvasH - h) / 2 * toRasterY, w * toRasterX, h * toRasterY};
}

// Linear-light RGB of the raster, black outside the photo. Each source row
// is resampled across once and added into the output rows it reaches, so
// memory stays at the raster's size whatever the photo's.
std::vector<float> ResampleLinear(const Image& photo, const StillFormat& format, const Placement& p)
{
    const int W = format.Width(), H = format.Height();
    AxisWeights across(photo.width, W, p.x, p.width);
    AxisWeights down(photo.height, H, p.y, p.height);
    const std::array<float, 256>& lin = ToLinear();

    // For each source row, the output rows it adds to and with what weight.
    struct Use {
        int outputRow;
        float weight;
    };
    std::vector<std::vector<Use>> uses(static_cast<size_t>(photo.height));
    for (int o = down.Begin(); o < down.End(); ++o) {
        const AxisWeights::Taps& t = down.For(o);
        for (size_t k = 0; k < t.weights.size(); ++k)
            if (t.weights[k] != 0)
                uses[static_cast<size_t>(t.first) + k].push_back({o, t.weights[k]});
    }

    std::vector<float> out(static_cast<size_t>(W) * H * 3, 0.0f);
    std::vector<float> row(static_cast<size_t>(W) * 3, 0.0f);
    const int x0 = across.Begin() * 3, x1 = across.End() * 3;
    for (int y = 0; y < photo.height; ++y) {
        if (uses[static_cast<size_t>(y)].empty())
            continue;
        const uint8_t* src = photo.Row(y);
        for (int x = across.Begin(); x < across.End(); ++x) {
            const AxisWeights::Taps& t = across.For(x);
            float r = 0, g = 0, b = 0;
            const uint8_t* s = src + static_cast<size_t>(t.first) * 3;
            for (float w : t.weights) {
                r += w * lin[s[0]];
                g += w * lin[s[1]];
                b += w * lin[s[2]];
                s += 3;
            }
            row[static_cast<size_t>(x) * 3] = r;
            row[static_cast<size_t>(x) * 3 + 1] = g;
            row[static_cast<size_t>(x) * 3 + 2] = b;
        }
        for (const Use& u : uses[static_cast<size_t>(y)]) {
            float* dst = &out[static_cast<size_t>(u.outputRow) * W * 3];
            for (int i = x0; i < x1; ++i)
                dst[i] += u.weight * row[static_cast<size_t>(i)];
        }
    }
    return out;
}

}  // namespace

YCbCrFrame FrameStill(const Image& photo, const StillFormat& format, const FramingOptions& options)
{
    const int W = format.Width(), H = format.Height();
    YCbCrFrame frame;
    frame.width = W;
    frame.height = H;
    frame.y.assign(static_cast<size_t>(W) * H, 16);
    frame.cb.assign(static_cast<size_t>(W / 2) * (H / 2), 128);
    frame.cr.assign(static_cast<size_t>(W / 2) * (H / 2), 128);
    if (photo.width <= 0 || photo.height <= 0)
        return frame;

    std::vector<float> linear = ResampleLinear(photo, format, Place(photo.width, photo.height, format, options.safeArea));

    // BT.601 studio range. Chroma is the mean of each 2x2 block, which sites
    // it between the luma samples as MPEG-1 expects.
    std::vector<float> cb(static_cast<size_t>(W) * H), cr(static_cast<size_t>(W) * H);
    for (size_t i = 0; i < static_cast<size_t>(W) * H; ++i) {
        const float r = Encode(linear[i * 3]), g = Encode(linear[i * 3 + 1]), b = Encode(linear[i * 3 + 2]);
        const float luma = 0.299f * r + 0.587f * g + 0.114f * b;
        frame.y[i] = ClampByte(16 + 219 * luma);
        cb[i] = 128 + 224 * (b - luma) / 1.772f;
        cr[i] = 128 + 224 * (r - luma) / 1.402f;
    }
    for (int y = 0; y < H / 2; ++y) {
        for (int x = 0; x < W / 2; ++x) {
            const size_t a = static_cast<size_t>(2 * y) * W + 2 * x, b = a + W;
            const size_t c = static_cast<size_t>(y) * (W / 2) + x;
            frame.cb[c] = ClampByte((cb[a] + cb[a + 1] + cb[b] + cb[b + 1]) / 4);
            frame.cr[c] = ClampByte((cr[a] + cr[a + 1] + cr[b] + cr[b + 1]) / 4);
        }
    }
    return frame;
}
