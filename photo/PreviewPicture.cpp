#include "PreviewPicture.h"

#include <algorithm>
#include <vector>

#include "engine/still/AxisWeights.h"

namespace {

const int kBackgroundMargin = 10;
const int kFitMargin = 20;
const double kShadowShift = 2;
const double kPictureShift = 5;

// Truncation toward zero, as the drawing coordinates are taken.
int T(double v)
{
    return static_cast<int>(v);
}

}  // namespace

PreviewLayout LayOutPreview(int areaWidth, int areaHeight, double pictureWidth, double pictureHeight)
{
    const double W = areaWidth, H = areaHeight;
    double dw, dh;
    if (pictureWidth > pictureHeight) {
        dw = W - kFitMargin;
        dh = pictureHeight * dw / pictureWidth;
    } else {
        dh = H - kFitMargin;
        dw = pictureWidth * dh / pictureHeight;
    }
    PreviewLayout layout;
    layout.background = {0, 0, areaWidth - kBackgroundMargin, areaHeight - kBackgroundMargin};
    layout.shadow = {T((W - dw) * 0.5 - kShadowShift), T((H - dh) * 0.5 - kShadowShift),
                     T((W + dw) * 0.5 - kShadowShift), T((H + dh) * 0.5 - kShadowShift)};
    const int left = T((W - dw) * 0.5 - kPictureShift), top = T((H - dh) * 0.5 - kPictureShift);
    layout.picture = {left, top, left + T(dw), top + T(dh)};
    return layout;
}

Image ScalePicture(const Image& source, int width, int height)
{
    Image out;
    if (width <= 0 || height <= 0 || source.width <= 0 || source.height <= 0)
        return out;
    out.width = width;
    out.height = height;
    out.rgb.assign(static_cast<size_t>(width) * height * 3, 0);
    const AxisWeights across(source.width, width, 0, width);
    const AxisWeights down(source.height, height, 0, height);
    std::vector<float> row(static_cast<size_t>(source.width) * 3);
    for (int y = 0; y < height; ++y) {
        // Vertical pass into one row of the source's width, then horizontal.
        const AxisWeights::Taps& v = down.For(y);
        std::fill(row.begin(), row.end(), 0.0f);
        for (size_t k = 0; k < v.weights.size(); ++k) {
            const uint8_t* in = source.Row(v.first + static_cast<int>(k));
            for (size_t i = 0; i < row.size(); ++i)
                row[i] += v.weights[k] * in[i];
        }
        uint8_t* outRow = out.Row(y);
        for (int x = 0; x < width; ++x) {
            const AxisWeights::Taps& h = across.For(x);
            float sum[3] = {0, 0, 0};
            for (size_t k = 0; k < h.weights.size(); ++k) {
                const float* in = &row[static_cast<size_t>(h.first + static_cast<int>(k)) * 3];
                for (int c = 0; c < 3; ++c)
                    sum[c] += h.weights[k] * in[c];
            }
            for (int c = 0; c < 3; ++c) {
                float value = sum[c] + 0.5f;
                outRow[x * 3 + c] = static_cast<uint8_t>(value < 0 ? 0 : value > 255 ? 255 : value);
            }
        }
    }
    return out;
}
