// OverdriveN through the simulated display library (ADL2_OverdriveN_*), the card of [OdN]: an
// engine and a memory list of DPM levels {clock in 10 kHz, voltage in mV, enabled, control
// mask}, the ranges every written level is held to, and the clocks the card runs at under load
// (the highest enabled levels). The temperature is the shared [Thermal] card's, in thousandths
// of a degree.
#include <algorithm>
#include <string>
#include <type_traits>
#include <vector>

#include "gpu/core/DriverEntries.h"
#include "sim/OverdriveCall.h"
#include "sim/SimCard.h"

using sim::OverdriveCall;
using sim::SimCard;
using sim::SimStore;

namespace {

constexpr int kVersion = 7;
constexpr size_t kLevelsMaxWords = sizeof(ADLODNPerformanceLevelsX2) / sizeof(int32_t);

// One of the two level lists: "Engine" or "Memory".
struct LevelList {
    const char* name;
    const char* rangeKey;
    const char* runningKey;
};
constexpr LevelList kEngine{"Engine", "EngineRange", "CoreClock"};
constexpr LevelList kMemory{"Memory", "MemoryRange", "MemoryClock"};

int StoredCount(const SimStore& store, const LevelList& list) {
    return std::clamp(store.GetInt("OdN", std::string(list.name) + "Levels", 0), 0, kMaxOdnLevels);
}

ADLODNPerformanceLevelX2 StoredLevel(const SimStore& store, const LevelList& list, bool defaults,
                                     int index) {
    const std::string suffix = std::to_string(index);
    const std::string defaultKey = std::string(list.name) + "Default" + suffix;
    const std::string currentKey = std::string(list.name) + "Current" + suffix;
    const std::string& key =
        defaults || store.GetString("OdN", currentKey).empty() ? defaultKey : currentKey;
    const std::vector<int> v = store.GetInts("OdN", key, 4);
    return ADLODNPerformanceLevelX2{v[0], v[1], v[2], v[3]};
}

ADLODNParameterRange Range(const SimStore& store, const char* key) {
    const std::vector<int> v = store.GetInts("OdN", key, 4);
    return ADLODNParameterRange{0, v[0], v[1], v[2], v[3]};
}

bool Within(int value, const ADLODNParameterRange& range) {
    return value >= range.iMin && value <= range.iMax;
}

// The levels to store for an accepted write, or nothing when the write must be refused.
std::optional<std::vector<ADLODNPerformanceLevelX2>> Written(const SimStore& store,
                                                             const LevelList& list,
                                                             const ADLODNPerformanceLevelsX2& in) {
    const int count = StoredCount(store, list);
    if (in.iNumberOfPerformanceLevels != count || in.iSize != OdnLevelsSize(count)) {
        return std::nullopt;
    }
    std::vector<ADLODNPerformanceLevelX2> levels;
    if (in.iMode == kAdlOdnModeDefault) {
        for (int i = 0; i < count; ++i) {
            levels.push_back(StoredLevel(store, list, true, i));
        }
        return levels;
    }
    if (in.iMode != kAdlOdnModeManual) {
        return std::nullopt;
    }
    const ADLODNParameterRange clocks = Range(store, list.rangeKey);
    const ADLODNParameterRange vddc = Range(store, "VddcRange");
    bool anyEnabled = false;
    for (int i = 0; i < count; ++i) {
        const ADLODNPerformanceLevelX2& level = in.aLevels[i];
        const ADLODNPerformanceLevelX2 stored = StoredLevel(store, list, false, i);
        // A level may change only what its control mask lets change.
        const bool clockChanged = level.iClock != stored.iClock;
        const bool vddcChanged = level.iVddc != stored.iVddc;
        if (!Within(level.iClock, clocks) || !Within(level.iVddc, vddc) ||
            (level.iEnabled != 0 && level.iEnabled != 1) ||
            (clockChanged && (stored.iControl & kAdlOdnLevelClock) == 0) ||
            (vddcChanged && (stored.iControl & kAdlOdnLevelVddc) == 0)) {
            return std::nullopt;
        }
        anyEnabled = anyEnabled || level.iEnabled == 1;
        levels.push_back(
            ADLODNPerformanceLevelX2{level.iClock, level.iVddc, level.iEnabled, stored.iControl});
    }
    if (!anyEnabled) {
        return std::nullopt;
    }
    return levels;
}

void Store(SimStore& store, const LevelList& list,
           const std::vector<ADLODNPerformanceLevelX2>& levels) {
    int running = 0;
    for (size_t i = 0; i < levels.size(); ++i) {
        const ADLODNPerformanceLevelX2& level = levels[i];
        store.SetInts("OdN", std::string(list.name) + "Current" + std::to_string(i),
                      {level.iClock, level.iVddc, level.iEnabled, level.iControl});
        if (level.iEnabled != 0) {
            running = level.iClock;
        }
    }
    store.SetInt("OdN", list.runningKey, running);
}

int GetLevels(const char* name, const LevelList& list, AdlContextHandle handle, int adapter,
              ADLODNPerformanceLevelsX2* record) {
    OverdriveCall call(name, kVersion, handle, adapter, sim::Words(record, 3));
    int check = call.Check(record != nullptr);
    // The caller names its room; the size word must agree with it.
    if (check == sim::kOk) {
        const int room = record->iNumberOfPerformanceLevels;
        if (room < 1 || room > kMaxOdnLevels || record->iSize != OdnLevelsSize(room) ||
            (record->iMode != kAdlOdnModeCurrent && record->iMode != kAdlOdnModeDefault)) {
            check = sim::kInvalidParameter;
        }
    }
    return call.Run(check, [&](SimStore& store) {
        const int filled = std::min(record->iNumberOfPerformanceLevels, StoredCount(store, list));
        for (int i = 0; i < filled; ++i) {
            record->aLevels[i] = StoredLevel(store, list, record->iMode == kAdlOdnModeDefault, i);
        }
        record->iNumberOfPerformanceLevels = filled;
        return sim::kOk;
    });
}

int SetLevels(const char* name, const LevelList& list, AdlContextHandle handle, int adapter,
              ADLODNPerformanceLevelsX2* record) {
    OverdriveCall call(name, kVersion, handle, adapter,
                       sim::Words(record, sim::SizedWords(record, 3, kLevelsMaxWords)));
    int check = call.Check(record != nullptr);
    std::optional<std::vector<ADLODNPerformanceLevelX2>> levels;
    if (check == sim::kOk) {
        levels = Written(call.store(), list, *record);
        check = levels ? sim::kOk : sim::kInvalidParameter;
    }
    return call.Run(check, [&](SimStore& store) {
        Store(store, list, *levels);
        return sim::kOk;
    });
}

}  // namespace

