// Overdrive 6 through the simulated display library (ADL2_Overdrive6_*), the card of [Od6]:
// clock ranges as two levels (minimum and maximum) in 10 kHz, the default and custom states,
// and the clocks the card runs at under load (the custom maximum). The fan and the temperature
// are the shared [Fan] and [Thermal] card's.
#include <type_traits>
#include <vector>

#include "gpu/core/DriverEntries.h"
#include "sim/OverdriveCall.h"
#include "sim/SimCard.h"

using sim::OverdriveCall;
using sim::SimCard;
using sim::SimStore;

namespace {

constexpr int kVersion = 6;
constexpr int kStateWords = sizeof(ADLOD6StateInfo) / sizeof(int32_t);

struct Od6State {
    ADLOD6PerformanceLevel minimum;
    ADLOD6PerformanceLevel maximum;
};

ADLOD6ParameterRange Range(const SimStore& store, const char* key) {
    const std::vector<int> values = store.GetInts("Od6", key, 3);
    return ADLOD6ParameterRange{values[0], values[1], values[2]};
}

ADLOD6PerformanceLevel Level(const SimStore& store, const char* key) {
    const std::vector<int> values = store.GetInts("Od6", key, 2);
    return ADLOD6PerformanceLevel{values[0], values[1]};
}

Od6State State(const SimStore& store, bool defaults) {
    return defaults ? Od6State{Level(store, "DefaultMin"), Level(store, "DefaultMax")}
                    : Od6State{Level(store, "CustomMin"), Level(store, "CustomMax")};
}

// The custom state, and the clocks the card runs at under load with it.
void SetCustom(SimStore& store, const Od6State& state) {
    store.SetInts("Od6", "CustomMin", {state.minimum.iEngineClock, state.minimum.iMemoryClock});
    store.SetInts("Od6", "CustomMax", {state.maximum.iEngineClock, state.maximum.iMemoryClock});
    store.SetInt("Od6", "EngineClock", state.maximum.iEngineClock);
    store.SetInt("Od6", "MemoryClock", state.maximum.iMemoryClock);
}

bool Within(int value, const ADLOD6ParameterRange& range) {
    return value >= range.iMin && value <= range.iMax;
}

bool Acceptable(const SimStore& store, const ADLOD6StateInfo& state) {
    const ADLOD6ParameterRange engine = Range(store, "EngineRange");
    const ADLOD6ParameterRange memory = Range(store, "MemoryRange");
    const ADLOD6PerformanceLevel& low = state.aLevels[0];
    const ADLOD6PerformanceLevel& high = state.aLevels[1];
    return Within(low.iEngineClock, engine) && Within(high.iEngineClock, engine) &&
           Within(low.iMemoryClock, memory) && Within(high.iMemoryClock, memory) &&
           low.iEngineClock <= high.iEngineClock && low.iMemoryClock <= high.iMemoryClock;
}

}  // namespace

