// The simulated card's temperature: heat grows with the engine and memory clocks and the core
// voltage and falls with the fan speed; the temperature approaches that target exponentially.
#pragma once

#include <cstdint>

namespace sim {

struct HeatSources {
    int engineClock;  // 10 kHz units
    int memoryClock;  // 10 kHz units
    int vddc;         // millivolts
    int fanPercent;
};

// Settling time constant: about 95 % of a step is reached after three of these.
inline constexpr int64_t kThermalTimeConstantMs = 4000;

// The temperature the card settles at, in thousandths of a degree Celsius (20 to 120 degrees).
int TargetTemperature(const HeatSources& sources);

// The temperature `elapsedMs` after `current`, moving towards `target`. A negative elapsed
// time (a clock set back) changes nothing.
int AdvanceTemperature(int current, int target, int64_t elapsedMs);

// The speed the driver's automatic fan control picks at a temperature, within the fan's range.
int AutomaticFanPercent(int temperature, int minimumPercent, int maximumPercent);

}  // namespace sim
