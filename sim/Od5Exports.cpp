// Overdrive 5 through the simulated display library (ADL2_Overdrive5_*): the same card the
// ATIDL entry points see ([Overdrive], [Fan], [Thermal]). Unlike ATIDL, every write is held to
// the ranges the parameters advertise; an accepted level write is what the card then runs at
// full load, so its top level's clocks become the current clocks.
#include <type_traits>

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

constexpr int kVersion = 5;
constexpr size_t kLevelsMaxWords = sizeof(ADLODPerformanceLevels) / sizeof(int32_t);

bool Within(int value, const sim::SimRange& range) {
    return value >= range.minimum && value <= range.maximum;
}

// The calls that take a sized record: the common checks, then a record of the right size.
int Check(const SimStore& store, const char* name, AdlContextHandle handle, int adapter,
          const void* record, int32_t size, int32_t expectedSize) {
    const int check = sim::CheckOverdriveCall(store, name, handle, adapter, kVersion);
    if (check != sim::kOk) {
        return check;
    }
    if (record == nullptr) {
        return sim::kNullPointer;
    }
    return size == expectedSize ? sim::kOk : sim::kInvalidParameter;
}

CallLine Line(const char* name, AdlContextHandle handle, int adapter) {
    CallLine line(name);
    line.Text(sim::ContextName(handle)).Int(adapter);
    return line;
}

}  // namespace

