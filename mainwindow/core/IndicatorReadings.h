// The gauge's values from the driver's raw readings.
#pragma once

#include <cstdint>
#include <optional>

namespace indicator {

inline constexpr int kLowestTemperature = 40;
inline constexpr int kHighestTemperature = 100;

// The temperature shown for a reading in thousandths of a degree Celsius, taken as unsigned
// (a negative reading is a huge one), clamped to the gauge's 40..100: a card above 100 degrees
// shows the needle's end, never a cool value. Readings above 150 degrees cannot be a
// temperature and show the lowest value, as does no reading at all.
int GaugeTemperature(std::optional<std::uint32_t> milliDegrees);

// The engine clock in MHz from the driver's unit of 10 kHz.
constexpr int ClockMHz(std::int32_t engineClock) {
    return engineClock / 100;
}

}  // namespace indicator
