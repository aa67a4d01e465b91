#include "gpu/core/ThreeDGamma.h"

namespace gpu {

double ThreeDGammaExponent(const std::array<bool, kThreeDRowCount>& rows) {
    double exponent = rows[0] ? 1.05 : 1.1;
    for (int row = 1; row < kThreeDRowCount; ++row) {
        if (rows[static_cast<std::size_t>(row)]) {
            exponent -= 0.05;
        }
    }
    return exponent;
}

}  // namespace gpu
