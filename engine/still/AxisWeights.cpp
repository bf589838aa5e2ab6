#include "AxisWeights.h"

#include <algorithm>
#include <cmath>

namespace {

// Length of the overlap of [a0, a1) and [b0, b1).
double Overlap(double a0, double a1, double b0, double b1)
{
    return std::max(0.0, std::min(a1, b1) - std::max(a0, b0));
}

}  // namespace

AxisWeights::AxisWeights(int sourceSize, int outputSize, double start, double length)
    : m_taps(static_cast<size_t>(outputSize))
{
    const double scale = length / sourceSize;  // output pixels per source pixel
    m_begin = std::max(0, static_cast<int>(std::floor(start)));
    m_end = std::min(outputSize, static_cast<int>(std::ceil(start + length)));
    for (int o = m_begin; o < m_end; ++o) {
        Taps& t = m_taps[static_cast<size_t>(o)];
        // The part of this output pixel that the source covers.
        const double coverage = Overlap(o, o + 1.0, start, start + length);
        if (coverage <= 0)
            continue;
        if (scale <= 1.0) {
            // Area average: each source pixel weighs by the share of the
            // output pixel it covers.
            double s0 = (o - start) / scale, s1 = (o + 1 - start) / scale;
            int first = std::max(0, static_cast<int>(std::floor(s0)));
            int last = std::min(sourceSize - 1, static_cast<int>(std::ceil(s1)) - 1);
            t.first = first;
            for (int s = first; s <= last; ++s)
                t.weights.push_back(static_cast<float>(Overlap(s0, s1, s, s + 1.0) * scale));
        } else {
            // Linear interpolation at the centre of the covered part.
            double centre = (std::max<double>(o, start) + std::min<double>(o + 1, start + length)) / 2;
            double u = (centre - start) / scale - 0.5;
            int i0 = static_cast<int>(std::floor(u));
            double f = u - i0;
            int a = std::clamp(i0, 0, sourceSize - 1), b = std::clamp(i0 + 1, 0, sourceSize - 1);
            t.first = a;
            t.weights.assign(static_cast<size_t>(b - a + 1), 0.0f);
            t.weights[0] += static_cast<float>((1 - f) * coverage);
            t.weights[static_cast<size_t>(b - a)] += static_cast<float>(f * coverage);
        }
    }
}
