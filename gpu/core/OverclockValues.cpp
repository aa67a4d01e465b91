#include "gpu/core/OverclockValues.h"

#include <algorithm>
#include <limits>

namespace overclock {

namespace {

constexpr int kFanMinimum = 0;
constexpr int kFanMaximum = 100;

}  // namespace

int32_t DriverClockFromMHz(int mhz) {
    const int64_t clock = int64_t{mhz} * kDriverUnitsPerMHz;
    return static_cast<int32_t>(std::clamp<int64_t>(clock, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

int ClampFanPercent(int32_t percent) {
    return std::clamp<int32_t>(percent, kFanMinimum, kFanMaximum);
}

std::optional<int> FanPercentReading(int32_t percent) {
    if (percent < kFanMinimum || percent > kFanMaximum) {
        return std::nullopt;
    }
    return percent;
}

std::optional<SliderRange> ClockSliderRange(const ADLODParameterRange& range) {
    if (range.iMin > range.iMax) {
        return std::nullopt;
    }
    return SliderRange{MHzFromDriverClock(range.iMin), MHzFromDriverClock(range.iMax)};
}

std::optional<SliderRange> VoltageSliderRange(const ADLODParameterRange& range) {
    if (range.iMin > range.iMax) {
        return std::nullopt;
    }
    return SliderRange{range.iMin, range.iMax};
}

std::optional<SliderRange> FanSliderRange(const ADLFanSpeedInfo& info) {
    const std::optional<OverdriveRange> range = PercentRange({info.iMinPercent, info.iMaxPercent});
    if (!range) {
        return std::nullopt;
    }
    return SliderRange{range->minimum, range->maximum};
}

std::optional<OverdriveRange> PercentRange(const OverdriveRange& range) {
    const int minimum = std::max(range.minimum, kFanMinimum);
    const int maximum = std::min(range.maximum, kFanMaximum);
    if (minimum > maximum) {
        return std::nullopt;
    }
    return OverdriveRange{minimum, maximum};
}

std::optional<int> StoredClockOnSlider(int32_t stored, bool rangeKnown,
                                       std::optional<int> current) {
    if (!rangeKnown) {
        return std::nullopt;
    }
    return IsUnsetClockSetting(stored) ? current : std::optional<int>(stored);
}

std::optional<int> StoredFanOnSlider(int32_t stored, bool rangeKnown) {
    if (!rangeKnown) {
        return std::nullopt;
    }
    return ClampFanPercent(stored);
}

}  // namespace overclock