extern "C" {

int VELMORA_CDECL ADL2_Overdrive6_Capabilities_Get(AdlContextHandle handle, int adapter,
                                                   ADLOD6Capabilities* caps) {
    OverdriveCall call("ADL2_Overdrive6_Capabilities_Get", kVersion, handle, adapter, caps);
    return call.Run(call.Check(caps != nullptr), [&](SimStore& store) {
        *caps = ADLOD6Capabilities{};
        caps->iCapabilities = store.GetInt("Od6", "Capabilities", 0);
        caps->iSupportedStates = 1;
        caps->iNumberOfPerformanceLevels = store.GetInt("Od6", "Levels", kOd6LevelCount);
        caps->sEngineClockRange = Range(store, "EngineRange");
        caps->sMemoryClockRange = Range(store, "MemoryRange");
        return sim::kOk;
    });
}

int VELMORA_CDECL ADL2_Overdrive6_StateInfo_Get(AdlContextHandle handle, int adapter, int stateType,
                                                ADLOD6StateInfo* state) {
    OverdriveCall call("ADL2_Overdrive6_StateInfo_Get", kVersion, handle, adapter, stateType,
                       sim::Words(state, 3));
    int check = call.Check(state != nullptr);
    // The record has no size word: the caller names the levels it has room for.
    if (check == sim::kOk && state->iNumberOfPerformanceLevels != kOd6LevelCount) {
        check = sim::kInvalidParameter;
    }
    const bool defaults = stateType == kAdlOd6StateDefaultPerformance;
    if (check == sim::kOk && !defaults && stateType != kAdlOd6StateCustomPerformance &&
        stateType != kAdlOd6StateCurrent) {
        check = sim::kInvalidParameter;
    }
    return call.Run(check, [&](SimStore& store) {
        const Od6State od6 = State(store, defaults);
        state->aLevels[0] = od6.minimum;
        state->aLevels[1] = od6.maximum;
        return sim::kOk;
    });
}

int VELMORA_CDECL ADL2_Overdrive6_State_Set(AdlContextHandle handle, int adapter, int stateType,
                                            ADLOD6StateInfo* state) {
    OverdriveCall call("ADL2_Overdrive6_State_Set", kVersion, handle, adapter, stateType,
                       sim::Words(state, kStateWords));
    int check = call.Check(state != nullptr);
    if (check == sim::kOk && (stateType != kAdlOd6SetStatePerformance ||
                              state->iNumberOfPerformanceLevels != kOd6LevelCount ||
                              !Acceptable(call.store(), *state))) {
        check = sim::kInvalidParameter;
    }
    return call.Run(check, [&](SimStore& store) {
        SetCustom(store, Od6State{state->aLevels[0], state->aLevels[1]});
        return sim::kOk;
    });
}

int VELMORA_CDECL ADL2_Overdrive6_State_Reset(AdlContextHandle handle, int adapter, int stateType) {
    OverdriveCall call("ADL2_Overdrive6_State_Reset", kVersion, handle, adapter, stateType);
    int check = call.Check();
    if (check == sim::kOk && stateType != kAdlOd6SetStatePerformance) {
        check = sim::kInvalidParameter;
    }
    return call.Run(check, [](SimStore& store) {
        SetCustom(store, State(store, true));
        return sim::kOk;
    });
}

int VELMORA_CDECL ADL2_Overdrive6_CurrentStatus_Get(AdlContextHandle handle, int adapter,
                                                    ADLOD6CurrentStatus* status) {
    OverdriveCall call("ADL2_Overdrive6_CurrentStatus_Get", kVersion, handle, adapter, status);
    return call.Run(call.Check(status != nullptr), [&](SimStore& store) {
        *status = ADLOD6CurrentStatus{};
        status->iEngineClock = store.GetInt("Od6", "EngineClock", 0);
        status->iMemoryClock = store.GetInt("Od6", "MemoryClock", 0);
        status->iActivityPercent = store.GetInt("Od6", "Activity", 0);
        status->iCurrentBusLanes = 16;
        status->iMaximumBusLanes = 16;
        return sim::kOk;
    });
}

int VELMORA_CDECL ADL2_Overdrive6_Temperature_Get(AdlContextHandle handle, int adapter,
                                                  int* temperature) {
    OverdriveCall call("ADL2_Overdrive6_Temperature_Get", kVersion, handle, adapter, temperature);
    return call.Run(call.Check(temperature != nullptr), [&](SimStore& store) {
        *temperature = SimCard(store).Temperature();
        return sim::kOk;
    });
}

int VELMORA_CDECL ADL2_Overdrive6_ThermalController_Caps(AdlContextHandle handle, int adapter,
                                                         ADLOD6ThermalControllerCaps* caps) {
    OverdriveCall call("ADL2_Overdrive6_ThermalController_Caps", kVersion, handle, adapter, caps);
    return call.Run(call.Check(caps != nullptr), [&](SimStore& store) {
        const std::vector<int> range = SimCard(store).FanRange();
        *caps = ADLOD6ThermalControllerCaps{};
        caps->iCapabilities = store.GetInt("Od6", "ThermalCaps", 0);
        caps->iFanMinPercent = range[0];
        caps->iFanMaxPercent = range[1];
        caps->iFanMinRPM = range[2];
        caps->iFanMaxRPM = range[3];
        return sim::kOk;
    });
}

int VELMORA_CDECL ADL2_Overdrive6_FanSpeed_Get(AdlContextHandle handle, int adapter,
                                               ADLOD6FanSpeedInfo* info) {
    OverdriveCall call("ADL2_Overdrive6_FanSpeed_Get", kVersion, handle, adapter, info);
    return call.Run(call.Check(info != nullptr), [&](SimStore& store) {
        const SimCard card(store);
        const std::vector<int> range = card.FanRange();
        const int percent = card.FanPercent();
        const bool automatic = store.GetInt("Fan", "Automatic", 1) != 0;
        *info = ADLOD6FanSpeedInfo{};
        info->iSpeedType = 0x1 | 0x2 | (automatic ? 0 : 0x100);
        info->iFanSpeedPercent = percent;
        info->iFanSpeedRPM = range[2] + (range[3] - range[2]) * percent / 100;
        return sim::kOk;
    });
}

int VELMORA_CDECL ADL2_Overdrive6_FanSpeed_Set(AdlContextHandle handle, int adapter,
                                               ADLOD6FanSpeedValue* value) {
    OverdriveCall call("ADL2_Overdrive6_FanSpeed_Set", kVersion, handle, adapter,
                       sim::WholeRecord(value));
    int check = call.Check(value != nullptr);
    SimCard card(call.store());
    const std::vector<int> range = card.FanRange();
    if (check == sim::kOk && (value->iSpeedType != kAdlOd6FanSpeedTypePercent ||
                              value->iFanSpeed < range[0] || value->iFanSpeed > range[1])) {
        check = sim::kInvalidParameter;
    }
    return call.Run(check, [&](SimStore&) {
        card.SetFanPercent(value->iFanSpeed);
        return sim::kOk;
    });
}

int VELMORA_CDECL ADL2_Overdrive6_FanSpeed_Reset(AdlContextHandle handle, int adapter) {
    OverdriveCall call("ADL2_Overdrive6_FanSpeed_Reset", kVersion, handle, adapter);
    return call.Run(call.Check(), [](SimStore& store) {
        SimCard(store).SetFanAutomatic();
        return sim::kOk;
    });
}

}  // extern "C"

