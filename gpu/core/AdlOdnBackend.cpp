#include "gpu/core/AdlOdnBackend.h"

#include <algorithm>

#include "gpu/core/OverdriveUnits.h"

using namespace overdrive;

namespace {

bool Has(int32_t flags, int32_t bits) {
    return (flags & bits) == bits;
}

// The top level lets the driver change what the capability flag allows.
bool TopAllows(const AdlOdnBackend::Levels& levels, int32_t flags, int32_t feature,
               int32_t control) {
    const std::optional<int> top = AdlOdnBackend::TopEnabledLevel(levels);
    return Has(flags, feature) && top && Has(levels.record.aLevels[*top].iControl, control);
}

}  // namespace

std::optional<int> AdlOdnBackend::TopEnabledLevel(const Levels& levels) {
    for (int i = levels.count - 1; i >= 0; --i) {
        if (levels.record.aLevels[i].iEnabled != 0) {
            return i;
        }
    }
    return std::nullopt;
}

std::optional<ADLODNCapabilitiesX2> AdlOdnBackend::ReadCaps() {
    if (entries().ADL2_OverdriveN_CapabilitiesX2_Get == nullptr) {
        return std::nullopt;
    }
    ADLODNCapabilitiesX2 caps{};
    if (!Accepted(entries().ADL2_OverdriveN_CapabilitiesX2_Get(handle(), adapter(), &caps)) ||
        caps.iMaximumNumberOfPerformanceLevels < 1 ||
        caps.iMaximumNumberOfPerformanceLevels > kMaxOdnLevels) {
        return std::nullopt;
    }
    return caps;
}

std::optional<AdlOdnBackend::Levels> AdlOdnBackend::ReadLevels(Adl2OdnLevelsX2Fn get, int32_t room,
                                                               int32_t mode) {
    if (get == nullptr) {
        return std::nullopt;
    }
    Levels levels;
    levels.record.iSize = OdnLevelsSize(room);
    levels.record.iMode = mode;
    levels.record.iNumberOfPerformanceLevels = room;
    if (!Accepted(get(handle(), adapter(), &levels.record))) {
        return std::nullopt;
    }
    // Never past what the driver says it filled, nor past the room it was given.
    levels.count = std::min(levels.record.iNumberOfPerformanceLevels, room);
    if (levels.count < 1) {
        return std::nullopt;
    }
    return levels;
}

std::optional<AdlOdnBackend::Card> AdlOdnBackend::ReadCard(int32_t mode) {
    const std::optional<ADLODNCapabilitiesX2> caps = ReadCaps();
    if (!caps) {
        return std::nullopt;
    }
    const int32_t room = caps->iMaximumNumberOfPerformanceLevels;
    std::optional<Levels> engine =
        ReadLevels(entries().ADL2_OverdriveN_SystemClocksX2_Get, room, mode);
    std::optional<Levels> memory =
        ReadLevels(entries().ADL2_OverdriveN_MemoryClocksX2_Get, room, mode);
    if (!engine || !memory || !TopEnabledLevel(*engine) || !TopEnabledLevel(*memory)) {
        return std::nullopt;
    }
    return Card{*caps, *engine, *memory};
}

OverdriveCapabilities AdlOdnBackend::CapabilitiesOf(const Card& card) const {
    const ADLODNCapabilitiesX2& odn = card.caps;
    // A list the driver has no write entry for cannot change: offering it would fail every
    // write of the other list with it.
    const bool engineWritable = entries().ADL2_OverdriveN_SystemClocksX2_Set != nullptr;
    const bool memoryWritable = entries().ADL2_OverdriveN_MemoryClocksX2_Set != nullptr;
    OverdriveCapabilities caps;
    if (engineWritable &&
        TopAllows(card.engine, odn.iFlags, kAdlOdnEngineClockLevels, kAdlOdnLevelClock)) {
        caps.engineMHz =
            overdrive::MHzRangeFromTenKHz(odn.sEngineClockRange.iMin, odn.sEngineClockRange.iMax);
    }
    if (memoryWritable &&
        TopAllows(card.memory, odn.iFlags, kAdlOdnMemoryClockLevels, kAdlOdnLevelClock)) {
        caps.memoryMHz =
            overdrive::MHzRangeFromTenKHz(odn.sMemoryClockRange.iMin, odn.sMemoryClockRange.iMax);
    }
    if (engineWritable &&
        TopAllows(card.engine, odn.iFlags, kAdlOdnEngineVoltage, kAdlOdnLevelVddc)) {
        caps.voltageMilliVolts = overdrive::UsableRange(odn.svddcRange.iMin, odn.svddcRange.iMax);
    }
    return caps;
}

bool AdlOdnBackend::WriteLevels(Adl2OdnLevelsX2Fn set, Levels levels, int32_t mode) {
    if (set == nullptr) {
        return false;
    }
    // Size and count are ours, for the levels the driver filled; the enabled flags go back as
    // 0 or 1, as the SDK's sample writes them.
    levels.record.iSize = OdnLevelsSize(levels.count);
    levels.record.iNumberOfPerformanceLevels = levels.count;
    levels.record.iMode = mode;
    for (int i = 0; i < levels.count; ++i) {
        levels.record.aLevels[i].iEnabled = levels.record.aLevels[i].iEnabled != 0 ? 1 : 0;
    }
    return Accepted(set(handle(), adapter(), &levels.record));
}

