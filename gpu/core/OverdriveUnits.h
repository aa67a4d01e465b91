// Unit conversions and range checks the Overdrive backends share.
#pragma once

#include <cstdint>
#include <optional>

#include "gpu/core/OverdriveBackend.h"

namespace overdrive {

// Overdrive 5, 6 and N clocks are in units of 10 kHz.
inline constexpr int32_t kTenKHzPerMHz = 100;

// MHz from a clock in 10 kHz, truncating toward zero.
constexpr int MHzFromTenKHz(int32_t clock) {
    return clock / kTenKHzPerMHz;
}
// A clock in 10 kHz from MHz; saturates at the limits of a 32-bit value.
int32_t TenKHzFromMHz(int mhz);

// A range the driver reports, usable when 0 <= minimum <= maximum and maximum > 0.
std::optional<OverdriveRange> UsableRange(int32_t minimum, int32_t maximum);
// The MHz range inside a range in 10 kHz: the minimum rounded up and the maximum rounded down,
// so that every MHz value of the result converts back to a clock the driver accepts.
std::optional<OverdriveRange> MHzRangeFromTenKHz(int32_t minimum, int32_t maximum);
// A fan percent range within 0..100; nothing when no part of it lies there or it is inverted.
std::optional<OverdriveRange> PercentRange(int32_t minimum, int32_t maximum);

// Whether a requested value may be written: nothing requested, or a value inside its range.
// A value requested for a setting without a range is refused.
bool RequestFits(const std::optional<int>& value, const std::optional<OverdriveRange>& range);

bool HasAnyValue(const OverdriveRequest& request);

// Thousandths of a degree from whole degrees; nothing when the product does not fit.
std::optional<int32_t> MilliDegreesFromDegrees(int32_t degrees);

// A negative result is a refusal; zero and the positive results (done, with a note) succeed.
constexpr bool Accepted(int result) {
    return result >= 0;
}

// A write the driver answered, as a write outcome.
constexpr DriverWrite WriteResult(int result) {
    return Accepted(result) ? DriverWrite::Accepted : DriverWrite::Refused;
}

}  // namespace overdrive
