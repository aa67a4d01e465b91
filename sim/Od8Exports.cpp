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
#include "sim/AdlContexts.h"
#include "sim/CallLine.h"
#include "sim/SimCard.h"
#include "sim/SimErrors.h"
#include "sim/SimStore.h"

using sim::CallLine;
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

CallLine Line(const char* name, AdlContextHandle handle, int adapter) {
    CallLine line(name);
    line.Text(sim::ContextName(handle)).Int(adapter);
    return line;
}

int Check(const SimStore& store, const char* name, AdlContextHandle handle, int adapter,
          bool pointersGiven) {
    const int check = sim::CheckOverdriveCall(store, name, handle, adapter, kVersion);
    if (check != sim::kOk) {
        return check;
    }
    return pointersGiven ? sim::kOk : sim::kNullPointer;
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
    SimStore store;
    CallLine line = Line("ADL2_Overdrive8_Init_Setting_Get", handle, adapter);
    line.Record(record, 1);
    const int check =
        Check(store, "ADL2_Overdrive8_Init_Setting_Get", handle, adapter, record != nullptr);
    if (check != sim::kOk) {
        return line.Finish(check);
    }
    // As many settings as the caller has room for and the driver knows.
    const int filled = std::clamp(std::min(record->count, FeatureCount(store)), 0, kMaxFeatures);
    record->overdrive8Capabilities = store.GetInt("Od8", "Capabilities", 0);
    for (int id = 0; id < filled; ++id) {
        record->od8SettingTable[id] = Init(store, id);
    }
    record->count = filled;
    return line.Succeed(store);
}

int VELMORA_CDECL ADL2_Overdrive8_Init_SettingX2_Get(AdlContextHandle handle, int adapter,
                                                     int* capabilities, int* count,
                                                     ADLOD8SingleInitSetting** list) {
    SimStore store;
    CallLine line = Line("ADL2_Overdrive8_Init_SettingX2_Get", handle, adapter);
    line.Pointer(capabilities).Int(count != nullptr ? *count : 0).Pointer(list);
    const bool given = capabilities != nullptr && count != nullptr && list != nullptr;
    const int check = Check(store, "ADL2_Overdrive8_Init_SettingX2_Get", handle, adapter, given);
    if (check != sim::kOk) {
        return line.Finish(check);
    }
    const int features = FeatureCount(store);
    ADLOD8SingleInitSetting* settings = Allocate<ADLOD8SingleInitSetting>(handle, features);
    if (settings == nullptr) {
        return line.Finish(sim::kError);
    }
    for (int id = 0; id < features; ++id) {
        settings[id] = Init(store, id);
    }
    *capabilities = store.GetInt("Od8", "Capabilities", 0);
    *count = store.GetInt("Od8", "ReportedCount", features);
    *list = settings;
    return line.Succeed(store);
}

int VELMORA_CDECL ADL2_Overdrive8_Current_Setting_Get(AdlContextHandle handle, int adapter,
                                                      ADLOD8CurrentSetting* record) {
    SimStore store;
    CallLine line = Line("ADL2_Overdrive8_Current_Setting_Get", handle, adapter);
    line.Record(record, 1);
    const int check =
        Check(store, "ADL2_Overdrive8_Current_Setting_Get", handle, adapter, record != nullptr);
    if (check != sim::kOk) {
        return line.Finish(check);
    }
    const int filled = std::clamp(std::min(record->count, FeatureCount(store)), 0, kMaxFeatures);
    for (int id = 0; id < filled; ++id) {
        record->Od8SettingTable[id] = Current(store, id);
    }
    record->count = filled;
    return line.Succeed(store);
}

int VELMORA_CDECL ADL2_Overdrive8_Current_SettingX2_Get(AdlContextHandle handle, int adapter,
                                                        int* count, int** list) {
    SimStore store;
    CallLine line = Line("ADL2_Overdrive8_Current_SettingX2_Get", handle, adapter);
    line.Int(count != nullptr ? *count : 0).Pointer(list);
    const bool given = count != nullptr && list != nullptr;
    const int check = Check(store, "ADL2_Overdrive8_Current_SettingX2_Get", handle, adapter, given);
    if (check != sim::kOk) {
        return line.Finish(check);
    }
    const int features = FeatureCount(store);
    int* values = Allocate<int>(handle, features);
    if (values == nullptr) {
        return line.Finish(sim::kError);
    }
    for (int id = 0; id < features; ++id) {
        values[id] = Current(store, id);
    }
    *count = store.GetInt("Od8", "ReportedCount", features);
    *list = values;
    return line.Succeed(store);
}

int VELMORA_CDECL ADL2_Overdrive8_Setting_Set(AdlContextHandle handle, int adapter,
                                              ADLOD8SetSetting* set, ADLOD8CurrentSetting* after) {
    SimStore store;
    CallLine line = Line("ADL2_Overdrive8_Setting_Set", handle, adapter);
    line.Record(set, SetRecordWords(store, set)).Pointer(after);
    int check = Check(store, "ADL2_Overdrive8_Setting_Set", handle, adapter, set != nullptr);
    const int features = FeatureCount(store);
    const int entries =
        set != nullptr ? std::clamp(std::min(set->count, features), 0, kMaxFeatures) : 0;
    // Every requested setting within its range, or nothing changes.
    std::vector<std::pair<int, int>> changes;
    for (int id = 0; check == sim::kOk && id < entries; ++id) {
        const ADLOD8SingleSetSetting& setting = set->od8SettingTable[id];
        if (setting.requested == 0) {
            continue;
        }
        const ADLOD8SingleInitSetting init = Init(store, id);
        const int value = setting.reset != 0 ? init.defaultValue : setting.value;
        if (value < init.minValue || value > init.maxValue) {
            check = sim::kInvalidParameter;
        }
        changes.emplace_back(id, value);
    }
    if (check == sim::kOk && changes.empty()) {
        check = sim::kInvalidParameter;
    }
    if (check != sim::kOk) {
        return line.Finish(check);
    }
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
    return line.Succeed(store);
}

int VELMORA_CDECL ADL2_New_QueryPMLogData_Get(AdlContextHandle handle, int adapter,
                                              ADLPMLogDataOutput* log) {
    SimStore store;
    CallLine line = Line("ADL2_New_QueryPMLogData_Get", handle, adapter);
    line.Record(log, 1);
    int check = Check(store, "ADL2_New_QueryPMLogData_Get", handle, adapter, log != nullptr);
    if (check == sim::kOk && log->size != static_cast<int32_t>(sizeof(ADLPMLogDataOutput))) {
        check = sim::kInvalidParameter;
    }
    if (check != sim::kOk) {
        return line.Finish(check);
    }
    const SimCard card(store);
    *log = ADLPMLogDataOutput{};
    log->size = sizeof(ADLPMLogDataOutput);
    log->sensors[kAdlPmLogGfxClock] = {1, store.GetInt("Od8", "GfxClock", 0)};
    log->sensors[kAdlPmLogMemoryClock] = {1, store.GetInt("Od8", "MemClock", 0)};
    log->sensors[kAdlPmLogTemperatureEdge] = {1, card.Temperature() / 1000};
    log->sensors[kAdlPmLogGfxActivity] = {1, store.GetInt("Od8", "Activity", 0)};
    return line.Succeed(store);
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
