#include "ForwardDct.h"

#include <cmath>

namespace {

// One 8-point pass over eight independent lanes: v[k][lane] is sample k of
// the lane's line. Written lane-wise so that the compiler can keep each
// step in vector registers.
void Pass(float v[8][8])
{
    constexpr float kC4 = 0.707106781f;    // cos(4 pi/16)
    constexpr float kC6 = 0.382683433f;    // cos(6 pi/16)
    constexpr float kC2mC6 = 0.541196100f; // cos(2 pi/16) - cos(6 pi/16)
    constexpr float kC2pC6 = 1.306562965f; // cos(2 pi/16) + cos(6 pi/16)
    for (int i = 0; i < 8; ++i) {
        const float s07 = v[0][i] + v[7][i], d07 = v[0][i] - v[7][i];
        const float s16 = v[1][i] + v[6][i], d16 = v[1][i] - v[6][i];
        const float s25 = v[2][i] + v[5][i], d25 = v[2][i] - v[5][i];
        const float s34 = v[3][i] + v[4][i], d34 = v[3][i] - v[4][i];

        // Even half: outputs 0, 2, 4, 6.
        const float e0 = s07 + s34, e3 = s07 - s34;
        const float e1 = s16 + s25, e2 = s16 - s25;
        v[0][i] = e0 + e1;
        v[4][i] = e0 - e1;
        const float r = (e2 + e3) * kC4;
        v[2][i] = e3 + r;
        v[6][i] = e3 - r;

        // Odd half: outputs 1, 3, 5, 7.
        const float o0 = d34 + d25, o1 = d25 + d16, o2 = d16 + d07;
        const float z5 = (o0 - o2) * kC6;
        const float z2 = kC2mC6 * o0 + z5;
        const float z4 = kC2pC6 * o2 + z5;
        const float z3 = o1 * kC4;
        const float z11 = d07 + z3, z13 = d07 - z3;
        v[5][i] = z13 + z2;
        v[3][i] = z13 - z2;
        v[1][i] = z11 + z4;
        v[7][i] = z11 - z4;
    }
}

void Transpose(const float in[8][8], float out[8][8])
{
    for (int r = 0; r < 8; ++r)
        for (int c = 0; c < 8; ++c)
            out[c][r] = in[r][c];
}

struct Descale {
    float factor[64];
    Descale()
    {
        // The factorisation yields 8 * F(u,v) * a(u) * a(v), with a(0) = 1
        // and a(k) = sqrt(2) cos(k pi/16).
        const double pi = 3.14159265358979323846;
        double a[8];
        a[0] = 1.0;
        for (int k = 1; k < 8; ++k)
            a[k] = std::sqrt(2.0) * std::cos(k * pi / 16.0);
        for (int v = 0; v < 8; ++v)
            for (int u = 0; u < 8; ++u)
                factor[v * 8 + u] = static_cast<float>(1.0 / (8.0 * a[u] * a[v]));
    }
};

}  // namespace

namespace ForwardDct {

void TransformScaled(const uint8_t* src, int stride, float out[64])
{
    float block[8][8];
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            block[y][x] = src[y * stride + x];
    Pass(block);  // down the columns: block[v][x]
    float turned[8][8];
    Transpose(block, turned);
    Pass(turned);  // along the rows: turned[u][v]
    Transpose(turned, reinterpret_cast<float(*)[8]>(out));
}

const float* DescaleFactors()
{
    static const Descale descale;
    return descale.factor;
}

}  // namespace ForwardDct
