#pragma once
#include <cstddef>
#include <vector>

// Weights that map one axis of a source picture onto an output axis. The
// source spans [start, start + length) in output pixel units (it may be
// smaller than the output: what lies outside it is black). Shrinking
// averages the source pixels each output pixel covers (area average);
// enlarging interpolates linearly. Neither rings.
class AxisWeights {
public:
    AxisWeights(int sourceSize, int outputSize, double start, double length);

    struct Taps {
        int first = 0;               // first source pixel used
        std::vector<float> weights;  // one per source pixel from first on; they sum to the coverage
    };
    const Taps& For(int outputPixel) const { return m_taps[static_cast<size_t>(outputPixel)]; }
    // Output pixels [begin, end) are touched by the source at all.
    int Begin() const { return m_begin; }
    int End() const { return m_end; }

private:
    std::vector<Taps> m_taps;
    int m_begin = 0;
    int m_end = 0;
};
