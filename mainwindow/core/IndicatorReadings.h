// The gauge's values from the driver's raw readings.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace indicator {

inline constexpr int kLowestTemperature = 40;
inline constexpr int kHighestTemperature = 100;

// The temperature shown for a reading in thousandths of a degree Celsius, taken as unsigned
// (a negative reading is a huge one), clamped to the gauge's 40..100: a card above 100 degrees
// shows the needle's end, never a cool value. Readings above 150 degrees cannot be a
// temperature and show the lowest value, as does no reading at all.
int GaugeTemperature(std::optional<std::uint32_t> milliDegrees);

// The tray icon's tip: "Velmora", then the temperature in whole degrees when the reading can be
// a temperature (above 0, at most 150 degrees; a card above 100 degrees shows its reading) and
// the engine clock when one was read, e.g. "Velmora 62℃ 850MHz". Never longer than the tip's
// 127 characters.
std::wstring TrayTip(std::optional<std::uint32_t> milliDegrees, std::optional<int> engineMHz);

}  // namespace indicator