extern "C" {

int VELMORA_CDECL ADL2_Overdrive5_ODParameters_Get(AdlContextHandle handle, int adapter,
                                                   ADLODParameters* params) {
    SimStore store;
    CallLine line = Line("ADL2_Overdrive5_ODParameters_Get", handle, adapter);
    line.Record(params, sizeof(ADLODParameters) / sizeof(int32_t));
    const int check = Check(store, "ADL2_Overdrive5_ODParameters_Get", handle, adapter, params,
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

int VELMORA_CDECL ADL2_Overdrive5_ODPerformanceLevels_Get(AdlContextHandle handle, int adapter,
                                                          int defaults,
                                                          ADLODPerformanceLevels* levels) {
    SimStore store;
    CallLine line = Line("ADL2_Overdrive5_ODPerformanceLevels_Get", handle, adapter);
    line.Int(defaults).Record(levels, 2);
    const SimCard card(store);
    const int count = card.StoredLevelCount();
    const int32_t size = levels != nullptr ? levels->iSize : 0;
    int check = Check(store, "ADL2_Overdrive5_ODPerformanceLevels_Get", handle, adapter, levels,
                      size, size);
    // The record must have room for every level the card has.
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

int VELMORA_CDECL ADL2_Overdrive5_ODPerformanceLevels_Set(AdlContextHandle handle, int adapter,
                                                          ADLODPerformanceLevels* levels) {
    SimStore store;
    CallLine line = Line("ADL2_Overdrive5_ODPerformanceLevels_Set", handle, adapter);
    line.Record(levels, sim::SizedWords(levels, 2, kLevelsMaxWords));
    SimCard card(store);
    const int count = card.StoredLevelCount();
    const int check = Check(store, "ADL2_Overdrive5_ODPerformanceLevels_Set", handle, adapter,
                            levels, levels ? levels->iSize : 0, PerformanceLevelsSize(count));
    if (check != sim::kOk) {
        return line.Finish(check);
    }
    for (int i = 0; i < count; ++i) {
        const ADLODPerformanceLevel& level = levels->aLevels[i];
        if (!Within(level.iEngineClock, card.EngineRange()) ||
            !Within(level.iMemoryClock, card.MemoryRange()) ||
            !Within(level.iVddc, card.VddcRange())) {
            return line.Finish(sim::kInvalidParameter);
        }
    }
    for (int i = 0; i < count; ++i) {
        const ADLODPerformanceLevel& level = levels->aLevels[i];
        card.SetCurrentLevel(i, {level.iEngineClock, level.iMemoryClock, level.iVddc});
    }
    const ADLODPerformanceLevel& top = levels->aLevels[count - 1];
    card.SetClocks(top.iEngineClock, top.iMemoryClock);
    return line.Succeed(store);
}

int VELMORA_CDECL ADL2_Overdrive5_CurrentActivity_Get(AdlContextHandle handle, int adapter,
                                                      ADLPMActivity* activity) {
    SimStore store;
    CallLine line = Line("ADL2_Overdrive5_CurrentActivity_Get", handle, adapter);
    line.Record(activity, sizeof(ADLPMActivity) / sizeof(int32_t));
    const int check = Check(store, "ADL2_Overdrive5_CurrentActivity_Get", handle, adapter, activity,
                            activity ? activity->iSize : 0, sizeof(ADLPMActivity));
    if (check != sim::kOk) {
        return line.Finish(check);
    }
    const SimCard card(store);
    const int top = card.StoredLevelCount() - 1;
    *activity = ADLPMActivity{};
    activity->iSize = sizeof(ADLPMActivity);
    activity->iEngineClock = card.EngineClock();
    activity->iMemoryClock = card.MemoryClock();
    activity->iVddc = card.Level(false, top)[2];
    activity->iActivityPercent = store.GetInt("Overdrive", "Activity", 40);
    activity->iCurrentPerformanceLevel = top;
    activity->iCurrentBusLanes = 16;
    activity->iMaximumBusLanes = 16;
    return line.Succeed(store);
}

int VELMORA_CDECL ADL2_Overdrive5_Temperature_Get(AdlContextHandle handle, int adapter,
                                                  int controller, ADLTemperature* temperature) {
    SimStore store;
    CallLine line = Line("ADL2_Overdrive5_Temperature_Get", handle, adapter);
    line.Int(controller).Record(temperature, sizeof(ADLTemperature) / sizeof(int32_t));
    int check = Check(store, "ADL2_Overdrive5_Temperature_Get", handle, adapter, temperature,
                      temperature ? temperature->iSize : 0, sizeof(ADLTemperature));
    if (check == sim::kOk && controller != 0) {
        check = sim::kInvalidParameter;
    }
    if (check != sim::kOk) {
        return line.Finish(check);
    }
    temperature->iTemperature = SimCard(store).Temperature();
    return line.Succeed(store);
}

int VELMORA_CDECL ADL2_Overdrive5_FanSpeedInfo_Get(AdlContextHandle handle, int adapter,
                                                   int controller, ADLFanSpeedInfo* info) {
    SimStore store;
    CallLine line = Line("ADL2_Overdrive5_FanSpeedInfo_Get", handle, adapter);
    line.Int(controller).Record(info, sizeof(ADLFanSpeedInfo) / sizeof(int32_t));
    int check = Check(store, "ADL2_Overdrive5_FanSpeedInfo_Get", handle, adapter, info,
                      info ? info->iSize : 0, sizeof(ADLFanSpeedInfo));
    if (check == sim::kOk && controller != 0) {
        check = sim::kInvalidParameter;
    }
    if (check != sim::kOk) {
        return line.Finish(check);
    }
    const std::vector<int> range = SimCard(store).FanRange();
    info->iFlags = 15;  // percent and RPM, both readable and writable
    info->iMinPercent = range[0];
    info->iMaxPercent = range[1];
    info->iMinRPM = range[2];
    info->iMaxRPM = range[3];
    return line.Succeed(store);
}

int VELMORA_CDECL ADL2_Overdrive5_FanSpeed_Get(AdlContextHandle handle, int adapter, int controller,
                                               ADLFanSpeedValue* value) {
    SimStore store;
    CallLine line = Line("ADL2_Overdrive5_FanSpeed_Get", handle, adapter);
    line.Int(controller).Record(value, sizeof(ADLFanSpeedValue) / sizeof(int32_t));
    int check = Check(store, "ADL2_Overdrive5_FanSpeed_Get", handle, adapter, value,
                      value ? value->iSize : 0, sizeof(ADLFanSpeedValue));
    if (check == sim::kOk && (controller != 0 || value->iSpeedType != kFanSpeedTypePercent)) {
        check = sim::kInvalidParameter;
    }
    if (check != sim::kOk) {
        return line.Finish(check);
    }
    value->iFanSpeed = SimCard(store).FanPercent();
    return line.Succeed(store);
}

int VELMORA_CDECL ADL2_Overdrive5_FanSpeed_Set(AdlContextHandle handle, int adapter, int controller,
                                               ADLFanSpeedValue* value) {
    SimStore store;
    CallLine line = Line("ADL2_Overdrive5_FanSpeed_Set", handle, adapter);
    line.Int(controller).Record(value, sizeof(ADLFanSpeedValue) / sizeof(int32_t));
    int check = Check(store, "ADL2_Overdrive5_FanSpeed_Set", handle, adapter, value,
                      value ? value->iSize : 0, sizeof(ADLFanSpeedValue));
    SimCard card(store);
    const std::vector<int> range = card.FanRange();
    if (check == sim::kOk && (controller != 0 || value->iSpeedType != kFanSpeedTypePercent ||
                              value->iFanSpeed < range[0] || value->iFanSpeed > range[1])) {
        check = sim::kInvalidParameter;
    }
    if (check != sim::kOk) {
        return line.Finish(check);
    }
    card.SetFanPercent(value->iFanSpeed);
    return line.Succeed(store);
}

int VELMORA_CDECL ADL2_Overdrive5_FanSpeedToDefault_Set(AdlContextHandle handle, int adapter,
                                                        int controller) {
    SimStore store;
    CallLine line = Line("ADL2_Overdrive5_FanSpeedToDefault_Set", handle, adapter);
    line.Int(controller);
    int check = sim::CheckOverdriveCall(store, "ADL2_Overdrive5_FanSpeedToDefault_Set", handle,
                                        adapter, kVersion);
    if (check == sim::kOk && controller != 0) {
        check = sim::kInvalidParameter;
    }
    if (check != sim::kOk) {
        return line.Finish(check);
    }
    SimCard(store).SetFanAutomatic();
    return line.Succeed(store);
}

}  // extern "C"

// The exports must have exactly the types the program's entry table expects.
static_assert(std::is_same_v<decltype(&ADL2_Overdrive5_ODParameters_Get), Adl2Od5ParametersGetFn>);
static_assert(std::is_same_v<decltype(&ADL2_Overdrive5_ODPerformanceLevels_Get),
                             Adl2Od5PerformanceLevelsGetFn>);
static_assert(std::is_same_v<decltype(&ADL2_Overdrive5_ODPerformanceLevels_Set),
                             Adl2Od5PerformanceLevelsSetFn>);
static_assert(
    std::is_same_v<decltype(&ADL2_Overdrive5_CurrentActivity_Get), Adl2Od5CurrentActivityGetFn>);
static_assert(std::is_same_v<decltype(&ADL2_Overdrive5_Temperature_Get), Adl2Od5TemperatureGetFn>);
static_assert(
    std::is_same_v<decltype(&ADL2_Overdrive5_FanSpeedInfo_Get), Adl2Od5FanSpeedInfoGetFn>);
static_assert(std::is_same_v<decltype(&ADL2_Overdrive5_FanSpeed_Get), Adl2Od5FanSpeedGetFn>);
static_assert(std::is_same_v<decltype(&ADL2_Overdrive5_FanSpeed_Set), Adl2Od5FanSpeedSetFn>);
static_assert(std::is_same_v<decltype(&ADL2_Overdrive5_FanSpeedToDefault_Set),
                             Adl2Od5FanSpeedToDefaultSetFn>);
