// The ATIDL entry points of the simulated adapter (atipdlxx.dll). Each call is logged with the
// words of the records as the caller passed them; a refused call changes nothing.
#include <algorithm>
#include <string>
#include <string_view>
#include <type_traits>

#include "gpu/core/DriverEntries.h"
#include "sim/CallLine.h"
#include "sim/SimCall.h"
#include "sim/SimCard.h"
#include "sim/core/SimPersonality.h"

namespace {

using sim::SimCall;
using sim::SimCard;
using sim::SimStore;

// Whether the card answers the library's Overdrive calls (all but Avivo and rotation): a card
// of a later generation does not.
bool AnswersOverdrive(const SimStore& store) {
    return sim::AnswersAtidlOverdrive(sim::ParsePersonality(store.GetString("Sim", "Personality")));
}

// The common checks of an ATIDL call: refusal, a card of another generation, a null record,
// adapter 0, the record's size.
template <typename Record>
int Check(const SimCall& call, int adapter, const Record* record, int32_t expectedSize) {
    if (call.CheckRefusal() != sim::kOk) {
        return sim::kError;
    }
    if (std::string_view(call.name()) != "ATIDL_GetAvivoSettings" &&
        !AnswersOverdrive(call.store())) {
        return sim::kNotSupported;
    }
    if (record == nullptr) {
        return sim::kNullPointer;
    }
    if (adapter != 0) {
        return sim::kInvalidAdapterIndex;
    }
    return record->iSize == expectedSize ? sim::kOk : sim::kInvalidParameter;
}

// [Sim] Refuse may name one Avivo setting ("ATIDL_GetAvivoSettings/7"): the others still answer.
bool IsAvivoSettingRefused(const SimStore& store, int setting) {
    return store.IsRefused("ATIDL_GetAvivoSettings/" + std::to_string(setting));
}

constexpr size_t kLevelsMaxWords = sizeof(ADLODPerformanceLevels) / sizeof(int32_t);

// The name under which [Sim] Refuse refuses only the query of the current levels.
constexpr const char* kCurrentLevelsQuery = "ATIDL_GetODPerformanceLevels/Current";

}  // namespace

