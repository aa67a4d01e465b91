#include "sim/core/ThermalModel.h"

#include <algorithm>
#include <cmath>

namespace sim {

int TargetTemperature(const HeatSources& sources) {
    const double engineMHz = sources.engineClock / 100.0;
    const double memoryMHz = sources.memoryClock / 100.0;
    const double degrees = 25.0 + 0.035 * engineMHz + 0.01 * memoryMHz +
                           0.04 * (sources.vddc - 900.0) - 0.2 * sources.fanPercent;
    return static_cast<int>(std::clamp(degrees, 20.0, 120.0) * 1000.0);
}

int AdvanceTemperature(int current, int target, int64_t elapsedMs) {
    if (elapsedMs <= 0) {
        return current;
    }
    const double remaining =
        std::exp(-static_cast<double>(elapsedMs) / static_cast<double>(kThermalTimeConstantMs));
    return static_cast<int>(
        std::lround(target + (static_cast<double>(current) - target) * remaining));
}

int AutomaticFanPercent(int temperature, int minimumPercent, int maximumPercent) {
    const int percent = 30 + (temperature / 1000 - 50) * 2;
    return std::clamp(percent, minimumPercent, std::max(minimumPercent, maximumPercent));
}

}  // namespace sim