extern "C" {

int VELMORA_CDECL ADL2_OverdriveN_CapabilitiesX2_Get(AdlContextHandle handle, int adapter,
                                                     ADLODNCapabilitiesX2* caps) {
    OverdriveCall call("ADL2_OverdriveN_CapabilitiesX2_Get", kVersion, handle, adapter, caps);
    return call.Run(call.Check(caps != nullptr), [&](SimStore& store) {
        *caps = ADLODNCapabilitiesX2{};
        caps->iMaximumNumberOfPerformanceLevels = store.GetInt("OdN", "MaxLevels", 0);
        caps->iFlags = store.GetInt("OdN", "Flags", 0);
        caps->sEngineClockRange = Range(store, "EngineRange");
        caps->sMemoryClockRange = Range(store, "MemoryRange");
        caps->svddcRange = Range(store, "VddcRange");
        caps->fanSpeed = Range(store, "FanSpeedRange");
        return sim::kOk;
    });
}

int VELMORA_CDECL ADL2_OverdriveN_SystemClocksX2_Get(AdlContextHandle handle, int adapter,
                                                     ADLODNPerformanceLevelsX2* levels) {
    return GetLevels("ADL2_OverdriveN_SystemClocksX2_Get", kEngine, handle, adapter, levels);
}

int VELMORA_CDECL ADL2_OverdriveN_SystemClocksX2_Set(AdlContextHandle handle, int adapter,
                                                     ADLODNPerformanceLevelsX2* levels) {
    return SetLevels("ADL2_OverdriveN_SystemClocksX2_Set", kEngine, handle, adapter, levels);
}

int VELMORA_CDECL ADL2_OverdriveN_MemoryClocksX2_Get(AdlContextHandle handle, int adapter,
                                                     ADLODNPerformanceLevelsX2* levels) {
    return GetLevels("ADL2_OverdriveN_MemoryClocksX2_Get", kMemory, handle, adapter, levels);
}

int VELMORA_CDECL ADL2_OverdriveN_MemoryClocksX2_Set(AdlContextHandle handle, int adapter,
                                                     ADLODNPerformanceLevelsX2* levels) {
    return SetLevels("ADL2_OverdriveN_MemoryClocksX2_Set", kMemory, handle, adapter, levels);
}

int VELMORA_CDECL ADL2_OverdriveN_PerformanceStatus_Get(AdlContextHandle handle, int adapter,
                                                        ADLODNPerformanceStatus* status) {
    OverdriveCall call("ADL2_OverdriveN_PerformanceStatus_Get", kVersion, handle, adapter, status);
    return call.Run(call.Check(status != nullptr), [&](SimStore& store) {
        *status = ADLODNPerformanceStatus{};
        status->iCoreClock = store.GetInt("OdN", "CoreClock", 0);
        status->iMemoryClock = store.GetInt("OdN", "MemoryClock", 0);
        status->iGPUActivityPercent = store.GetInt("OdN", "Activity", 0);
        status->iCurrentBusLanes = 16;
        status->iMaximumBusLanes = 16;
        return sim::kOk;
    });
}

int VELMORA_CDECL ADL2_OverdriveN_Temperature_Get(AdlContextHandle handle, int adapter, int type,
                                                  int* temperature) {
    OverdriveCall call("ADL2_OverdriveN_Temperature_Get", kVersion, handle, adapter, type,
                       temperature);
    int check = call.Check(temperature != nullptr);
    if (check == sim::kOk && type != kAdlOdnTemperatureCore) {
        check = sim::kNotSupported;
    }
    return call.Run(check, [&](SimStore& store) {
        *temperature = SimCard(store).Temperature();
        return sim::kOk;
    });
}

int VELMORA_CDECL ADL2_OverdriveN_FanControl_Get(AdlContextHandle handle, int adapter,
                                                 ADLODNFanControl* fan) {
    OverdriveCall call("ADL2_OverdriveN_FanControl_Get", kVersion, handle, adapter, fan);
    return call.Run(call.Check(fan != nullptr), [&](SimStore& store) {
        const std::vector<int> v = store.GetInts("OdN", "FanControl", 8);
        *fan = ADLODNFanControl{v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7]};
        return sim::kOk;
    });
}

