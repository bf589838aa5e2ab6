#include "FrameCoefficients.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "ForwardDct.h"

namespace {

// Zig-zag scan: kZigZag[i] is the row-major index (v*8+u) of the i-th
// coefficient sent.
constexpr int kZigZag[64] = {
    0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,
    12, 19, 26, 33, 40, 48, 41, 34, 27, 20, 13, 6,  7,  14, 21, 28,
    35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23, 30, 37, 44, 51,
    58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63,
};

// The default intra quantiser matrix, row-major (row = vertical frequency).
constexpr int kIntraMatrix[64] = {
    8,  16, 19, 22, 26, 27, 29, 34,
    16, 16, 22, 24, 27, 29, 34, 37,
    19, 22, 26, 27, 29, 34, 34, 38,
    22, 22, 26, 27, 29, 34, 37, 40,
    22, 26, 27, 29, 32, 35, 40, 48,
    26, 27, 29, 32, 35, 40, 48, 58,
    26, 27, 29, 34, 38, 46, 56, 69,
    27, 29, 35, 38, 46, 56, 69, 83,
};

constexpr float kMaxLevel = 255;  // the largest level an escape can carry

// Multipliers that turn a scaled DCT output, in zig-zag order, into an
// unrounded level: [0] gives the DC level F(0,0)/8, the others
// 8 F / (quantiser * W), where the decoder rebuilds F as level * quantiser * W / 8.
struct LevelMultipliers {
    float m[64];
    explicit LevelMultipliers(int quantiser)
    {
        const float* descale = ForwardDct::DescaleFactors();
        m[0] = descale[0] / 8.0f;
        for (int i = 1; i < 64; ++i) {
            const int n = kZigZag[i];
            m[i] = descale[n] * 8.0f / static_cast<float>(quantiser * kIntraMatrix[n]);
        }
    }
};

constexpr int kMaxQuantiser = 31;

// The multipliers of every quantiser scale, indexed by the scale.
const LevelMultipliers& MultipliersFor(int quantiser)
{
    static const std::vector<LevelMultipliers> table = [] {
        std::vector<LevelMultipliers> all;
        for (int q = 0; q <= kMaxQuantiser; ++q)
            all.emplace_back(q == 0 ? 1 : q);
        return all;
    }();
    return table[quantiser];
}

// The finest scale at which none of the macroblock's AC levels exceeds
// what an escape can carry: the level at scale q is the level at scale 1
// divided by q, and it must round to at most 255.
int FinestUnclippedScale(const float* macroblock)
{
    const LevelMultipliers& atOne = MultipliersFor(1);
    float largest = 0;
    for (int b = 0; b < QuantisedPicture::kBlocksPerMacroblock; ++b, macroblock += 64)
        for (int i = 1; i < 64; ++i)
            largest = std::max(largest, std::fabs(macroblock[i] * atOne.m[i]));
    return std::min(static_cast<int>(largest / (kMaxLevel + 0.5f)) + 1, kMaxQuantiser);
}

// Rounds every AC coefficient of the block to its level: nearest, halves
// away from zero, clipped to what an escape can carry. Branch-free so that
// the compiler vectorises it.
void RoundLevels(const float* __restrict c, const float* __restrict mult, int16_t* __restrict levels)
{
    for (int i = 0; i < 64; ++i) {
        const float x = c[i] * mult[i];
        const float rounded = x + std::copysign(0.5f, x);
        const float clipped = std::min(std::max(rounded, -kMaxLevel - 0.5f), kMaxLevel + 0.5f);
        levels[i] = static_cast<int16_t>(static_cast<int>(clipped));
    }
}

int CountTrailingZeros(uint64_t bits)
{
#if defined(__GNUC__)
    return __builtin_ctzll(bits);
#else
    int n = 0;
    for (; (bits & 1) == 0; bits >>= 1)
        ++n;
    return n;
#endif
}

}  // namespace

