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

uint8_t ClampByte(float v)
{
    return static_cast<uint8_t>(std::clamp(v + 0.5f, 0.0f, 255.0f));
}

int CanvasWidth(const StillFormat& format) { return format.ntsc ? 640 : 768; }
int CanvasHeight(const StillFormat& format) { return format.ntsc ? 480 : 576; }

struct Placement {
    double x, y, width, height;  // the photo's rectangle in raster pixels
};

// Fits the photo, keeping its shape, into the square-pixel 4:3 canvas (or its
// central 90 %), centred, and maps that to the raster's non-square pixels.
Placement Place(int photoWidth, int photoHeight, const StillFormat& format, bool safeArea)
{
    const double canvasW = CanvasWidth(format), canvasH = CanvasHeight(format);
    const double area = safeArea ? 0.9 : 1.0;
    const double s = std::min(canvasW * area / photoWidth, canvasH * area / photoHeight);
    const double w = photoWidth * s, h = photoHeight * s;
    const double toRasterX = format.Width() / canvasW, toRasterY = format.Height() / canvasH;
    return {(canvasW - w) / 2 * toRasterX, (canvasH - h) / 2 * toRasterY, w * toRasterX, h * toRasterY};
}

// One axis's weights laid out flat: output pixel o takes count[o] source
// pixels from first[o] on, with weights from offset[o] in `weights`.
struct FlatAxis {
    int begin = 0, end = 0;  // output pixels the source reaches
    std::vector<int> first, count, offset;
    std::vector<float> weights;

    FlatAxis(int sourceSize, int outputSize, double start, double length)
    {
        const AxisWeights axis(sourceSize, outputSize, start, length);
        begin = axis.Begin();
        end = axis.End();
        for (int o = 0; o < outputSize; ++o) {
            const AxisWeights::Taps& t = axis.For(o);
            first.push_back(t.first);
            count.push_back(static_cast<int>(t.weights.size()));
            offset.push_back(static_cast<int>(weights.size()));
            weights.insert(weights.end(), t.weights.begin(), t.weights.end());
        }
    }
};

// The raster's rows in linear-light RGB (three floats a pixel), black
// outside the photo, made one at a time in order. Each source row is turned
// into linear light and resampled across once; the few that neighbouring
// output rows share are kept, so memory stays at a handful of rows whatever
// the photo's size.
class LinearRows {
public:
    LinearRows(const Image& photo, int width, int height, const Placement& p)
        : m_photo(photo), m_width(width), m_across(photo.width, width, p.x, p.width),
          m_down(photo.height, height, p.y, p.height), m_source(static_cast<size_t>(photo.width) * 3)
    {
        int most = 1;
        for (int c : m_down.count)
            most = std::max(most, c);
        m_kept.assign(static_cast<size_t>(most) + 1, Kept{-1, std::vector<float>(static_cast<size_t>(width) * 3)});
    }

    void Row(int o, float* out)
    {
        std::fill(out, out + static_cast<size_t>(m_width) * 3, 0.0f);
        if (o < m_down.begin || o >= m_down.end)
            return;
        const size_t n = static_cast<size_t>(m_width) * 3;
        const float* w = &m_down.weights[static_cast<size_t>(m_down.offset[static_cast<size_t>(o)])];
        for (int k = 0; k < m_down.count[static_cast<size_t>(o)]; ++k) {
            if (w[k] == 0)
                continue;
            const float* across = Across(m_down.first[static_cast<size_t>(o)] + k);
            for (size_t i = 0; i < n; ++i)
                out[i] += w[k] * across[i];
        }
    }

private:
    struct Kept {
        int sourceRow;
        std::vector<float> rgb;
    };

    const float* Across(int y)
    {
        Kept& slot = m_kept[static_cast<size_t>(y) % m_kept.size()];
        if (slot.sourceRow == y)
            return slot.rgb.data();
        slot.sourceRow = y;
        const std::array<float, 256>& lin = ToLinear();
        const uint8_t* src = m_photo.Row(y);
        for (size_t i = 0; i < m_source.size(); ++i)
            m_source[i] = lin[src[i]];
        float* row = slot.rgb.data();
        for (int x = m_across.begin; x < m_across.end; ++x) {
            const size_t ux = static_cast<size_t>(x);
            const float* s = &m_source[static_cast<size_t>(m_across.first[ux]) * 3];
            const float* w = &m_across.weights[static_cast<size_t>(m_across.offset[ux])];
            float r = 0, g = 0, b = 0;
            for (int k = 0; k < m_across.count[ux]; ++k, s += 3) {
                r += w[k] * s[0];
                g += w[k] * s[1];
                b += w[k] * s[2];
            }
            row[ux * 3] = r;
            row[ux * 3 + 1] = g;
            row[ux * 3 + 2] = b;
        }
        return row;
    }

    const Image& m_photo;
    const int m_width;
    const FlatAxis m_across, m_down;
    std::vector<float> m_source;  // one source row in linear light
    std::vector<Kept> m_kept;     // source rows resampled across, by row number modulo their count
};