int VELMORA_CDECL ADL2_OverdriveN_FanControl_Set(AdlContextHandle handle, int adapter,
                                                 ADLODNFanControl* fan) {
    OverdriveCall call("ADL2_OverdriveN_FanControl_Set", kVersion, handle, adapter,
                       sim::WholeRecord(fan));
    int check = call.Check(fan != nullptr);
    const ADLODNParameterRange speeds = Range(call.store(), "FanSpeedRange");
    if (check == sim::kOk && fan->iMode != kAdlOdnModeAuto &&
        (fan->iMode != kAdlOdnModeManual || !Within(fan->iTargetFanSpeed, speeds) ||
         !Within(fan->iMinFanLimit, speeds))) {
        check = sim::kInvalidParameter;
    }
    return call.Run(check, [&](SimStore& store) {
        store.SetInts("OdN", "FanControl",
                      {fan->iMode, fan->iFanControlMode, fan->iCurrentFanSpeedMode,
                       fan->iCurrentFanSpeed, fan->iTargetFanSpeed, fan->iTargetTemperature,
                       fan->iMinPerformanceClock, fan->iMinFanLimit});
        if (fan->iMode == kAdlOdnModeAuto) {
            SimCard(store).SetFanAutomatic();
        }
        return sim::kOk;
    });
}

}  // extern "C"

// The exports must have exactly the types the program's entry table expects.
static_assert(
    std::is_same_v<decltype(&ADL2_OverdriveN_CapabilitiesX2_Get), Adl2OdnCapabilitiesX2GetFn>);
static_assert(std::is_same_v<decltype(&ADL2_OverdriveN_SystemClocksX2_Get), Adl2OdnLevelsX2Fn>);
static_assert(std::is_same_v<decltype(&ADL2_OverdriveN_SystemClocksX2_Set), Adl2OdnLevelsX2Fn>);
static_assert(std::is_same_v<decltype(&ADL2_OverdriveN_MemoryClocksX2_Get), Adl2OdnLevelsX2Fn>);
static_assert(std::is_same_v<decltype(&ADL2_OverdriveN_MemoryClocksX2_Set), Adl2OdnLevelsX2Fn>);
static_assert(std::is_same_v<decltype(&ADL2_OverdriveN_PerformanceStatus_Get),
                             Adl2OdnPerformanceStatusGetFn>);
static_assert(std::is_same_v<decltype(&ADL2_OverdriveN_Temperature_Get), Adl2OdnTemperatureGetFn>);
static_assert(std::is_same_v<decltype(&ADL2_OverdriveN_FanControl_Get), Adl2OdnFanControlFn>);
static_assert(std::is_same_v<decltype(&ADL2_OverdriveN_FanControl_Set), Adl2OdnFanControlFn>);
