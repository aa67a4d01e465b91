#include "gpu/core/AdlOd6Backend.h"

#include "gpu/core/OverdriveUnits.h"

using namespace overdrive;

namespace {

// The level that carries the maximum clocks.
constexpr int kMaximumLevel = kOd6LevelCount - 1;

bool Has(int32_t flags, int32_t bits) {
    return (flags & bits) == bits;
}

}  // namespace

std::optional<OverdriveCapabilities> AdlOd6Backend::ReadClockCapabilities() {
    if (entries().ADL2_Overdrive6_Capabilities_Get == nullptr) {
        return std::nullopt;
    }
    ADLOD6Capabilities od6{};
    if (!Accepted(entries().ADL2_Overdrive6_Capabilities_Get(handle(), adapter(), &od6)) ||
        od6.iNumberOfPerformanceLevels != kOd6LevelCount) {
        return std::nullopt;
    }
    OverdriveCapabilities caps;
    if (Has(od6.iCapabilities, kAdlOd6CapabilityEngineClock)) {
        caps.engineMHz =
            overdrive::MHzRangeFromTenKHz(od6.sEngineClockRange.iMin, od6.sEngineClockRange.iMax);
    }
    if (Has(od6.iCapabilities, kAdlOd6CapabilityMemoryClock)) {
        caps.memoryMHz =
            overdrive::MHzRangeFromTenKHz(od6.sMemoryClockRange.iMin, od6.sMemoryClockRange.iMax);
    }
    return caps;
}

std::optional<ADLOD6StateInfo> AdlOd6Backend::ReadState(int stateType) {
    if (entries().ADL2_Overdrive6_StateInfo_Get == nullptr) {
        return std::nullopt;
    }
    ADLOD6StateInfo state{};
    state.iNumberOfPerformanceLevels = kOd6LevelCount;
    // An answer naming another level count was not written for this record.
    if (!Accepted(
            entries().ADL2_Overdrive6_StateInfo_Get(handle(), adapter(), stateType, &state)) ||
        state.iNumberOfPerformanceLevels != kOd6LevelCount) {
        return std::nullopt;
    }
    return state;
}

std::optional<ADLOD6ThermalControllerCaps> AdlOd6Backend::ReadThermalCaps() {
    if (entries().ADL2_Overdrive6_ThermalController_Caps == nullptr) {
        return std::nullopt;
    }
    ADLOD6ThermalControllerCaps caps{};
    if (!Accepted(entries().ADL2_Overdrive6_ThermalController_Caps(handle(), adapter(), &caps))) {
        return std::nullopt;
    }
    return caps;
}

std::optional<OverdriveRange> AdlOd6Backend::ReadFanRange() {
    const std::optional<ADLOD6ThermalControllerCaps> caps = ReadThermalCaps();
    if (!caps || !Has(caps->iCapabilities, kAdlOd6FanSpeedControl | kAdlOd6FanPercentWrite)) {
        return std::nullopt;
    }
    return overdrive::PercentRange(caps->iFanMinPercent, caps->iFanMaxPercent);
}

std::optional<OverdriveCapabilities> AdlOd6Backend::Capabilities() {
    auto hold = Hold();
    std::optional<OverdriveCapabilities> caps = ReadClockCapabilities();
    if (caps) {
        caps->fanPercent = ReadFanRange();
    }
    return caps;
}

std::optional<OverdriveSettings> AdlOd6Backend::Settings(bool defaults) {
    auto hold = Hold();
    const std::optional<ADLOD6StateInfo> state =
        ReadState(defaults ? kAdlOd6StateDefaultPerformance : kAdlOd6StateCustomPerformance);
    if (!state) {
        return std::nullopt;
    }
    const ADLOD6PerformanceLevel& maximum = state->aLevels[kMaximumLevel];
    return OverdriveSettings{MHzFromTenKHz(maximum.iEngineClock),
                             MHzFromTenKHz(maximum.iMemoryClock), 0, false};
}

