#include "gpu/core/AtidlBackend.h"

#include "gpu/core/OverclockValues.h"

using overclock::DriverClockFromMHz;
using overclock::MHzFromDriverClock;

namespace {

std::optional<OverdriveRange> Range(std::optional<overclock::SliderRange> range) {
    if (!range) {
        return std::nullopt;
    }
    return OverdriveRange{range->minimum, range->maximum};
}

}  // namespace

std::optional<OverdriveCapabilities> AtidlBackend::Capabilities() {
    OverdriveCapabilities capabilities;
    capabilities.fanPercent = Range(operations_.GetFanRange());
    ADLODParameters params{};
    const bool clocks = operations_.GetOverdriveParameters(params);
    if (clocks) {
        capabilities.engineMHz = Range(overclock::ClockSliderRange(params.sEngineClock));
        capabilities.memoryMHz = Range(overclock::ClockSliderRange(params.sMemoryClock));
        capabilities.voltageMilliVolts = Range(overclock::VoltageSliderRange(params.sVddc));
    }
    if (!clocks && !capabilities.fanPercent) {
        return std::nullopt;
    }
    return capabilities;
}

std::optional<OverdriveSettings> AtidlBackend::Settings(bool defaults) {
    ADLODPerformanceLevels levels{};
    bool voltageKnown = false;
    if (!operations_.GetPerformanceLevels(defaults, levels, &voltageKnown)) {
        return std::nullopt;
    }
    const ADLODPerformanceLevel& level = levels.aLevels[0];
    OverdriveSettings settings;
    settings.engineMHz = MHzFromDriverClock(level.iEngineClock);
    settings.memoryMHz = MHzFromDriverClock(level.iMemoryClock);
    // The current clocks may come without the levels, and so without the voltage.
    settings.voltageKnown = voltageKnown;
    settings.voltageMilliVolts = settings.voltageKnown ? level.iVddc : 0;
    return settings;
}

bool AtidlBackend::Apply(const OverdriveRequest& request) {
    if (!request.engineMHz || !request.memoryMHz || !request.voltageMilliVolts) {
        return false;
    }
    return operations_.SetPerformanceClocks(DriverClockFromMHz(*request.engineMHz),
                                            DriverClockFromMHz(*request.memoryMHz),
                                            *request.voltageMilliVolts);
}

bool AtidlBackend::RestoreDefaults() {
    ADLODPerformanceLevels levels{};
    if (!operations_.GetPerformanceLevels(true, levels)) {
        return false;
    }
    // The driver's own units: no rounding through MHz.
    const ADLODPerformanceLevel& level = levels.aLevels[0];
    return operations_.SetPerformanceClocks(level.iEngineClock, level.iMemoryClock, level.iVddc);
}

std::optional<OverdriveClocks> AtidlBackend::CurrentClocks() {
    ADLODPerformanceLevels levels{};
    if (!operations_.GetPerformanceLevels(false, levels)) {
        return std::nullopt;
    }
    return OverdriveClocks{MHzFromDriverClock(levels.aLevels[0].iEngineClock),
                           MHzFromDriverClock(levels.aLevels[0].iMemoryClock)};
}

std::optional<int32_t> AtidlBackend::Temperature() {
    return operations_.GetTemperature();
}

std::optional<int> AtidlBackend::FanPercent() {
    return operations_.GetFanPercent();
}

DriverWrite AtidlBackend::SetFanPercent(int percent) {
    return operations_.SetFanPercent(percent);
}

DriverWrite AtidlBackend::SetFanAutomatic() {
    return operations_.SetFanToDefault();
}
