#include "gpu/core/DriverOperations.h"

#include <algorithm>
#include <limits>

#include "gpu/core/AdlSession.h"
#include "gpu/core/OverdriveUnits.h"

namespace {

// Every ATIDL call addresses the first adapter, and its first fan controller and sensor.
constexpr int kAdapter = 0;
constexpr int kController = 0;

int32_t RaisedEngineMaximum(int32_t reported) {
    // A hostile maximum near the top of the range must not overflow.
    const int64_t raised = int64_t{reported} + DriverOperations::kEngineHeadroom;
    return static_cast<int32_t>(std::min<int64_t>(raised, std::numeric_limits<int32_t>::max()));
}

int32_t AdlColorType(ColorKind kind) {
    return kind == ColorKind::Contrast ? kAdlColorContrast : kAdlColorBrightness;
}

using overdrive::Accepted;

bool ReadClockInfo(const DriverEntries& entries, ODClockInfo& info) {
    info = ODClockInfo{};
    info.iSize = sizeof(ODClockInfo);
    return entries.ATIDL_GetODClockInfo != nullptr &&
           Accepted(entries.ATIDL_GetODClockInfo(kAdapter, &info));
}

bool InRange(int32_t value, const ADLODParameterRange& range) {
    return value >= range.iMin && value <= range.iMax;
}

}  // namespace

bool DriverOperations::GetOverdriveParameters(ADLODParameters& params) const {
    if (entries_.ATIDL_GetODParameters == nullptr) {
        return false;
    }
    params.iSize = sizeof(ADLODParameters);
    const int result = entries_.ATIDL_GetODParameters(kAdapter, &params, 0);

    ODClockInfo info;
    if (ReadClockInfo(entries_, info)) {
        params.sEngineClock.iMin = info.sEngineClock.iMinimum;
        params.sEngineClock.iMax = RaisedEngineMaximum(info.sEngineClock.iMaximum);
        params.sEngineClock.iStep = info.sEngineClock.iStep;
        params.sMemoryClock.iMin = info.sMemoryClock.iMinimum;
        params.sMemoryClock.iMax = info.sMemoryClock.iMaximum;
        params.sMemoryClock.iStep = info.sMemoryClock.iStep;
    }
    // Callers size a levels record from the count: one outside 1..8 is a failed query.
    return Accepted(result) && IsValidLevelCount(params.iNumberOfPerformanceLevels);
}

bool DriverOperations::QueryLevels(int32_t levelCount, bool defaults,
                                   ADLODPerformanceLevels& levels) const {
    if (entries_.ATIDL_GetODPerformanceLevels == nullptr) {
        return false;
    }
    // Into a scratch record: what a refusing driver left in it is never read.
    ADLODPerformanceLevels answer{};
    answer.iSize = PerformanceLevelsSize(levelCount);
    if (!Accepted(entries_.ATIDL_GetODPerformanceLevels(kAdapter, &answer, defaults ? 1 : 0, 0))) {
        return false;
    }
    levels = answer;
    return true;
}

bool DriverOperations::GetPerformanceLevels(bool defaults, ADLODPerformanceLevels& levels,
                                            bool* voltageKnown) const {
    if (voltageKnown != nullptr) {
        *voltageKnown = false;
    }
    ADLODParameters params{};
    if (entries_.ATIDL_GetODPerformanceLevels == nullptr || !GetOverdriveParameters(params)) {
        return false;
    }
    const int32_t levelCount = params.iNumberOfPerformanceLevels;
    ADLODPerformanceLevels answer{};
    answer.iSize = PerformanceLevelsSize(levelCount);
    const bool levelsRead = QueryLevels(levelCount, defaults, answer);
    // The clock timer and the hardware page need only the current clocks, which the clock
    // information carries even when the level query fails.
    ODClockInfo info;
    const bool clocksRead = !defaults && ReadClockInfo(entries_, info);
    if (!levelsRead && !clocksRead) {
        return false;
    }
    if (clocksRead) {
        answer.aLevels[0].iEngineClock = info.sEngineClock.iCurrent;
        answer.aLevels[0].iMemoryClock = info.sMemoryClock.iCurrent;
    }
    if (!levelsRead) {
        answer.aLevels[0].iVddc = kUnknownVddc;
    }
    levels = answer;
    if (voltageKnown != nullptr) {
        *voltageKnown = levelsRead;
    }
    return true;
}

bool DriverOperations::SetPerformanceClocks(int32_t engineClock, int32_t memoryClock,
                                            int32_t vddc) const {
    // Both writes must be possible before the first is made.
    if (entries_.ATIDL_SetODPerformanceLevels == nullptr ||
        entries_.ATIDL_SetODClockConfig == nullptr) {
        return false;
    }
    ADLODParameters params{};
    if (!GetOverdriveParameters(params)) {
        return false;
    }
    // The last guard for values that bypassed the sliders: hotkeys, stored settings, start-up.
    if (!InRange(engineClock, params.sEngineClock) || !InRange(memoryClock, params.sMemoryClock) ||
        !InRange(vddc, params.sVddc)) {
        return false;
    }
    const int32_t levelCount = params.iNumberOfPerformanceLevels;
    ADLODPerformanceLevels levels{};
    if (!GetPerformanceLevels(true, levels)) {
        return false;
    }
    levels.iSize = PerformanceLevelsSize(levelCount);
    // What the card runs now, written back should the clocks be refused.
    ADLODPerformanceLevels previous{};
    if (!QueryLevels(levelCount, false, previous)) {
        previous = levels;  // the driver's defaults stand in
    }
    // The size word is ours, not whatever the driver left in its answer: the restore below must
    // not tell the driver to read past the record.
    previous.iSize = PerformanceLevelsSize(levelCount);

    levels.aLevels[0].iVddc = vddc;
    if (!Accepted(entries_.ATIDL_SetODPerformanceLevels(kAdapter, &levels, 0))) {
        return false;
    }
    // Word 1 of the configuration has no meaning for the program and is left 0.
    ODClockConfig config{};
    config.iSize = sizeof(ODClockConfig);
    config.iMemoryClock = memoryClock;
    config.iEngineClock = engineClock;
    if (Accepted(entries_.ATIDL_SetODClockConfig(kAdapter, &config))) {
        return true;
    }
    // The new voltage was chosen for the refused clocks: it must not stay without them.
    entries_.ATIDL_SetODPerformanceLevels(kAdapter, &previous, 0);
    return false;
}

