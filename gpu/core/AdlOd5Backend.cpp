#include "gpu/core/AdlOd5Backend.h"

#include "gpu/core/OverdriveUnits.h"

using namespace overdrive;

namespace {

// The thermal controller every fan and temperature call addresses.
constexpr int kThermalController = 0;

OverdriveCapabilities ClockCapabilities(const ADLODParameters& params) {
    OverdriveCapabilities caps;
    caps.engineMHz =
        overdrive::MHzRangeFromTenKHz(params.sEngineClock.iMin, params.sEngineClock.iMax);
    caps.memoryMHz =
        overdrive::MHzRangeFromTenKHz(params.sMemoryClock.iMin, params.sMemoryClock.iMax);
    caps.voltageMilliVolts = overdrive::UsableRange(params.sVddc.iMin, params.sVddc.iMax);
    return caps;
}

}  // namespace

std::optional<ADLODParameters> AdlOd5Backend::ReadParameters() {
    if (entries().ADL2_Overdrive5_ODParameters_Get == nullptr) {
        return std::nullopt;
    }
    ADLODParameters params{};
    params.iSize = sizeof(ADLODParameters);
    if (!Accepted(entries().ADL2_Overdrive5_ODParameters_Get(handle(), adapter(), &params)) ||
        !IsValidLevelCount(params.iNumberOfPerformanceLevels)) {
        return std::nullopt;
    }
    return params;
}

std::optional<ADLODPerformanceLevels> AdlOd5Backend::ReadLevels(int32_t levelCount, bool defaults) {
    if (entries().ADL2_Overdrive5_ODPerformanceLevels_Get == nullptr) {
        return std::nullopt;
    }
    ADLODPerformanceLevels levels{};
    levels.iSize = PerformanceLevelsSize(levelCount);
    if (!Accepted(entries().ADL2_Overdrive5_ODPerformanceLevels_Get(handle(), adapter(),
                                                                    defaults ? 1 : 0, &levels))) {
        return std::nullopt;
    }
    return levels;
}

std::optional<OverdriveRange> AdlOd5Backend::ReadFanRange() {
    if (entries().ADL2_Overdrive5_FanSpeedInfo_Get == nullptr) {
        return std::nullopt;
    }
    ADLFanSpeedInfo info{};
    info.iSize = sizeof(ADLFanSpeedInfo);
    if (!Accepted(entries().ADL2_Overdrive5_FanSpeedInfo_Get(handle(), adapter(),
                                                             kThermalController, &info)) ||
        (info.iFlags & kAdlFanSupportsPercentWrite) == 0) {
        return std::nullopt;
    }
    return overdrive::PercentRange(info.iMinPercent, info.iMaxPercent);
}

bool AdlOd5Backend::WriteLevels(int32_t levelCount, ADLODPerformanceLevels levels) {
    // The size word is ours: whatever the driver left in its answer is not passed on.
    levels.iSize = PerformanceLevelsSize(levelCount);
    return entries().ADL2_Overdrive5_ODPerformanceLevels_Set != nullptr &&
           Accepted(
               entries().ADL2_Overdrive5_ODPerformanceLevels_Set(handle(), adapter(), &levels));
}

std::optional<OverdriveCapabilities> AdlOd5Backend::Capabilities() {
    auto hold = Hold();
    const std::optional<ADLODParameters> params = ReadParameters();
    if (!params) {
        return std::nullopt;
    }
    OverdriveCapabilities caps = ClockCapabilities(*params);
    caps.fanPercent = ReadFanRange();
    return caps;
}

std::optional<OverdriveSettings> AdlOd5Backend::Settings(bool defaults) {
    auto hold = Hold();
    const std::optional<ADLODParameters> params = ReadParameters();
    if (!params) {
        return std::nullopt;
    }
    const int32_t count = params->iNumberOfPerformanceLevels;
    const std::optional<ADLODPerformanceLevels> levels = ReadLevels(count, defaults);
    if (!levels) {
        return std::nullopt;
    }
    const ADLODPerformanceLevel& top = levels->aLevels[count - 1];
    return OverdriveSettings{MHzFromTenKHz(top.iEngineClock), MHzFromTenKHz(top.iMemoryClock),
                             top.iVddc, true};
}