bool AdlOd6Backend::Apply(const OverdriveRequest& request) {
    if (!overdrive::HasAnyValue(request) || request.voltageMilliVolts) {
        return false;
    }
    auto hold = Hold();
    const std::optional<OverdriveCapabilities> caps = ReadClockCapabilities();
    if (!caps || !overdrive::RequestFits(request.engineMHz, caps->engineMHz) ||
        !overdrive::RequestFits(request.memoryMHz, caps->memoryMHz) ||
        entries().ADL2_Overdrive6_State_Set == nullptr) {
        return false;
    }
    std::optional<ADLOD6StateInfo> state = ReadState(kAdlOd6StateCustomPerformance);
    if (!state) {
        return false;
    }
    // The minimum level goes back as the card has it.
    ADLOD6PerformanceLevel& maximum = state->aLevels[kMaximumLevel];
    if (request.engineMHz) {
        maximum.iEngineClock = TenKHzFromMHz(*request.engineMHz);
    }
    if (request.memoryMHz) {
        maximum.iMemoryClock = TenKHzFromMHz(*request.memoryMHz);
    }
    return Accepted(entries().ADL2_Overdrive6_State_Set(handle(), adapter(),
                                                        kAdlOd6SetStatePerformance, &*state));
}

bool AdlOd6Backend::RestoreDefaults() {
    auto hold = Hold();
    return entries().ADL2_Overdrive6_State_Reset != nullptr &&
           Accepted(entries().ADL2_Overdrive6_State_Reset(handle(), adapter(),
                                                          kAdlOd6SetStatePerformance));
}

std::optional<OverdriveClocks> AdlOd6Backend::CurrentClocks() {
    auto hold = Hold();
    if (entries().ADL2_Overdrive6_CurrentStatus_Get == nullptr) {
        return std::nullopt;
    }
    ADLOD6CurrentStatus status{};
    if (!Accepted(entries().ADL2_Overdrive6_CurrentStatus_Get(handle(), adapter(), &status)) ||
        status.iEngineClock < 0 || status.iMemoryClock < 0) {
        return std::nullopt;
    }
    return OverdriveClocks{MHzFromTenKHz(status.iEngineClock), MHzFromTenKHz(status.iMemoryClock)};
}

std::optional<int32_t> AdlOd6Backend::Temperature() {
    auto hold = Hold();
    int temperature = 0;
    // Thousandths of a degree, as the SDK's Overdrive 6 sample reads it.
    if (entries().ADL2_Overdrive6_Temperature_Get == nullptr ||
        !Accepted(entries().ADL2_Overdrive6_Temperature_Get(handle(), adapter(), &temperature))) {
        return std::nullopt;
    }
    return temperature;
}

std::optional<int> AdlOd6Backend::FanPercent() {
    auto hold = Hold();
    const std::optional<ADLOD6ThermalControllerCaps> caps = ReadThermalCaps();
    if (!caps || !Has(caps->iCapabilities, kAdlOd6FanSpeedControl | kAdlOd6FanPercentRead) ||
        entries().ADL2_Overdrive6_FanSpeed_Get == nullptr) {
        return std::nullopt;
    }
    ADLOD6FanSpeedInfo info{};
    if (!Accepted(entries().ADL2_Overdrive6_FanSpeed_Get(handle(), adapter(), &info)) ||
        !Has(info.iSpeedType, kAdlOd6FanSpeedTypePercent) || info.iFanSpeedPercent < 0 ||
        info.iFanSpeedPercent > 100) {
        return std::nullopt;
    }
    return info.iFanSpeedPercent;
}

DriverWrite AdlOd6Backend::SetFanPercent(int percent) {
    auto hold = Hold();
    const std::optional<OverdriveRange> range = ReadFanRange();
    if (!range || entries().ADL2_Overdrive6_FanSpeed_Set == nullptr) {
        return DriverWrite::NotMade;
    }
    if (!range->Contains(percent)) {
        return DriverWrite::Refused;
    }
    ADLOD6FanSpeedValue value{};
    value.iSpeedType = kAdlOd6FanSpeedTypePercent;
    value.iFanSpeed = percent;
    return WriteResult(entries().ADL2_Overdrive6_FanSpeed_Set(handle(), adapter(), &value));
}

DriverWrite AdlOd6Backend::SetFanAutomatic() {
    auto hold = Hold();
    if (entries().ADL2_Overdrive6_FanSpeed_Reset == nullptr) {
        return DriverWrite::NotMade;
    }
    return WriteResult(entries().ADL2_Overdrive6_FanSpeed_Reset(handle(), adapter()));
}