// Two rows of a frame in BT.601 studio range from two linear-light rows.
// Chroma is the mean of each 2x2 block, which sites it between the luma
// samples as MPEG-1 expects.
void PutRowPair(const float* top, const float* bottom, int y, YCbCrFrame& frame)
{
    const int W = frame.width;
    const float* encoded = ToEncoded().data();
    auto encode = [encoded](float linear) {
        return encoded[static_cast<size_t>(std::clamp(linear, 0.0f, 1.0f) * kEncodeSteps + 0.5f)];
    };
    constexpr float kCb = 224 / 1.772f, kCr = 224 / 1.402f;
    uint8_t* luma[2] = {&frame.y[static_cast<size_t>(y) * W], &frame.y[static_cast<size_t>(y + 1) * W]};
    uint8_t* cb = &frame.cb[static_cast<size_t>(y / 2) * (W / 2)];
    uint8_t* cr = &frame.cr[static_cast<size_t>(y / 2) * (W / 2)];
    for (int x = 0; x < W; x += 2) {
        float sumB = 0, sumR = 0, sumY = 0;
        for (int k = 0; k < 4; ++k) {
            const float* px = (k < 2 ? top : bottom) + static_cast<size_t>(x + (k & 1)) * 3;
            const float r = encode(px[0]), g = encode(px[1]), b = encode(px[2]);
            const float l = 0.299f * r + 0.587f * g + 0.114f * b;
            luma[k >> 1][x + (k & 1)] = ClampByte(16 + 219 * l);
            sumY += l;
            sumB += b;
            sumR += r;
        }
        cb[x / 2] = ClampByte(128 + kCb * (sumB - sumY) * 0.25f);
        cr[x / 2] = ClampByte(128 + kCr * (sumR - sumY) * 0.25f);
    }
}

YCbCrFrame EmptyFrame(const StillFormat& format)
{
    const int W = format.Width(), H = format.Height();
    YCbCrFrame frame;
    frame.width = W;
    frame.height = H;
    frame.y.assign(static_cast<size_t>(W) * H, 16);
    frame.cb.assign(static_cast<size_t>(W / 2) * (H / 2), 128);
    frame.cr.assign(static_cast<size_t>(W / 2) * (H / 2), 128);
    return frame;
}

// One linear-light row at half the width, each pixel the mean of a 2x2
// block of two rows: the same area average as resampling the photo
// straight to the half-size raster, since each of its pixels covers
// exactly four.
void HalveRowPair(const float* top, const float* bottom, int width, float* out)
{
    for (int x = 0; x < width / 2; ++x, top += 6, bottom += 6, out += 3)
        for (int c = 0; c < 3; ++c)
            out[c] = (top[c] + top[c + 3] + bottom[c] + bottom[c + 3]) * 0.25f;
}

}  // namespace

PictureBox DecodeBoxFor(const StillFormat& format)
{
    const int canvasW = CanvasWidth(format), canvasH = CanvasHeight(format);
    // The canvas grown until both of its sides have as many pixels as the raster's.
    if (format.Width() * canvasH >= format.Height() * canvasW)
        return {format.Width(), (canvasH * format.Width() + canvasW - 1) / canvasW};
    return {(canvasW * format.Height() + canvasH - 1) / canvasH, format.Height()};
}

YCbCrFrame FrameStill(const Image& photo, const StillFormat& format, const FramingOptions& options)
{
    YCbCrFrame frame = EmptyFrame(format);
    if (photo.width <= 0 || photo.height <= 0)
        return frame;
    const int W = format.Width(), H = format.Height();
    LinearRows rows(photo, W, H, Place(photo.width, photo.height, format, options.safeArea));
    std::vector<float> top(static_cast<size_t>(W) * 3), bottom(top.size());
    for (int y = 0; y < H; y += 2) {
        rows.Row(y, top.data());
        rows.Row(y + 1, bottom.data());
        PutRowPair(top.data(), bottom.data(), y, frame);
    }
    return frame;
}

StillFrames FrameStillPair(const Image& photo, bool ntsc, const FramingOptions& options)
{
    const StillFormat normalFormat{ntsc, false}, highFormat{ntsc, true};
    StillFrames frames{EmptyFrame(normalFormat), EmptyFrame(highFormat)};
    if (photo.width <= 0 || photo.height <= 0)
        return frames;
    // Four rows of the high-resolution raster make two of the normal one.
    const int W = highFormat.Width(), H = highFormat.Height();
    LinearRows rows(photo, W, H, Place(photo.width, photo.height, highFormat, options.safeArea));
    std::vector<std::vector<float>> high(4, std::vector<float>(static_cast<size_t>(W) * 3));
    std::vector<std::vector<float>> normal(2, std::vector<float>(static_cast<size_t>(W / 2) * 3));
    for (int y = 0; y < H; y += 4) {
        for (int k = 0; k < 4; ++k)
            rows.Row(y + k, high[static_cast<size_t>(k)].data());
        for (int k = 0; k < 2; ++k) {
            PutRowPair(high[2 * k].data(), high[2 * k + 1].data(), y + 2 * k, frames.high);
            HalveRowPair(high[2 * k].data(), high[2 * k + 1].data(), W, normal[static_cast<size_t>(k)].data());
        }
        PutRowPair(normal[0].data(), normal[1].data(), y / 2, frames.normal);
    }
    return frames;
}