std::optional<overclock::SliderRange> DriverOperations::GetFanRange() const {
    if (entries_.ATIDL_GetFanSpeedInfo == nullptr) {
        return std::nullopt;
    }
    ADLFanSpeedInfo info{};
    info.iSize = sizeof(ADLFanSpeedInfo);
    info.iFlags = kFanSpeedInfoQueryFlags;
    // A refused query leaves the record as it was sent: no range to take from it.
    if (!Accepted(entries_.ATIDL_GetFanSpeedInfo(kAdapter, kController, &info, 0))) {
        return std::nullopt;
    }
    return overclock::FanSliderRange(info);
}

std::optional<int> DriverOperations::GetFanPercent() const {
    if (entries_.ATIDL_GetFanSpeed == nullptr) {
        return std::nullopt;
    }
    ADLFanSpeedValue value{sizeof(ADLFanSpeedValue), kFanSpeedTypePercent, 0,
                           kFanSpeedFlagUserDefined};
    if (!Accepted(entries_.ATIDL_GetFanSpeed(kAdapter, kController, &value, 0))) {
        return std::nullopt;
    }
    return overclock::FanPercentReading(value.iFanSpeed);
}

DriverWrite DriverOperations::SetFanPercent(int percent) const {
    if (entries_.ATIDL_SetFanSpeed == nullptr) {
        return DriverWrite::NotMade;
    }
    // The last guard, as for the clocks: the range may have narrowed since the page read it.
    const std::optional<overclock::SliderRange> range = GetFanRange();
    if (!range) {
        return DriverWrite::NotMade;
    }
    if (percent < range->minimum || percent > range->maximum) {
        return DriverWrite::Refused;
    }
    ADLFanSpeedValue value{sizeof(ADLFanSpeedValue), kFanSpeedTypePercent, percent,
                           kFanSpeedFlagUserDefined};
    return overdrive::WriteResult(entries_.ATIDL_SetFanSpeed(kAdapter, kController, &value, 0));
}

DriverWrite DriverOperations::SetFanToDefault() const {
    if (entries_.ATIDL_SetFanSpeedToDefault == nullptr) {
        return DriverWrite::NotMade;
    }
    return overdrive::WriteResult(entries_.ATIDL_SetFanSpeedToDefault(kAdapter, kController, 0));
}

std::optional<int32_t> DriverOperations::GetTemperature() const {
    if (entries_.ATIDL_GetTemperature == nullptr) {
        return std::nullopt;
    }
    ADLTemperature temperature{sizeof(ADLTemperature), 0};
    // The record is read whatever the result: a refusal leaves it at 0.
    entries_.ATIDL_GetTemperature(kAdapter, kController, &temperature, 0);
    return temperature.iTemperature;
}

bool DriverOperations::HasColorEntries() const {
    return entries_.ADL_Main_Control_Create != nullptr &&
           entries_.ADL_Main_Control_Destroy != nullptr &&
           entries_.ADL_Adapter_NumberOfAdapters_Get != nullptr &&
           entries_.ADL_Adapter_AdapterInfo_Get != nullptr &&
           entries_.ADL_Display_DisplayInfo_Get != nullptr &&
           entries_.ADL_Display_ColorCaps_Get != nullptr &&
           entries_.ADL_Display_Color_Get != nullptr && entries_.ADL_Display_Color_Set != nullptr;
}

template <typename ColorCall>
bool DriverOperations::WithColorDisplay(ColorKind kind, ColorCall call) const {
    if (!HasColorEntries()) {
        return false;
    }
    const int32_t type = AdlColorType(kind);
    // The session stays open for the colour call itself.
    AdlSession session(entries_);
    const std::optional<AdlDisplayAddress> display = session.FindColorDisplay(type);
    return display && call(*display, type);
}

bool DriverOperations::SetDisplayColor(ColorKind kind, int32_t value) const {
    return WithColorDisplay(kind, [&](const AdlDisplayAddress& display, int32_t type) {
        return entries_.ADL_Display_Color_Set(display.adapterIndex, display.displayIndex, type,
                                              value) == 0;
    });
}

bool DriverOperations::GetDisplayColor(ColorKind kind, int32_t& current, int32_t& defaultValue,
                                       int32_t& minimum, int32_t& maximum, int32_t& step) const {
    return WithColorDisplay(kind, [&](const AdlDisplayAddress& display, int32_t type) {
        int values[5] = {};
        if (entries_.ADL_Display_Color_Get(display.adapterIndex, display.displayIndex, type,
                                           &values[0], &values[1], &values[2], &values[3],
                                           &values[4]) != 0) {
            return false;
        }
        current = values[0];
        defaultValue = values[1];
        minimum = values[2];
        maximum = values[3];
        step = values[4];
        return true;
    });
}
