// The ATIDL entry points of the simulated adapter (atipdlxx.dll). Each call is logged with the
// words of the records as the caller passed them; a refused call changes nothing.
#include <algorithm>
#include <string>
#include <string_view>
#include <type_traits>

#include "gpu/core/DriverEntries.h"
#include "sim/CallLine.h"
#include "sim/SimCard.h"
#include "sim/SimErrors.h"
#include "sim/SimStore.h"
#include "sim/core/SimPersonality.h"

using sim::CallLine;
using sim::SimCard;
using sim::SimStore;

namespace {

constexpr size_t Words(size_t bytes) {
    return bytes / sizeof(int32_t);
}

// Whether the card answers the library's Overdrive calls (all but Avivo and rotation): a card
// of a later generation does not.
bool AnswersOverdrive(const SimStore& store) {
    return sim::AnswersAtidlOverdrive(sim::ParsePersonality(store.GetString("Sim", "Personality")));
}

// The common checks of an ATIDL call: refusal, a card of another generation, a null record,
// adapter 0, the record's size.
int Check(const SimStore& store, const char* name, int adapter, const void* record, int32_t size,
          int32_t expectedSize) {
    if (store.IsRefused(name)) {
        return sim::kError;
    }
    if (std::string_view(name) != "ATIDL_GetAvivoSettings" && !AnswersOverdrive(store)) {
        return sim::kNotSupported;
    }
    if (record == nullptr) {
        return sim::kNullPointer;
    }
    if (adapter != 0) {
        return sim::kInvalidAdapterIndex;
    }
    return size == expectedSize ? sim::kOk : sim::kInvalidParameter;
}

// [Sim] Refuse may name one Avivo setting ("ATIDL_GetAvivoSettings/7"): the others still answer.
bool IsAvivoSettingRefused(const SimStore& store, int setting) {
    return store.IsRefused("ATIDL_GetAvivoSettings/" + std::to_string(setting));
}

constexpr size_t kLevelsMaxWords = Words(sizeof(ADLODPerformanceLevels));

// The name under which [Sim] Refuse refuses only the query of the current levels.
constexpr const char* kCurrentLevelsQuery = "ATIDL_GetODPerformanceLevels/Current";

}  // namespace

