#include "gpu/core/OverdriveUnits.h"

#include <algorithm>
#include <limits>

namespace overdrive {

namespace {

int32_t Saturate(int64_t value) {
    return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

int64_t CeilDiv(int64_t value, int64_t divisor) {
    return value / divisor + (value % divisor > 0 ? 1 : 0);
}

int64_t FloorDiv(int64_t value, int64_t divisor) {
    return value / divisor - (value % divisor < 0 ? 1 : 0);
}

}  // namespace

int32_t TenKHzFromMHz(int mhz) {
    return Saturate(int64_t{mhz} * kTenKHzPerMHz);
}

std::optional<OverdriveRange> UsableRange(int32_t minimum, int32_t maximum) {
    if (minimum < 0 || maximum <= 0 || minimum > maximum) {
        return std::nullopt;
    }
    return OverdriveRange{minimum, maximum};
}

std::optional<OverdriveRange> MHzRangeFromTenKHz(int32_t minimum, int32_t maximum) {
    if (!UsableRange(minimum, maximum)) {
        return std::nullopt;
    }
    return UsableRange(static_cast<int32_t>(CeilDiv(minimum, kTenKHzPerMHz)),
                       static_cast<int32_t>(FloorDiv(maximum, kTenKHzPerMHz)));
}

std::optional<OverdriveRange> PercentRange(int32_t minimum, int32_t maximum) {
    if (minimum > maximum || maximum < 0 || minimum > 100) {
        return std::nullopt;
    }
    return OverdriveRange{std::max(minimum, 0), std::min(maximum, 100)};
}

bool RequestFits(const std::optional<int>& value, const std::optional<OverdriveRange>& range) {
    return !value || (range && range->Contains(*value));
}

bool HasAnyValue(const OverdriveRequest& request) {
    return request.engineMHz || request.memoryMHz || request.voltageMilliVolts;
}

std::optional<int32_t> MilliDegreesFromDegrees(int32_t degrees) {
    const int64_t milli = int64_t{degrees} * 1000;
    if (milli != Saturate(milli)) {
        return std::nullopt;
    }
    return static_cast<int32_t>(milli);
}

}  // namespace overdrive