std::optional<OverdriveCapabilities> AdlOdnBackend::Capabilities() {
    auto hold = Hold();
    const std::optional<Card> card = ReadCard(kAdlOdnModeCurrent);
    if (!card) {
        return std::nullopt;
    }
    return CapabilitiesOf(*card);
}

std::optional<OverdriveSettings> AdlOdnBackend::Settings(bool defaults) {
    auto hold = Hold();
    const std::optional<Card> card = ReadCard(defaults ? kAdlOdnModeDefault : kAdlOdnModeCurrent);
    if (!card) {
        return std::nullopt;
    }
    const ADLODNPerformanceLevelX2& engine =
        card->engine.record.aLevels[*TopEnabledLevel(card->engine)];
    const ADLODNPerformanceLevelX2& memory =
        card->memory.record.aLevels[*TopEnabledLevel(card->memory)];
    return OverdriveSettings{MHzFromTenKHz(engine.iClock), MHzFromTenKHz(memory.iClock),
                             engine.iVddc, true};
}

bool AdlOdnBackend::Apply(const OverdriveRequest& request) {
    if (!overdrive::HasAnyValue(request)) {
        return false;
    }
    auto hold = Hold();
    const std::optional<Card> card = ReadCard(kAdlOdnModeCurrent);
    if (!card) {
        return false;
    }
    const OverdriveCapabilities caps = CapabilitiesOf(*card);
    if (!overdrive::RequestFits(request.engineMHz, caps.engineMHz) ||
        !overdrive::RequestFits(request.memoryMHz, caps.memoryMHz) ||
        !overdrive::RequestFits(request.voltageMilliVolts, caps.voltageMilliVolts)) {
        return false;
    }
    const bool writeEngine = request.engineMHz || request.voltageMilliVolts;
    if (writeEngine) {
        Levels engine = card->engine;
        ADLODNPerformanceLevelX2& top = engine.record.aLevels[*TopEnabledLevel(engine)];
        if (request.engineMHz) {
            top.iClock = TenKHzFromMHz(*request.engineMHz);
        }
        if (request.voltageMilliVolts) {
            top.iVddc = *request.voltageMilliVolts;
        }
        if (!WriteLevels(entries().ADL2_OverdriveN_SystemClocksX2_Set, engine, kAdlOdnModeManual)) {
            return false;
        }
    }
    if (!request.memoryMHz) {
        return true;
    }
    Levels memory = card->memory;
    memory.record.aLevels[*TopEnabledLevel(memory)].iClock = TenKHzFromMHz(*request.memoryMHz);
    if (WriteLevels(entries().ADL2_OverdriveN_MemoryClocksX2_Set, memory, kAdlOdnModeManual)) {
        return true;
    }
    // The engine levels were chosen together with the refused memory clock.
    if (writeEngine) {
        WriteLevels(entries().ADL2_OverdriveN_SystemClocksX2_Set, card->engine, kAdlOdnModeManual);
    }
    return false;
}

bool AdlOdnBackend::RestoreDefaults() {
    auto hold = Hold();
    const std::optional<Card> current = ReadCard(kAdlOdnModeCurrent);
    const std::optional<Card> defaults = ReadCard(kAdlOdnModeDefault);
    if (!current || !defaults) {
        return false;
    }
    // Written in default mode, as the SDK's sample resets the levels.
    if (!WriteLevels(entries().ADL2_OverdriveN_SystemClocksX2_Set, defaults->engine,
                     kAdlOdnModeDefault)) {
        return false;
    }
    if (WriteLevels(entries().ADL2_OverdriveN_MemoryClocksX2_Set, defaults->memory,
                    kAdlOdnModeDefault)) {
        return true;
    }
    WriteLevels(entries().ADL2_OverdriveN_SystemClocksX2_Set, current->engine, kAdlOdnModeManual);
    return false;
}

std::optional<OverdriveClocks> AdlOdnBackend::CurrentClocks() {
    auto hold = Hold();
    if (entries().ADL2_OverdriveN_PerformanceStatus_Get == nullptr) {
        return std::nullopt;
    }
    ADLODNPerformanceStatus status{};
    if (!Accepted(entries().ADL2_OverdriveN_PerformanceStatus_Get(handle(), adapter(), &status)) ||
        status.iCoreClock < 0 || status.iMemoryClock < 0) {
        return std::nullopt;
    }
    return OverdriveClocks{MHzFromTenKHz(status.iCoreClock), MHzFromTenKHz(status.iMemoryClock)};
}

std::optional<int32_t> AdlOdnBackend::Temperature() {
    auto hold = Hold();
    int temperature = 0;
    if (entries().ADL2_OverdriveN_Temperature_Get == nullptr ||
        !Accepted(entries().ADL2_OverdriveN_Temperature_Get(
            handle(), adapter(), kAdlOdnTemperatureCore, &temperature))) {
        return std::nullopt;
    }
    return temperature;
}

DriverWrite AdlOdnBackend::SetFanAutomatic() {
    auto hold = Hold();
    if (entries().ADL2_OverdriveN_FanControl_Get == nullptr ||
        entries().ADL2_OverdriveN_FanControl_Set == nullptr) {
        return DriverWrite::NotMade;
    }
    ADLODNFanControl fan{};
    if (!Accepted(entries().ADL2_OverdriveN_FanControl_Get(handle(), adapter(), &fan))) {
        return DriverWrite::NotMade;  // nothing known to write back
    }
    fan.iMode = kAdlOdnModeAuto;
    return WriteResult(entries().ADL2_OverdriveN_FanControl_Set(handle(), adapter(), &fan));
}