extern "C" {

int VELMORA_CDECL ATIDL_GetODParameters(int adapter, ADLODParameters* params, int reserved) {
    SimCall call("ATIDL_GetODParameters", adapter, sim::WholeRecord(params), reserved);
    return call.Run(Check(call, adapter, params, sizeof(ADLODParameters)), [&](SimStore& store) {
        SimCard(store).FillParameters(*params);
        return sim::kOk;
    });
}

int VELMORA_CDECL ATIDL_GetODPerformanceLevels(int adapter, ADLODPerformanceLevels* levels,
                                               int defaults, int reserved) {
    SimCall call("ATIDL_GetODPerformanceLevels", adapter, sim::Words(levels, 2), defaults,
                 reserved);
    const SimCard card(call.store());
    const int count = card.StoredLevelCount();
    // Any size passes the common checks: the record must have room for every level the card has.
    int check = Check(call, adapter, levels, sim::GivenSize(levels));
    if (check == sim::kOk && defaults == 0 && call.store().IsRefused(kCurrentLevelsQuery)) {
        check = sim::kError;
    }
    if (check == sim::kOk && levels->iSize < PerformanceLevelsSize(count)) {
        check = sim::kInvalidParameter;
    }
    return call.Run(check, [&](SimStore&) {
        for (int i = 0; i < count; ++i) {
            const std::vector<int> level = card.Level(defaults != 0, i);
            levels->aLevels[i] = ADLODPerformanceLevel{level[0], level[1], level[2]};
        }
        return sim::kOk;
    });
}

int VELMORA_CDECL ATIDL_SetODPerformanceLevels(int adapter, ADLODPerformanceLevels* levels,
                                               int reserved) {
    SimCall call("ATIDL_SetODPerformanceLevels", adapter,
                 sim::Words(levels, sim::SizedWords(levels, 2, kLevelsMaxWords)), reserved);
    SimCard card(call.store());
    const int count = card.StoredLevelCount();
    return call.Run(Check(call, adapter, levels, PerformanceLevelsSize(count)), [&](SimStore&) {
        const sim::SimRange vddc = card.VddcRange();
        for (int i = 0; i < count; ++i) {
            const ADLODPerformanceLevel& level = levels->aLevels[i];
            if (!card.AcceptsClocks(level.iEngineClock, level.iMemoryClock) ||
                level.iVddc < vddc.minimum || level.iVddc > vddc.maximum) {
                return sim::kInvalidParameter;
            }
        }
        for (int i = 0; i < count; ++i) {
            const ADLODPerformanceLevel& level = levels->aLevels[i];
            card.SetCurrentLevel(i, {level.iEngineClock, level.iMemoryClock, level.iVddc});
        }
        card.RecordVddcWrite(levels->aLevels[0].iVddc);
        return sim::kOk;
    });
}

int VELMORA_CDECL ATIDL_GetODClockInfo(int adapter, ODClockInfo* info) {
    SimCall call("ATIDL_GetODClockInfo", adapter, sim::WholeRecord(info));
    return call.Run(Check(call, adapter, info, sizeof(ODClockInfo)), [&](SimStore& store) {
        const SimCard card(store);
        const auto block = [](int current, const sim::SimRange& range) {
            return ODClockBlock{0, current, range.maximum, range.minimum, 0, range.step};
        };
        info->iReserved = 0;
        info->sMemoryClock = block(card.MemoryClock(), card.MemoryRange());
        info->sEngineClock = block(card.EngineClock(), card.EngineRange());
        return sim::kOk;
    });
}

int VELMORA_CDECL ATIDL_SetODClockConfig(int adapter, ODClockConfig* config) {
    SimCall call("ATIDL_SetODClockConfig", adapter, sim::WholeRecord(config));
    return call.Run(Check(call, adapter, config, sizeof(ODClockConfig)), [&](SimStore& store) {
        SimCard card(store);
        if (!card.AcceptsClocks(config->iEngineClock, config->iMemoryClock)) {
            return sim::kInvalidParameter;
        }
        card.SetClocks(config->iEngineClock, config->iMemoryClock);
        return sim::kOk;
    });
}

int VELMORA_CDECL ATIDL_GetTemperature(int adapter, int controller, ADLTemperature* temperature,
                                       int reserved) {
    SimCall call("ATIDL_GetTemperature", adapter, controller, sim::WholeRecord(temperature),
                 reserved);
    const int check = Check(call, adapter, temperature, sizeof(ADLTemperature));
    return call.Run(check, [&](SimStore& store) {
        temperature->iTemperature = SimCard(store).Temperature();
        return sim::kOk;
    });
}

int VELMORA_CDECL ATIDL_GetFanSpeedInfo(int adapter, int controller, ADLFanSpeedInfo* info,
                                        int reserved) {
    SimCall call("ATIDL_GetFanSpeedInfo", adapter, controller, sim::WholeRecord(info), reserved);
    return call.Run(Check(call, adapter, info, sizeof(ADLFanSpeedInfo)), [&](SimStore& store) {
        const std::vector<int> range = SimCard(store).FanRange();
        // Percent and RPM, both readable and writable.
        info->iFlags = 15;
        info->iMinPercent = range[0];
        info->iMaxPercent = range[1];
        info->iMinRPM = range[2];
        info->iMaxRPM = range[3];
        return sim::kOk;
    });
}

int VELMORA_CDECL ATIDL_GetFanSpeed(int adapter, int controller, ADLFanSpeedValue* value,
                                    int reserved) {
    SimCall call("ATIDL_GetFanSpeed", adapter, controller, sim::WholeRecord(value), reserved);
    return call.Run(Check(call, adapter, value, sizeof(ADLFanSpeedValue)), [&](SimStore& store) {
        const SimCard card(store);
        const std::vector<int> range = card.FanRange();
        const int percent = card.FanPercent();
        if (value->iSpeedType == kFanSpeedTypePercent) {
            value->iFanSpeed = percent;
        } else if (value->iSpeedType == kFanSpeedTypeRpm) {
            value->iFanSpeed = range[2] + (range[3] - range[2]) * percent / 100;
        } else {
            return sim::kInvalidParameter;
        }
        return sim::kOk;
    });
}

int VELMORA_CDECL ATIDL_SetFanSpeed(int adapter, int controller, ADLFanSpeedValue* value,
                                    int reserved) {
    SimCall call("ATIDL_SetFanSpeed", adapter, controller, sim::WholeRecord(value), reserved);
    return call.Run(Check(call, adapter, value, sizeof(ADLFanSpeedValue)), [&](SimStore& store) {
        SimCard card(store);
        const std::vector<int> range = card.FanRange();
        int percent = value->iFanSpeed;
        if (value->iSpeedType == kFanSpeedTypeRpm && range[3] > range[2]) {
            percent = (value->iFanSpeed - range[2]) * 100 / (range[3] - range[2]);
        } else if (value->iSpeedType != kFanSpeedTypePercent) {
            return sim::kInvalidParameter;
        }
        if (percent < range[0] || percent > range[1]) {
            return sim::kInvalidParameter;
        }
        card.SetFanPercent(percent);
        return sim::kOk;
    });
}

int VELMORA_CDECL ATIDL_SetFanSpeedToDefault(int adapter, int controller, int reserved) {
    SimCall call("ATIDL_SetFanSpeedToDefault", adapter, controller, reserved);
    int check = call.CheckRefusal();
    if (check == sim::kOk && !AnswersOverdrive(call.store())) {
        check = sim::kNotSupported;
    }
    if (check == sim::kOk && adapter != 0) {
        check = sim::kInvalidAdapterIndex;
    }
    return call.Run(check, [](SimStore& store) {
        SimCard(store).SetFanAutomatic();
        return sim::kOk;
    });
}

int VELMORA_CDECL ATIDL_GetAvivoSettings(int adapter, int setting, AvivoSettingRecord* record) {
    SimCall call("ATIDL_GetAvivoSettings", adapter, setting, sim::WholeRecord(record));
    return call.Run(Check(call, adapter, record, sizeof(AvivoSettingRecord)), [&](SimStore& store) {
        if (setting < 5 || setting > 7) {
            return sim::kNotSupported;
        }
        if (IsAvivoSettingRefused(store, setting)) {
            return sim::kError;
        }
        const std::vector<int> words =
            store.GetInts("Avivo", "Setting" + std::to_string(setting), 4);
        *record = AvivoSettingRecord{};
        record->iSize = sizeof(AvivoSettingRecord);
        record->iReference = words[0];
        record->iMinimum = words[1];
        record->iMaximum = words[2];
        record->iStep = words[3];
        return sim::kOk;
    });
}

int VELMORA_CDECL ATIDL_SetRotationAngle(int adapter, int rotation) {
    SimCall call("ATIDL_SetRotationAngle", adapter, rotation);
    int check = call.CheckRefusal();
    if (check == sim::kOk && adapter != 0) {
        check = sim::kInvalidAdapterIndex;
    }
    if (check == sim::kOk && (rotation < 0 || rotation > 3)) {
        check = sim::kInvalidParameter;
    }
    return call.Run(check, [&](SimStore& store) {
        store.SetInt("Display", "Rotation", rotation);
        return sim::kOk;
    });
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
