// Overdrive 8 through the simulated display library (ADL2_Overdrive8_*), the card of [Od8]: a
// table of FeatureCount settings, each Init<id> = min,max,default and Current<id> (the default
// until written), clocks in MHz; and the performance log, whose clocks are in MHz and whose
// edge temperature is in whole degrees. The lists of the X2 queries are allocated through the
// callback of the caller's context, as the real library does.
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

constexpr int kVersion = 8;
// The most settings the simulated driver may claim; more is a hostile count the file sets.
constexpr int kMaxFeatures = 4096;

int FeatureCount(const SimStore& store) {
    return std::clamp(store.GetInt("Od8", "FeatureCount", 0), 0, kMaxFeatures);
}

ADLOD8SingleInitSetting Init(const SimStore& store, int id) {
    const std::vector<int> v = store.GetInts("Od8", "Init" + std::to_string(id), 3);
    return ADLOD8SingleInitSetting{id, v[0], v[1], v[2]};
}

int Current(const SimStore& store, int id) {
    const std::string key = "Current" + std::to_string(id);
    return store.GetString("Od8", key).empty() ? Init(store, id).defaultValue
                                               : store.GetInt("Od8", key, 0);
}

// A list of `count` elements from the context's allocator, or null.
template <typename Element>
Element* Allocate(AdlContextHandle handle, int count) {
    const AdlMallocCallback allocate = sim::ContextAllocator(handle);
    if (allocate == nullptr || count < 1) {
        return nullptr;
    }
    return static_cast<Element*>(allocate(count * static_cast<int>(sizeof(Element))));
}

// The words of a set record as far as the caller's count and the driver's table reach.
size_t SetRecordWords(const SimStore& store, const ADLOD8SetSetting* set) {
    if (set == nullptr) {
        return 0;
    }
    const int entries = std::clamp(std::min(set->count, FeatureCount(store)), 0, kOd8SettingRoom);
    return 1 + 3 * static_cast<size_t>(entries);
}

}  // namespace

