#include "mainwindow/core/IndicatorReadings.h"

#include <algorithm>

namespace indicator {

int GaugeTemperature(std::optional<std::uint32_t> milliDegrees) {
    constexpr std::uint32_t kBelievable = 150000;
    if (!milliDegrees || *milliDegrees > kBelievable) {
        return kLowestTemperature;
    }
    const int degrees = static_cast<int>(*milliDegrees / 1000);
    return std::clamp(degrees, kLowestTemperature, kHighestTemperature);
}

}  // namespace indicator
