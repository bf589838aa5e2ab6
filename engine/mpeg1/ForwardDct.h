#pragma once
#include <cstdint>

// The 8x8 forward DCT of MPEG video, computed with the Arai-Agui-Nakajima
// factorisation (5 multiplications per 8-point pass). The factorisation
// leaves every coefficient multiplied by a known factor; callers that
// quantise fold DescaleFactors() into their divisors instead of paying a
// multiplication per coefficient here.
namespace ForwardDct {

// Transforms the 8x8 samples at `src` (rows `stride` bytes apart). out[v*8+u]
// is coefficient F(u,v) (u horizontal, v vertical frequency) times a factor
// that depends only on (u,v).
void TransformScaled(const uint8_t* src, int stride, float out[64]);

// F(u,v) = out[v*8+u] * DescaleFactors()[v*8+u], where
// F(u,v) = 1/4 C(u) C(v) sum_x sum_y f(x,y) cos((2x+1)u pi/16) cos((2y+1)v pi/16)
// with C(0) = 1/sqrt(2) and C(k) = 1 otherwise.
const float* DescaleFactors();

}  // namespace ForwardDct
