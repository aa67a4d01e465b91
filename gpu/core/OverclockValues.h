// The overclocking page's arithmetic: unit conversions between its sliders and the driver, the
// slider ranges the driver's answers give, and what a stored setting puts on a slider.
#pragma once

#include <cstdint>
#include <optional>

#include "gpu/core/DriverRecords.h"
#include "gpu/core/OverdriveBackend.h"

namespace overclock {

// Driver clocks are in 10 kHz units; the sliders show MHz.
inline constexpr int32_t kDriverUnitsPerMHz = 100;

// Slider MHz from a driver clock, truncating toward zero.
constexpr int MHzFromDriverClock(int32_t clock) {
    return clock / kDriverUnitsPerMHz;
}
// Driver clock from slider MHz; saturates at the limits of a 32-bit value.
int32_t DriverClockFromMHz(int mhz);

// A stored fan percent limited to 0..100.
int ClampFanPercent(int32_t percent);
// A fan reading the page can show: 0..100, anything else is no reading.
std::optional<int> FanPercentReading(int32_t percent);

struct SliderRange {
    int minimum;
    int maximum;
};

// The core or memory slider's range in MHz from a driver range; nothing for an inverted range.
std::optional<SliderRange> ClockSliderRange(const ADLODParameterRange& range);
// The voltage slider's range (millivolts pass unchanged); nothing for an inverted range.
std::optional<SliderRange> VoltageSliderRange(const ADLODParameterRange& range);
// The fan slider's range: the driver's percent range within 0..100; nothing when no part of it
// lies there or it is inverted.
std::optional<SliderRange> FanSliderRange(const ADLFanSpeedInfo& info);
// The part of a fan range that lies within 0..100; nothing when none does.
std::optional<OverdriveRange> PercentRange(const OverdriveRange& range);

// A stored clock or voltage of 0 was never set: the value the settings template ships and the
// value a missing key reads.
constexpr bool IsUnsetClockSetting(int32_t stored) {
    return stored == 0;
}

// What a stored clock or voltage puts on a slider the driver gave a range: the stored value, or
// for a value never set the driver's current one when it is known. Nothing means the slider
// cannot carry the value: the page holds it as stored and does not apply it.
std::optional<int> StoredClockOnSlider(int32_t stored, bool rangeKnown, std::optional<int> current);
// What a stored fan percent puts on its slider: the percent limited to 0..100, when the driver
// gave the slider a range.
std::optional<int> StoredFanOnSlider(int32_t stored, bool rangeKnown);

// The number "Clock_Set" records for the backend the values were saved on: 0 for the ATIDL
// library (what a file without the key was saved by), the Overdrive version for the display
// library's generations; -1 for no backend, which matches no saved file.
constexpr int32_t StoredOverdriveCode(OverdriveGeneration generation) {
    switch (generation) {
        case OverdriveGeneration::Atidl:
            return 0;
        case OverdriveGeneration::Od5:
            return 5;
        case OverdriveGeneration::Od6:
            return 6;
        case OverdriveGeneration::OdN:
            return 7;
        case OverdriveGeneration::Od8:
            return 8;
        case OverdriveGeneration::None:
            break;
    }
    return -1;
}

}  // namespace overclock
