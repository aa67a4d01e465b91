#include "display/core/GammaRampCurve.h"

#include <cmath>

namespace display {

GammaCurve GammaRampCurve(double gamma) {
    GammaCurve curve{};
    for (int i = 0; i < kGammaRampEntries; ++i) {
        const double x = (i + 1) * 0.00390625;
        double v = std::pow(x, gamma) * 65535.0 + 0.5;
        // NaN fails both comparisons; it is caught by the last test.
        if (v > 65535.0) {
            v = 65535.0;
        } else if (!(v >= 0.0)) {
            v = 0.0;
        }
        curve[static_cast<std::size_t>(i)] = static_cast<std::uint16_t>(v);
    }
    return curve;
}

bool IsSafeGammaExponent(double gamma) {
    return gamma >= kMinSafeGamma - kGammaBandTolerance &&
           gamma <= kMaxSafeGamma + kGammaBandTolerance;
}

double QualityGammaExponent(std::int32_t sliderValue, std::int32_t reference) {
    // Widened: hostile slider values must not overflow the difference.
    const double steps = static_cast<double>(sliderValue) - static_cast<double>(reference);
    return 1.0 - steps * 0.1;
}

}  // namespace display