extern "C" {

int VELMORA_CDECL ATIDL_GetODParameters(int adapter, ADLODParameters* params, int reserved) {
    SimStore store;
    CallLine line("ATIDL_GetODParameters");
    line.Int(adapter).Record(params, Words(sizeof(ADLODParameters))).Int(reserved);
    const int check = Check(store, "ATIDL_GetODParameters", adapter, params,
                            params ? params->iSize : 0, sizeof(ADLODParameters));
    if (check != sim::kOk) {
        return line.Finish(check);
    }
    const SimCard card(store);
    params->iNumberOfPerformanceLevels = card.ReportedLevelCount();
    params->iActivityReportingSupported = store.GetInt("Overdrive", "ActivityReporting", 1);
    params->iDiscretePerformanceLevels = store.GetInt("Overdrive", "DiscreteLevels", 1);
    params->iReserved = 0;
    const auto put = [](ADLODParameterRange& range, const sim::SimRange& from) {
        range = ADLODParameterRange{from.minimum, from.maximum, from.step};
    };
    put(params->sEngineClock, card.EngineRange());
    put(params->sMemoryClock, card.MemoryRange());
    put(params->sVddc, card.VddcRange());
    return line.Succeed(store);
}

int VELMORA_CDECL ATIDL_GetODPerformanceLevels(int adapter, ADLODPerformanceLevels* levels,
                                               int defaults, int reserved) {
    SimStore store;
    CallLine line("ATIDL_GetODPerformanceLevels");
    line.Int(adapter).Record(levels, 2).Int(defaults).Int(reserved);
    const SimCard card(store);
    const int count = card.StoredLevelCount();
    const int32_t size = levels != nullptr ? levels->iSize : 0;
    // The record must have room for every level the card has.
    int check = Check(store, "ATIDL_GetODPerformanceLevels", adapter, levels, size, size);
    if (check == sim::kOk && defaults == 0 && store.IsRefused(kCurrentLevelsQuery)) {
        check = sim::kError;
    }
    if (check == sim::kOk && size < PerformanceLevelsSize(count)) {
        check = sim::kInvalidParameter;
    }
    if (check != sim::kOk) {
        return line.Finish(check);
    }
    for (int i = 0; i < count; ++i) {
        const std::vector<int> level = card.Level(defaults != 0, i);
        levels->aLevels[i] = ADLODPerformanceLevel{level[0], level[1], level[2]};
    }
    return line.Succeed(store);
}

int VELMORA_CDECL ATIDL_SetODPerformanceLevels(int adapter, ADLODPerformanceLevels* levels,
                                               int reserved) {
    SimStore store;
    CallLine line("ATIDL_SetODPerformanceLevels");
    line.Int(adapter).Record(levels, sim::SizedWords(levels, 2, kLevelsMaxWords)).Int(reserved);
    SimCard card(store);
    const int count = card.StoredLevelCount();
    const int check = Check(store, "ATIDL_SetODPerformanceLevels", adapter, levels,
                            levels ? levels->iSize : 0, PerformanceLevelsSize(count));
    if (check != sim::kOk) {
        return line.Finish(check);
    }
    const sim::SimRange vddc = card.VddcRange();
    for (int i = 0; i < count; ++i) {
        const ADLODPerformanceLevel& level = levels->aLevels[i];
        if (!card.AcceptsClocks(level.iEngineClock, level.iMemoryClock) ||
            level.iVddc < vddc.minimum || level.iVddc > vddc.maximum) {
            return line.Finish(sim::kInvalidParameter);
        }
    }
    for (int i = 0; i < count; ++i) {
        const ADLODPerformanceLevel& level = levels->aLevels[i];
        card.SetCurrentLevel(i, {level.iEngineClock, level.iMemoryClock, level.iVddc});
    }
    card.RecordVddcWrite(levels->aLevels[0].iVddc);
    return line.Succeed(store);
}

int VELMORA_CDECL ATIDL_GetODClockInfo(int adapter, ODClockInfo* info) {
    SimStore store;
    CallLine line("ATIDL_GetODClockInfo");
    line.Int(adapter).Record(info, Words(sizeof(ODClockInfo)));
    const int check = Check(store, "ATIDL_GetODClockInfo", adapter, info, info ? info->iSize : 0,
                            sizeof(ODClockInfo));
    if (check != sim::kOk) {
        return line.Finish(check);
    }
    const SimCard card(store);
    const auto block = [](int current, const sim::SimRange& range) {
        return ODClockBlock{0, current, range.maximum, range.minimum, 0, range.step};
    };
    info->iReserved = 0;
    info->sMemoryClock = block(card.MemoryClock(), card.MemoryRange());
    info->sEngineClock = block(card.EngineClock(), card.EngineRange());
    return line.Succeed(store);
}

int VELMORA_CDECL ATIDL_SetODClockConfig(int adapter, ODClockConfig* config) {
    SimStore store;
    CallLine line("ATIDL_SetODClockConfig");
    line.Int(adapter).Record(config, Words(sizeof(ODClockConfig)));
    const int check = Check(store, "ATIDL_SetODClockConfig", adapter, config,
                            config ? config->iSize : 0, sizeof(ODClockConfig));
    if (check != sim::kOk) {
        return line.Finish(check);
    }
    SimCard card(store);
    if (!card.AcceptsClocks(config->iEngineClock, config->iMemoryClock)) {
        return line.Finish(sim::kInvalidParameter);
    }
    card.SetClocks(config->iEngineClock, config->iMemoryClock);
    return line.Succeed(store);
}

int VELMORA_CDECL ATIDL_GetTemperature(int adapter, int controller, ADLTemperature* temperature,
                                       int reserved) {
    SimStore store;
    CallLine line("ATIDL_GetTemperature");
    line.Int(adapter).Int(controller).Record(temperature, Words(sizeof(ADLTemperature)));
    line.Int(reserved);
    const int check = Check(store, "ATIDL_GetTemperature", adapter, temperature,
                            temperature ? temperature->iSize : 0, sizeof(ADLTemperature));
    if (check != sim::kOk) {
        return line.Finish(check);
    }
    temperature->iTemperature = SimCard(store).Temperature();
    return line.Succeed(store);
}

int VELMORA_CDECL ATIDL_GetFanSpeedInfo(int adapter, int controller, ADLFanSpeedInfo* info,
                                        int reserved) {
    SimStore store;
    CallLine line("ATIDL_GetFanSpeedInfo");
    line.Int(adapter).Int(controller).Record(info, Words(sizeof(ADLFanSpeedInfo))).Int(reserved);
    const int check = Check(store, "ATIDL_GetFanSpeedInfo", adapter, info, info ? info->iSize : 0,
                            sizeof(ADLFanSpeedInfo));
    if (check != sim::kOk) {
        return line.Finish(check);
    }
    const std::vector<int> range = SimCard(store).FanRange();
    // Percent and RPM, both readable and writable.
    info->iFlags = 15;
    info->iMinPercent = range[0];
    info->iMaxPercent = range[1];
    info->iMinRPM = range[2];
    info->iMaxRPM = range[3];
    return line.Succeed(store);
}

int VELMORA_CDECL ATIDL_GetFanSpeed(int adapter, int controller, ADLFanSpeedValue* value,
                                    int reserved) {
    SimStore store;
    CallLine line("ATIDL_GetFanSpeed");
    line.Int(adapter).Int(controller).Record(value, Words(sizeof(ADLFanSpeedValue))).Int(reserved);
    const int check = Check(store, "ATIDL_GetFanSpeed", adapter, value, value ? value->iSize : 0,
                            sizeof(ADLFanSpeedValue));
    if (check != sim::kOk) {
        return line.Finish(check);
    }
    const SimCard card(store);
    const std::vector<int> range = card.FanRange();
    const int percent = card.FanPercent();
    if (value->iSpeedType == kFanSpeedTypePercent) {
        value->iFanSpeed = percent;
    } else if (value->iSpeedType == kFanSpeedTypeRpm) {
        value->iFanSpeed = range[2] + (range[3] - range[2]) * percent / 100;
    } else {
        return line.Finish(sim::kInvalidParameter);
    }
    return line.Succeed(store);
}

int VELMORA_CDECL ATIDL_SetFanSpeed(int adapter, int controller, ADLFanSpeedValue* value,
                                    int reserved) {
    SimStore store;
    CallLine line("ATIDL_SetFanSpeed");
    line.Int(adapter).Int(controller).Record(value, Words(sizeof(ADLFanSpeedValue))).Int(reserved);
    const int check = Check(store, "ATIDL_SetFanSpeed", adapter, value, value ? value->iSize : 0,
                            sizeof(ADLFanSpeedValue));
    if (check != sim::kOk) {
        return line.Finish(check);
    }
    SimCard card(store);
    const std::vector<int> range = card.FanRange();
    int percent = value->iFanSpeed;
    if (value->iSpeedType == kFanSpeedTypeRpm && range[3] > range[2]) {
        percent = (value->iFanSpeed - range[2]) * 100 / (range[3] - range[2]);
    } else if (value->iSpeedType != kFanSpeedTypePercent) {
        return line.Finish(sim::kInvalidParameter);
    }
    if (percent < range[0] || percent > range[1]) {
        return line.Finish(sim::kInvalidParameter);
    }
    card.SetFanPercent(percent);
    return line.Succeed(store);
}

int VELMORA_CDECL ATIDL_SetFanSpeedToDefault(int adapter, int controller, int reserved) {
    SimStore store;
    CallLine line("ATIDL_SetFanSpeedToDefault");
    line.Int(adapter).Int(controller).Int(reserved);
    if (store.IsRefused("ATIDL_SetFanSpeedToDefault")) {
        return line.Finish(sim::kError);
    }
    if (!AnswersOverdrive(store)) {
        return line.Finish(sim::kNotSupported);
    }
    if (adapter != 0) {
        return line.Finish(sim::kInvalidAdapterIndex);
    }
    SimCard(store).SetFanAutomatic();
    return line.Succeed(store);
}

int VELMORA_CDECL ATIDL_GetAvivoSettings(int adapter, int setting, AvivoSettingRecord* record) {
    SimStore store;
    CallLine line("ATIDL_GetAvivoSettings");
    line.Int(adapter).Int(setting).Record(record, Words(sizeof(AvivoSettingRecord)));
    const int check = Check(store, "ATIDL_GetAvivoSettings", adapter, record,
                            record ? record->iSize : 0, sizeof(AvivoSettingRecord));
    if (check != sim::kOk) {
        return line.Finish(check);
    }
    if (setting < 5 || setting > 7) {
        return line.Finish(sim::kNotSupported);
    }
    if (IsAvivoSettingRefused(store, setting)) {
        return line.Finish(sim::kError);
    }
    const std::vector<int> words = store.GetInts("Avivo", "Setting" + std::to_string(setting), 4);
    *record = AvivoSettingRecord{};
    record->iSize = sizeof(AvivoSettingRecord);
    record->iReference = words[0];
    record->iMinimum = words[1];
    record->iMaximum = words[2];
    record->iStep = words[3];
    return line.Succeed(store);
}

int VELMORA_CDECL ATIDL_SetRotationAngle(int adapter, int rotation) {
    SimStore store;
    CallLine line("ATIDL_SetRotationAngle");
    line.Int(adapter).Int(rotation);
    if (store.IsRefused("ATIDL_SetRotationAngle")) {
        return line.Finish(sim::kError);
    }
    if (adapter != 0) {
        return line.Finish(sim::kInvalidAdapterIndex);
    }
    if (rotation < 0 || rotation > 3) {
        return line.Finish(sim::kInvalidParameter);
    }
    store.SetInt("Display", "Rotation", rotation);
    return line.Succeed(store);
}

}  // extern "C"