// The exports must have exactly the types the program's entry table expects.
static_assert(
    std::is_same_v<decltype(&ADL2_Overdrive6_Capabilities_Get), Adl2Od6CapabilitiesGetFn>);
static_assert(std::is_same_v<decltype(&ADL2_Overdrive6_StateInfo_Get), Adl2Od6StateInfoGetFn>);
static_assert(std::is_same_v<decltype(&ADL2_Overdrive6_State_Set), Adl2Od6StateSetFn>);
static_assert(std::is_same_v<decltype(&ADL2_Overdrive6_State_Reset), Adl2Od6StateResetFn>);
static_assert(
    std::is_same_v<decltype(&ADL2_Overdrive6_CurrentStatus_Get), Adl2Od6CurrentStatusGetFn>);
static_assert(std::is_same_v<decltype(&ADL2_Overdrive6_Temperature_Get), Adl2Od6TemperatureGetFn>);
static_assert(std::is_same_v<decltype(&ADL2_Overdrive6_ThermalController_Caps),
                             Adl2Od6ThermalControllerCapsFn>);
static_assert(std::is_same_v<decltype(&ADL2_Overdrive6_FanSpeed_Get), Adl2Od6FanSpeedGetFn>);
static_assert(std::is_same_v<decltype(&ADL2_Overdrive6_FanSpeed_Set), Adl2Od6FanSpeedSetFn>);
static_assert(std::is_same_v<decltype(&ADL2_Overdrive6_FanSpeed_Reset), Adl2Od6FanSpeedResetFn>);
