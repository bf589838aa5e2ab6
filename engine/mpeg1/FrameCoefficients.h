#pragma once
#include <algorithm>
#include <cstddef>
#include <vector>

#include "QuantisedPicture.h"
#include "YCbCrFrame.h"

// The DCT of every block of a frame, computed once so that the frame can be
// quantised at several quantiser scales cheaply while a size is searched.
class FrameCoefficients {
public:
    static constexpr int kAllCoefficients = 64;

    explicit FrameCoefficients(const YCbCrFrame& frame);

    // Quantises every block with the default intra matrix at the quantiser
    // scale (1..31), rounding to the nearest level. A macroblock with a
    // coefficient whose level would exceed 255 at that scale (a strong edge
    // at a fine scale) gets the finest scale of its own that needs no
    // clipping: clipping would smear the edge over the whole block. Only the
    // first `coefficientLimit` zig-zag positions are kept (1 keeps the DC alone).
    QuantisedPicture Quantise(int quantiser, int coefficientLimit = kAllCoefficients) const;

    // The same levels, quantised block by block as the slice writer reads
    // them (see SliceWriter.h), so that a size can be counted or a stream
    // written without holding the quantised picture.
    class QuantisedLevels {
    public:
        int MacroblockWidth() const { return m_frame.m_mbWidth; }
        int MacroblockHeight() const { return m_frame.m_mbHeight; }
        int Scale(size_t macroblock) const { return std::max<int>(m_quantiser, m_frame.m_finestScale[macroblock]); }
        void Levels(size_t block, BlockLevels& levels) const
        {
            m_frame.QuantiseBlock(block, Scale(block / QuantisedPicture::kBlocksPerMacroblock), m_limit, levels);
        }

    private:
        friend class FrameCoefficients;
        QuantisedLevels(const FrameCoefficients& frame, int quantiser, int limit)
            : m_frame(frame), m_quantiser(quantiser), m_limit(limit) {}
        const FrameCoefficients& m_frame;
        int m_quantiser;
        int m_limit;
    };
    QuantisedLevels LevelsAt(int quantiser, int coefficientLimit = kAllCoefficients) const;

    size_t BlockCount() const { return m_scaled.size() / 64; }

private:
    void QuantiseBlock(size_t block, int scale, int limit, BlockLevels& levels) const;
    void TransformMacroblock(const YCbCrFrame& frame, int mbx, int mby, float* out);

    int m_mbWidth = 0;
    int m_mbHeight = 0;
    std::vector<float> m_scaled;          // 64 per block in zig-zag order, as ForwardDct::TransformScaled leaves them
    std::vector<uint8_t> m_finestScale;  // per macroblock: the finest scale that clips no level
};
