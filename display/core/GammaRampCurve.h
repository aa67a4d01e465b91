// The arithmetic of the screen's gamma ramp and of the display-quality page's exponents: pure
// functions, so that every figure can be checked without a screen.
#pragma once

#include <array>
#include <cstdint>

namespace display {

inline constexpr int kGammaRampEntries = 256;
using GammaCurve = std::array<std::uint16_t, kGammaRampEntries>;

// Entry i is ((i + 1) / 256)^gamma scaled to 0..65535 and rounded, so entry 0 is never 0 for a
// positive exponent: exponent 1 gives 256, 512, ..., 32768 (i = 127), ..., 65535.
GammaCurve GammaRampCurve(double gamma);

// The exponents SetGammaRamp writes. Below the band the ramp washes the screen out (an exponent
// of 0 or less makes every entry 65535, a white screen); above it the dark half of the picture
// sinks into black. The band holds every exponent the pages produce: the 3D page's 0.8 to 1.1
// and the quality page's 0.1 to 2.0 (ten slider steps either side of the reference, less one).
inline constexpr double kMinSafeGamma = 0.1;
inline constexpr double kMaxSafeGamma = 2.0;
// The pages reach the band's ends through decimal steps (1 - 9 * 0.1 is 0.09999...), which
// binary floating point cannot hit exactly.
inline constexpr double kGammaBandTolerance = 1e-9;
// False for NaN and for anything outside the band.
bool IsSafeGammaExponent(double gamma);

// The quality page's exponent for a gamma slider value: 1 at the reference, 0.1 less per step
// above it, 0.1 more per step below.
double QualityGammaExponent(std::int32_t sliderValue, std::int32_t reference);

}  // namespace display
