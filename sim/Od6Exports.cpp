// Overdrive 6 through the simulated display library (ADL2_Overdrive6_*), the card of [Od6]:
// clock ranges as two levels (minimum and maximum) in 10 kHz, the default and custom states,
// and the clocks the card runs at under load (the custom maximum). The fan and the temperature
// are the shared [Fan] and [Thermal] card's.
#include <type_traits>
#include <vector>

#include "gpu/core/DriverEntries.h"
#include "sim/AdlContexts.h"
#include "sim/CallLine.h"
#include "sim/SimCard.h"
#include "sim/SimErrors.h"
#include "sim/SimStore.h"

using sim::CallLine;
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

int Check(const SimStore& store, const char* name, AdlContextHandle handle, int adapter,
          const void* out) {
    const int check = sim::CheckOverdriveCall(store, name, handle, adapter, kVersion);
    if (check != sim::kOk) {
        return check;
    }
    return out != nullptr ? sim::kOk : sim::kNullPointer;
}

CallLine Line(const char* name, AdlContextHandle handle, int adapter) {
    CallLine line(name);
    line.Text(sim::ContextName(handle)).Int(adapter);
    return line;
}

}  // namespace

extern "C" {

int VELMORA_CDECL ADL2_Overdrive6_Capabilities_Get(AdlContextHandle handle, int adapter,
                                                   ADLOD6Capabilities* caps) {
    SimStore store;
    CallLine line = Line("ADL2_Overdrive6_Capabilities_Get", handle, adapter);
    line.Pointer(caps);
    const int check = Check(store, "ADL2_Overdrive6_Capabilities_Get", handle, adapter, caps);
    if (check != sim::kOk) {
        return line.Finish(check);
    }
    *caps = ADLOD6Capabilities{};
    caps->iCapabilities = store.GetInt("Od6", "Capabilities", 0);
    caps->iSupportedStates = 1;
    caps->iNumberOfPerformanceLevels = store.GetInt("Od6", "Levels", kOd6LevelCount);
    caps->sEngineClockRange = Range(store, "EngineRange");
    caps->sMemoryClockRange = Range(store, "MemoryRange");
    return line.Succeed(store);
}

int VELMORA_CDECL ADL2_Overdrive6_StateInfo_Get(AdlContextHandle handle, int adapter, int stateType,
                                                ADLOD6StateInfo* state) {
    SimStore store;
    CallLine line = Line("ADL2_Overdrive6_StateInfo_Get", handle, adapter);
    line.Int(stateType).Record(state, 3);
    int check = Check(store, "ADL2_Overdrive6_StateInfo_Get", handle, adapter, state);
    // The record has no size word: the caller names the levels it has room for.
    if (check == sim::kOk && state->iNumberOfPerformanceLevels != kOd6LevelCount) {
        check = sim::kInvalidParameter;
    }
    const bool defaults = stateType == kAdlOd6StateDefaultPerformance;
    if (check == sim::kOk && !defaults && stateType != kAdlOd6StateCustomPerformance &&
        stateType != kAdlOd6StateCurrent) {
        check = sim::kInvalidParameter;
    }
    if (check != sim::kOk) {
        return line.Finish(check);
    }
    const Od6State od6 = State(store, defaults);
    state->aLevels[0] = od6.minimum;
    state->aLevels[1] = od6.maximum;
    return line.Succeed(store);
}

int VELMORA_CDECL ADL2_Overdrive6_State_Set(AdlContextHandle handle, int adapter, int stateType,
                                            ADLOD6StateInfo* state) {
    SimStore store;
    CallLine line = Line("ADL2_Overdrive6_State_Set", handle, adapter);
    line.Int(stateType).Record(state, kStateWords);
    int check = Check(store, "ADL2_Overdrive6_State_Set", handle, adapter, state);
    if (check == sim::kOk &&
        (stateType != kAdlOd6SetStatePerformance ||
         state->iNumberOfPerformanceLevels != kOd6LevelCount || !Acceptable(store, *state))) {
        check = sim::kInvalidParameter;
    }
    if (check != sim::kOk) {
        return line.Finish(check);
    }
    SetCustom(store, Od6State{state->aLevels[0], state->aLevels[1]});
    return line.Succeed(store);
}

int VELMORA_CDECL ADL2_Overdrive6_State_Reset(AdlContextHandle handle, int adapter, int stateType) {
    SimStore store;
    CallLine line = Line("ADL2_Overdrive6_State_Reset", handle, adapter);
    line.Int(stateType);
    int check =
        sim::CheckOverdriveCall(store, "ADL2_Overdrive6_State_Reset", handle, adapter, kVersion);
    if (check == sim::kOk && stateType != kAdlOd6SetStatePerformance) {
        check = sim::kInvalidParameter;
    }
    if (check != sim::kOk) {
        return line.Finish(check);
    }
    SetCustom(store, State(store, true));
    return line.Succeed(store);
}

int VELMORA_CDECL ADL2_Overdrive6_CurrentStatus_Get(AdlContextHandle handle, int adapter,
                                                    ADLOD6CurrentStatus* status) {
    SimStore store;
    CallLine line = Line("ADL2_Overdrive6_CurrentStatus_Get", handle, adapter);
    line.Pointer(status);
    const int check = Check(store, "ADL2_Overdrive6_CurrentStatus_Get", handle, adapter, status);
    if (check != sim::kOk) {
        return line.Finish(check);
    }
    *status = ADLOD6CurrentStatus{};
    status->iEngineClock = store.GetInt("Od6", "EngineClock", 0);
    status->iMemoryClock = store.GetInt("Od6", "MemoryClock", 0);
    status->iActivityPercent = store.GetInt("Od6", "Activity", 0);
    status->iCurrentBusLanes = 16;
    status->iMaximumBusLanes = 16;
    return line.Succeed(store);
}

int VELMORA_CDECL ADL2_Overdrive6_Temperature_Get(AdlContextHandle handle, int adapter,
                                                  int* temperature) {
    SimStore store;
    CallLine line = Line("ADL2_Overdrive6_Temperature_Get", handle, adapter);
    line.Pointer(temperature);
    const int check = Check(store, "ADL2_Overdrive6_Temperature_Get", handle, adapter, temperature);
    if (check != sim::kOk) {
        return line.Finish(check);
    }
    *temperature = SimCard(store).Temperature();
    return line.Succeed(store);
}

int VELMORA_CDECL ADL2_Overdrive6_ThermalController_Caps(AdlContextHandle handle, int adapter,
                                                         ADLOD6ThermalControllerCaps* caps) {
    SimStore store;
    CallLine line = Line("ADL2_Overdrive6_ThermalController_Caps", handle, adapter);
    line.Pointer(caps);
    const int check = Check(store, "ADL2_Overdrive6_ThermalController_Caps", handle, adapter, caps);
    if (check != sim::kOk) {
        return line.Finish(check);
    }
    const std::vector<int> range = SimCard(store).FanRange();
    *caps = ADLOD6ThermalControllerCaps{};
    caps->iCapabilities = store.GetInt("Od6", "ThermalCaps", 0);
    caps->iFanMinPercent = range[0];
    caps->iFanMaxPercent = range[1];
    caps->iFanMinRPM = range[2];
    caps->iFanMaxRPM = range[3];
    return line.Succeed(store);
}

int VELMORA_CDECL ADL2_Overdrive6_FanSpeed_Get(AdlContextHandle handle, int adapter,
                                               ADLOD6FanSpeedInfo* info) {
    SimStore store;
    CallLine line = Line("ADL2_Overdrive6_FanSpeed_Get", handle, adapter);
    line.Pointer(info);
    const int check = Check(store, "ADL2_Overdrive6_FanSpeed_Get", handle, adapter, info);
    if (check != sim::kOk) {
        return line.Finish(check);
    }
    const SimCard card(store);
    const std::vector<int> range = card.FanRange();
    const int percent = card.FanPercent();
    const bool automatic = store.GetInt("Fan", "Automatic", 1) != 0;
    *info = ADLOD6FanSpeedInfo{};
    info->iSpeedType = 0x1 | 0x2 | (automatic ? 0 : 0x100);
    info->iFanSpeedPercent = percent;
    info->iFanSpeedRPM = range[2] + (range[3] - range[2]) * percent / 100;
    return line.Succeed(store);
}

int VELMORA_CDECL ADL2_Overdrive6_FanSpeed_Set(AdlContextHandle handle, int adapter,
                                               ADLOD6FanSpeedValue* value) {
    SimStore store;
    CallLine line = Line("ADL2_Overdrive6_FanSpeed_Set", handle, adapter);
    line.Record(value, sizeof(ADLOD6FanSpeedValue) / sizeof(int32_t));
    int check = Check(store, "ADL2_Overdrive6_FanSpeed_Set", handle, adapter, value);
    SimCard card(store);
    const std::vector<int> range = card.FanRange();
    if (check == sim::kOk && (value->iSpeedType != kAdlOd6FanSpeedTypePercent ||
                              value->iFanSpeed < range[0] || value->iFanSpeed > range[1])) {
        check = sim::kInvalidParameter;
    }
    if (check != sim::kOk) {
        return line.Finish(check);
    }
    card.SetFanPercent(value->iFanSpeed);
    return line.Succeed(store);
}

int VELMORA_CDECL ADL2_Overdrive6_FanSpeed_Reset(AdlContextHandle handle, int adapter) {
    SimStore store;
    CallLine line = Line("ADL2_Overdrive6_FanSpeed_Reset", handle, adapter);
    const int check =
        sim::CheckOverdriveCall(store, "ADL2_Overdrive6_FanSpeed_Reset", handle, adapter, kVersion);
    if (check != sim::kOk) {
        return line.Finish(check);
    }
    SimCard(store).SetFanAutomatic();
    return line.Succeed(store);
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