void FrameCoefficients::QuantiseBlock(size_t block, int scale, int limit, BlockLevels& levels) const
{
    const float* c = &m_scaled[block * 64];
    const LevelMultipliers& mult = MultipliersFor(scale);
    levels.dc = std::clamp(static_cast<int>(c[0] * mult.m[0] + 0.5f), 0, 255);
    int16_t rounded[64];
    RoundLevels(c, mult.m, rounded);
    // The positions of the levels sent, as bits, so that only those are visited.
    uint64_t sent = 0;
    for (int i = 1; i < limit; ++i)
        sent |= static_cast<uint64_t>(rounded[i] != 0) << i;
    levels.count = 0;
    int previous = 0;
    for (; sent != 0; sent &= sent - 1) {
        const int i = CountTrailingZeros(sent);
        levels.ac[levels.count++] = RunLevelPair{static_cast<uint8_t>(i - previous - 1), rounded[i]};
        previous = i;
    }
}

FrameCoefficients::FrameCoefficients(const YCbCrFrame& frame)
    : m_mbWidth(frame.width / 16), m_mbHeight(frame.height / 16)
{
    const size_t blocks = static_cast<size_t>(m_mbWidth) * m_mbHeight * QuantisedPicture::kBlocksPerMacroblock;
    m_scaled.resize(blocks * 64);
    m_finestScale.reserve(blocks / QuantisedPicture::kBlocksPerMacroblock);
    float* out = m_scaled.data();
    for (int mby = 0; mby < m_mbHeight; ++mby)
        for (int mbx = 0; mbx < m_mbWidth; ++mbx, out += 64 * QuantisedPicture::kBlocksPerMacroblock)
            TransformMacroblock(frame, mbx, mby, out);
}

void FrameCoefficients::TransformMacroblock(const YCbCrFrame& frame, int mbx, int mby, float* out)
{
    const int w = frame.width, cw = frame.width / 2;
    const uint8_t* y = frame.y.data() + static_cast<size_t>(mby) * 16 * w + mbx * 16;
    const uint8_t* sources[6] = {
        y, y + 8, y + 8 * w, y + 8 * w + 8,
        frame.cb.data() + static_cast<size_t>(mby) * 8 * cw + mbx * 8,
        frame.cr.data() + static_cast<size_t>(mby) * 8 * cw + mbx * 8,
    };
    float* block = out;
    for (int b = 0; b < 6; ++b, block += 64) {
        float natural[64];
        ForwardDct::TransformScaled(sources[b], b < 4 ? w : cw, natural);
        for (int i = 0; i < 64; ++i)
            block[i] = natural[kZigZag[i]];
    }
    m_finestScale.push_back(static_cast<uint8_t>(FinestUnclippedScale(out)));
}

FrameCoefficients::QuantisedLevels FrameCoefficients::LevelsAt(int quantiser, int coefficientLimit) const
{
    return QuantisedLevels(*this, std::clamp(quantiser, 1, kMaxQuantiser), std::clamp(coefficientLimit, 1, kAllCoefficients));
}

QuantisedPicture FrameCoefficients::Quantise(int quantiser, int coefficientLimit) const
{
    const QuantisedLevels levels = LevelsAt(quantiser, coefficientLimit);
    QuantisedPicture picture;
    picture.mbWidth = m_mbWidth;
    picture.mbHeight = m_mbHeight;
    const size_t blocks = m_scaled.size() / 64;
    picture.quantiser.reserve(m_finestScale.size());
    picture.dc.reserve(blocks);
    picture.acEnd.reserve(blocks);
    picture.ac.reserve(blocks * 8);
    BlockLevels block;
    for (size_t b = 0; b < blocks; ++b) {
        if (b % QuantisedPicture::kBlocksPerMacroblock == 0)
            picture.quantiser.push_back(static_cast<uint8_t>(levels.Scale(b / QuantisedPicture::kBlocksPerMacroblock)));
        levels.Levels(b, block);
        picture.dc.push_back(static_cast<uint8_t>(block.dc));
        picture.ac.insert(picture.ac.end(), block.ac, block.ac + block.count);
        picture.acEnd.push_back(static_cast<uint32_t>(picture.ac.size()));
    }
    return picture;
}