// The exports must have exactly the types the program's entry table expects.
static_assert(std::is_same_v<decltype(&ATIDL_GetODParameters), AtidlGetODParametersFn>);
static_assert(
    std::is_same_v<decltype(&ATIDL_GetODPerformanceLevels), AtidlGetODPerformanceLevelsFn>);
static_assert(
    std::is_same_v<decltype(&ATIDL_SetODPerformanceLevels), AtidlSetODPerformanceLevelsFn>);
static_assert(std::is_same_v<decltype(&ATIDL_GetODClockInfo), AtidlGetODClockInfoFn>);
static_assert(std::is_same_v<decltype(&ATIDL_SetODClockConfig), AtidlSetODClockConfigFn>);
static_assert(std::is_same_v<decltype(&ATIDL_GetTemperature), AtidlGetTemperatureFn>);
static_assert(std::is_same_v<decltype(&ATIDL_GetFanSpeedInfo), AtidlGetFanSpeedInfoFn>);
static_assert(std::is_same_v<decltype(&ATIDL_GetFanSpeed), AtidlGetFanSpeedFn>);
static_assert(std::is_same_v<decltype(&ATIDL_SetFanSpeed), AtidlSetFanSpeedFn>);
static_assert(std::is_same_v<decltype(&ATIDL_SetFanSpeedToDefault), AtidlSetFanSpeedToDefaultFn>);
static_assert(std::is_same_v<decltype(&ATIDL_GetAvivoSettings), AtidlGetAvivoSettingsFn>);
static_assert(std::is_same_v<decltype(&ATIDL_SetRotationAngle), AtidlSetRotationAngleFn>);
