// Overdrive 5 through the simulated display library (ADL2_Overdrive5_*): the same card the
// ATIDL entry points see ([Overdrive], [Fan], [Thermal]). Unlike ATIDL, every write is held to
// the ranges the parameters advertise; an accepted level write is what the card then runs at
// full load, so its top level's clocks become the current clocks.
#include <type_traits>

#include "gpu/core/DriverEntries.h"
#include "sim/OverdriveCall.h"
#include "sim/SimCard.h"

using sim::OverdriveCall;
using sim::SimCard;
using sim::SimStore;

namespace {

constexpr int kVersion = 5;
constexpr size_t kLevelsMaxWords = sizeof(ADLODPerformanceLevels) / sizeof(int32_t);

bool Within(int value, const sim::SimRange& range) {
    return value >= range.minimum && value <= range.maximum;
}

}  // namespace

extern "C" {

int VELMORA_CDECL ADL2_Overdrive5_ODParameters_Get(AdlContextHandle handle, int adapter,
                                                   ADLODParameters* params) {
    OverdriveCall call("ADL2_Overdrive5_ODParameters_Get", kVersion, handle, adapter,
                       sim::WholeRecord(params));
    return call.Run(call.CheckRecord(params, sizeof(ADLODParameters)), [&](SimStore& store) {
        SimCard(store).FillParameters(*params);
        return sim::kOk;
    });
}

int VELMORA_CDECL ADL2_Overdrive5_ODPerformanceLevels_Get(AdlContextHandle handle, int adapter,
                                                          int defaults,
                                                          ADLODPerformanceLevels* levels) {
    OverdriveCall call("ADL2_Overdrive5_ODPerformanceLevels_Get", kVersion, handle, adapter,
                       defaults, sim::Words(levels, 2));
    const SimCard card(call.store());
    const int count = card.StoredLevelCount();
    // Any size passes the common checks: the record must have room for every level the card has.
    int check = call.CheckRecord(levels, sim::GivenSize(levels));
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

int VELMORA_CDECL ADL2_Overdrive5_ODPerformanceLevels_Set(AdlContextHandle handle, int adapter,
                                                          ADLODPerformanceLevels* levels) {
    OverdriveCall call("ADL2_Overdrive5_ODPerformanceLevels_Set", kVersion, handle, adapter,
                       sim::Words(levels, sim::SizedWords(levels, 2, kLevelsMaxWords)));
    SimCard card(call.store());
    const int count = card.StoredLevelCount();
    return call.Run(call.CheckRecord(levels, PerformanceLevelsSize(count)), [&](SimStore&) {
        for (int i = 0; i < count; ++i) {
            const ADLODPerformanceLevel& level = levels->aLevels[i];
            if (!Within(level.iEngineClock, card.EngineRange()) ||
                !Within(level.iMemoryClock, card.MemoryRange()) ||
                !Within(level.iVddc, card.VddcRange())) {
                return sim::kInvalidParameter;
            }
        }
        for (int i = 0; i < count; ++i) {
            const ADLODPerformanceLevel& level = levels->aLevels[i];
            card.SetCurrentLevel(i, {level.iEngineClock, level.iMemoryClock, level.iVddc});
        }
        const ADLODPerformanceLevel& top = levels->aLevels[count - 1];
        card.SetClocks(top.iEngineClock, top.iMemoryClock);
        return sim::kOk;
    });
}

int VELMORA_CDECL ADL2_Overdrive5_CurrentActivity_Get(AdlContextHandle handle, int adapter,
                                                      ADLPMActivity* activity) {
    OverdriveCall call("ADL2_Overdrive5_CurrentActivity_Get", kVersion, handle, adapter,
                       sim::WholeRecord(activity));
    return call.Run(call.CheckRecord(activity, sizeof(ADLPMActivity)), [&](SimStore& store) {
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
        return sim::kOk;
    });
}

int VELMORA_CDECL ADL2_Overdrive5_Temperature_Get(AdlContextHandle handle, int adapter,
                                                  int controller, ADLTemperature* temperature) {
    OverdriveCall call("ADL2_Overdrive5_Temperature_Get", kVersion, handle, adapter, controller,
                       sim::WholeRecord(temperature));
    int check = call.CheckRecord(temperature, sizeof(ADLTemperature));
    if (check == sim::kOk && controller != 0) {
        check = sim::kInvalidParameter;
    }
    return call.Run(check, [&](SimStore& store) {
        temperature->iTemperature = SimCard(store).Temperature();
        return sim::kOk;
    });
}

int VELMORA_CDECL ADL2_Overdrive5_FanSpeedInfo_Get(AdlContextHandle handle, int adapter,
                                                   int controller, ADLFanSpeedInfo* info) {
    OverdriveCall call("ADL2_Overdrive5_FanSpeedInfo_Get", kVersion, handle, adapter, controller,
                       sim::WholeRecord(info));
    int check = call.CheckRecord(info, sizeof(ADLFanSpeedInfo));
    if (check == sim::kOk && controller != 0) {
        check = sim::kInvalidParameter;
    }
    return call.Run(check, [&](SimStore& store) {
        const std::vector<int> range = SimCard(store).FanRange();
        info->iFlags = 15;  // percent and RPM, both readable and writable
        info->iMinPercent = range[0];
        info->iMaxPercent = range[1];
        info->iMinRPM = range[2];
        info->iMaxRPM = range[3];
        return sim::kOk;
    });
}

int VELMORA_CDECL ADL2_Overdrive5_FanSpeed_Get(AdlContextHandle handle, int adapter, int controller,
                                               ADLFanSpeedValue* value) {
    OverdriveCall call("ADL2_Overdrive5_FanSpeed_Get", kVersion, handle, adapter, controller,
                       sim::WholeRecord(value));
    int check = call.CheckRecord(value, sizeof(ADLFanSpeedValue));
    if (check == sim::kOk && (controller != 0 || value->iSpeedType != kFanSpeedTypePercent)) {
        check = sim::kInvalidParameter;
    }
    return call.Run(check, [&](SimStore& store) {
        value->iFanSpeed = SimCard(store).FanPercent();
        return sim::kOk;
    });
}

int VELMORA_CDECL ADL2_Overdrive5_FanSpeed_Set(AdlContextHandle handle, int adapter, int controller,
                                               ADLFanSpeedValue* value) {
    OverdriveCall call("ADL2_Overdrive5_FanSpeed_Set", kVersion, handle, adapter, controller,
                       sim::WholeRecord(value));
    int check = call.CheckRecord(value, sizeof(ADLFanSpeedValue));
    SimCard card(call.store());
    const std::vector<int> range = card.FanRange();
    if (check == sim::kOk && (controller != 0 || value->iSpeedType != kFanSpeedTypePercent ||
                              value->iFanSpeed < range[0] || value->iFanSpeed > range[1])) {
        check = sim::kInvalidParameter;
    }
    return call.Run(check, [&](SimStore&) {
        card.SetFanPercent(value->iFanSpeed);
        return sim::kOk;
    });
}

int VELMORA_CDECL ADL2_Overdrive5_FanSpeedToDefault_Set(AdlContextHandle handle, int adapter,
                                                        int controller) {
    OverdriveCall call("ADL2_Overdrive5_FanSpeedToDefault_Set", kVersion, handle, adapter,
                       controller);
    int check = call.Check();
    if (check == sim::kOk && controller != 0) {
        check = sim::kInvalidParameter;
    }
    return call.Run(check, [](SimStore& store) {
        SimCard(store).SetFanAutomatic();
        return sim::kOk;
    });
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
