// The 3D page's one effect on the screen: its six switches become one gamma exponent.
#pragma once

#include <array>

namespace gpu {

inline constexpr int kThreeDRowCount = 6;

// 1.1 with row 1 off, 1.05 with it on; then 0.05 less for each of rows 2 to 6 that is on. So the
// exponent runs from 1.1 (nothing on) down to 0.8 (everything on).
double ThreeDGammaExponent(const std::array<bool, kThreeDRowCount>& rows);

}  // namespace gpu