bool AdlOd5Backend::Apply(const OverdriveRequest& request) {
    if (!overdrive::HasAnyValue(request)) {
        return false;
    }
    auto hold = Hold();
    const std::optional<ADLODParameters> params = ReadParameters();
    if (!params) {
        return false;
    }
    // The last guard for values that bypassed the sliders: hotkeys, stored settings, start-up.
    const OverdriveCapabilities caps = ClockCapabilities(*params);
    if (!overdrive::RequestFits(request.engineMHz, caps.engineMHz) ||
        !overdrive::RequestFits(request.memoryMHz, caps.memoryMHz) ||
        !overdrive::RequestFits(request.voltageMilliVolts, caps.voltageMilliVolts)) {
        return false;
    }
    const int32_t count = params->iNumberOfPerformanceLevels;
    std::optional<ADLODPerformanceLevels> levels = ReadLevels(count, false);
    if (!levels) {
        return false;
    }
    // One write carries every level: the others go back as the card runs them.
    ADLODPerformanceLevel& top = levels->aLevels[count - 1];
    if (request.engineMHz) {
        top.iEngineClock = TenKHzFromMHz(*request.engineMHz);
    }
    if (request.memoryMHz) {
        top.iMemoryClock = TenKHzFromMHz(*request.memoryMHz);
    }
    if (request.voltageMilliVolts) {
        top.iVddc = *request.voltageMilliVolts;
    }
    return WriteLevels(count, *levels);
}

bool AdlOd5Backend::RestoreDefaults() {
    auto hold = Hold();
    const std::optional<ADLODParameters> params = ReadParameters();
    if (!params) {
        return false;
    }
    const int32_t count = params->iNumberOfPerformanceLevels;
    const std::optional<ADLODPerformanceLevels> defaults = ReadLevels(count, true);
    return defaults && WriteLevels(count, *defaults);
}

std::optional<OverdriveClocks> AdlOd5Backend::CurrentClocks() {
    auto hold = Hold();
    if (entries().ADL2_Overdrive5_CurrentActivity_Get == nullptr) {
        return std::nullopt;
    }
    ADLPMActivity activity{};
    activity.iSize = sizeof(ADLPMActivity);
    if (!Accepted(entries().ADL2_Overdrive5_CurrentActivity_Get(handle(), adapter(), &activity)) ||
        activity.iEngineClock < 0 || activity.iMemoryClock < 0) {
        return std::nullopt;
    }
    return OverdriveClocks{MHzFromTenKHz(activity.iEngineClock),
                           MHzFromTenKHz(activity.iMemoryClock)};
}

std::optional<int32_t> AdlOd5Backend::Temperature() {
    auto hold = Hold();
    if (entries().ADL2_Overdrive5_Temperature_Get == nullptr) {
        return std::nullopt;
    }
    ADLTemperature temperature{};
    temperature.iSize = sizeof(ADLTemperature);
    if (!Accepted(entries().ADL2_Overdrive5_Temperature_Get(handle(), adapter(), kThermalController,
                                                            &temperature))) {
        return std::nullopt;
    }
    return temperature.iTemperature;
}

std::optional<int> AdlOd5Backend::FanPercent() {
    auto hold = Hold();
    if (entries().ADL2_Overdrive5_FanSpeed_Get == nullptr) {
        return std::nullopt;
    }
    ADLFanSpeedValue value{};
    value.iSize = sizeof(ADLFanSpeedValue);
    value.iSpeedType = kFanSpeedTypePercent;
    if (!Accepted(entries().ADL2_Overdrive5_FanSpeed_Get(handle(), adapter(), kThermalController,
                                                         &value)) ||
        value.iSpeedType != kFanSpeedTypePercent || value.iFanSpeed < 0 || value.iFanSpeed > 100) {
        return std::nullopt;
    }
    return value.iFanSpeed;
}

DriverWrite AdlOd5Backend::SetFanPercent(int percent) {
    auto hold = Hold();
    const std::optional<OverdriveRange> range = ReadFanRange();
    if (!range || entries().ADL2_Overdrive5_FanSpeed_Set == nullptr) {
        return DriverWrite::NotMade;
    }
    if (!range->Contains(percent)) {
        return DriverWrite::Refused;
    }
    ADLFanSpeedValue value{};
    value.iSize = sizeof(ADLFanSpeedValue);
    value.iSpeedType = kFanSpeedTypePercent;
    value.iFanSpeed = percent;
    value.iFlags = kFanSpeedFlagUserDefined;
    return WriteResult(
        entries().ADL2_Overdrive5_FanSpeed_Set(handle(), adapter(), kThermalController, &value));
}

DriverWrite AdlOd5Backend::SetFanAutomatic() {
    auto hold = Hold();
    if (entries().ADL2_Overdrive5_FanSpeedToDefault_Set == nullptr) {
        return DriverWrite::NotMade;
    }
    return WriteResult(
        entries().ADL2_Overdrive5_FanSpeedToDefault_Set(handle(), adapter(), kThermalController));
}