extern "C" {

int VELMORA_CDECL ADL2_Overdrive8_Init_Setting_Get(AdlContextHandle handle, int adapter,
                                                   ADLOD8InitSetting* record) {
    OverdriveCall call("ADL2_Overdrive8_Init_Setting_Get", kVersion, handle, adapter,
                       sim::Words(record, 1));
    return call.Run(call.Check(record != nullptr), [&](SimStore& store) {
        // As many settings as the caller has room for and the driver knows.
        const int filled =
            std::clamp(std::min(record->count, FeatureCount(store)), 0, kMaxFeatures);
        record->overdrive8Capabilities = store.GetInt("Od8", "Capabilities", 0);
        for (int id = 0; id < filled; ++id) {
            record->od8SettingTable[id] = Init(store, id);
        }
        record->count = filled;
        return sim::kOk;
    });
}

int VELMORA_CDECL ADL2_Overdrive8_Init_SettingX2_Get(AdlContextHandle handle, int adapter,
                                                     int* capabilities, int* count,
                                                     ADLOD8SingleInitSetting** list) {
    OverdriveCall call("ADL2_Overdrive8_Init_SettingX2_Get", kVersion, handle, adapter,
                       capabilities, count != nullptr ? *count : 0, list);
    const bool given = capabilities != nullptr && count != nullptr && list != nullptr;
    return call.Run(call.Check(given), [&](SimStore& store) {
        const int features = FeatureCount(store);
        ADLOD8SingleInitSetting* settings = Allocate<ADLOD8SingleInitSetting>(handle, features);
        if (settings == nullptr) {
            return sim::kError;
        }
        for (int id = 0; id < features; ++id) {
            settings[id] = Init(store, id);
        }
        *capabilities = store.GetInt("Od8", "Capabilities", 0);
        *count = store.GetInt("Od8", "ReportedCount", features);
        *list = settings;
        return sim::kOk;
    });
}

int VELMORA_CDECL ADL2_Overdrive8_Current_Setting_Get(AdlContextHandle handle, int adapter,
                                                      ADLOD8CurrentSetting* record) {
    OverdriveCall call("ADL2_Overdrive8_Current_Setting_Get", kVersion, handle, adapter,
                       sim::Words(record, 1));
    return call.Run(call.Check(record != nullptr), [&](SimStore& store) {
        const int filled =
            std::clamp(std::min(record->count, FeatureCount(store)), 0, kMaxFeatures);
        for (int id = 0; id < filled; ++id) {
            record->Od8SettingTable[id] = Current(store, id);
        }
        record->count = filled;
        return sim::kOk;
    });
}

int VELMORA_CDECL ADL2_Overdrive8_Current_SettingX2_Get(AdlContextHandle handle, int adapter,
                                                        int* count, int** list) {
    OverdriveCall call("ADL2_Overdrive8_Current_SettingX2_Get", kVersion, handle, adapter,
                       count != nullptr ? *count : 0, list);
    return call.Run(call.Check(count != nullptr && list != nullptr), [&](SimStore& store) {
        const int features = FeatureCount(store);
        int* values = Allocate<int>(handle, features);
        if (values == nullptr) {
            return sim::kError;
        }
        for (int id = 0; id < features; ++id) {
            values[id] = Current(store, id);
        }
        *count = store.GetInt("Od8", "ReportedCount", features);
        *list = values;
        return sim::kOk;
    });
}

int VELMORA_CDECL ADL2_Overdrive8_Setting_Set(AdlContextHandle handle, int adapter,
                                              ADLOD8SetSetting* set, ADLOD8CurrentSetting* after) {
    OverdriveCall call("ADL2_Overdrive8_Setting_Set", kVersion, handle, adapter);
    const SimStore& state = call.store();
    call.line().Record(set, SetRecordWords(state, set)).Pointer(after);
    int check = call.Check(set != nullptr);
    const int features = FeatureCount(state);
    const int entries =
        set != nullptr ? std::clamp(std::min(set->count, features), 0, kMaxFeatures) : 0;
    // Every requested setting within its range, or nothing changes.
    std::vector<std::pair<int, int>> changes;
    for (int id = 0; check == sim::kOk && id < entries; ++id) {
        const ADLOD8SingleSetSetting& setting = set->od8SettingTable[id];
        if (setting.requested == 0) {
            continue;
        }
        const ADLOD8SingleInitSetting init = Init(state, id);
        const int value = setting.reset != 0 ? init.defaultValue : setting.value;
        if (value < init.minValue || value > init.maxValue) {
            check = sim::kInvalidParameter;
        }
        changes.emplace_back(id, value);
    }
    if (check == sim::kOk && changes.empty()) {
        check = sim::kInvalidParameter;
    }
    return call.Run(check, [&](SimStore& store) {
        for (const auto& [id, value] : changes) {
            store.SetInt("Od8", "Current" + std::to_string(id), value);
        }
        // Under load the card runs at its clock maxima.
        store.SetInt("Od8", "GfxClock", Current(store, kOd8GfxClockMax));
        store.SetInt("Od8", "MemClock", Current(store, kOd8MemoryClockMax));
        if (after != nullptr) {
            const int filled = std::clamp(std::min(after->count, features), 0, kMaxFeatures);
            for (int id = 0; id < filled; ++id) {
                after->Od8SettingTable[id] = Current(store, id);
            }
            after->count = filled;
        }
        return sim::kOk;
    });
}

int VELMORA_CDECL ADL2_New_QueryPMLogData_Get(AdlContextHandle handle, int adapter,
                                              ADLPMLogDataOutput* log) {
    OverdriveCall call("ADL2_New_QueryPMLogData_Get", kVersion, handle, adapter,
                       sim::Words(log, 1));
    int check = call.Check(log != nullptr);
    if (check == sim::kOk && log->size != static_cast<int32_t>(sizeof(ADLPMLogDataOutput))) {
        check = sim::kInvalidParameter;
    }
    return call.Run(check, [&](SimStore& store) {
        const SimCard card(store);
        *log = ADLPMLogDataOutput{};
        log->size = sizeof(ADLPMLogDataOutput);
        log->sensors[kAdlPmLogGfxClock] = {1, store.GetInt("Od8", "GfxClock", 0)};
        log->sensors[kAdlPmLogMemoryClock] = {1, store.GetInt("Od8", "MemClock", 0)};
        log->sensors[kAdlPmLogTemperatureEdge] = {1, card.Temperature() / 1000};
        log->sensors[kAdlPmLogGfxActivity] = {1, store.GetInt("Od8", "Activity", 0)};
        return sim::kOk;
    });
}

}  // extern "C"

// The exports must have exactly the types the program's entry table expects.
static_assert(std::is_same_v<decltype(&ADL2_Overdrive8_Init_Setting_Get), Adl2Od8InitSettingGetFn>);
static_assert(
    std::is_same_v<decltype(&ADL2_Overdrive8_Init_SettingX2_Get), Adl2Od8InitSettingX2GetFn>);
static_assert(
    std::is_same_v<decltype(&ADL2_Overdrive8_Current_Setting_Get), Adl2Od8CurrentSettingGetFn>);
static_assert(
    std::is_same_v<decltype(&ADL2_Overdrive8_Current_SettingX2_Get), Adl2Od8CurrentSettingX2GetFn>);
static_assert(std::is_same_v<decltype(&ADL2_Overdrive8_Setting_Set), Adl2Od8SettingSetFn>);
static_assert(std::is_same_v<decltype(&ADL2_New_QueryPMLogData_Get), Adl2PmLogDataGetFn>);
