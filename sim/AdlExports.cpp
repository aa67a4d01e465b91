// The ADL entry points of the simulated adapter (atiadlxx.dll and its fallback atiadlxy.dll).
// Display lists are handed out through the allocation callback given to
// ADL_Main_Control_Create, as the real library does.
#include <algorithm>
#include <cstring>
#include <type_traits>

#include "gpu/core/DriverEntries.h"
#include "sim/AdlContexts.h"
#include "sim/CallLine.h"
#include "sim/SimAdapters.h"
#include "sim/SimErrors.h"
#include "sim/SimStore.h"

using sim::CallLine;
using sim::SimAdapters;
using sim::SimStore;

namespace {

// The checks every call after ADL_Main_Control_Create shares.
int Check(const SimStore& store, const char* name) {
    if (store.IsRefused(name)) {
        return sim::kError;
    }
    return sim::LegacyContextOpen() ? sim::kOk : sim::kNotInitialized;
}

}  // namespace

extern "C" {

int VELMORA_CDECL ADL_Main_Control_Create(AdlMallocCallback allocate, int connectedOnly) {
    SimStore store;
    CallLine line("ADL_Main_Control_Create");
    line.Pointer(reinterpret_cast<const void*>(allocate)).Int(connectedOnly);
    if (store.IsRefused("ADL_Main_Control_Create")) {
        return line.Finish(sim::kError);
    }
    if (allocate == nullptr) {
        return line.Finish(sim::kNullPointer);
    }
    sim::OpenLegacyContext(allocate);
    return line.Succeed(store);
}

int VELMORA_CDECL ADL_Main_Control_Destroy() {
    SimStore store;
    CallLine line("ADL_Main_Control_Destroy");
    if (store.IsRefused("ADL_Main_Control_Destroy")) {
        return line.Finish(sim::kError);
    }
    sim::CloseLegacyContext();
    return line.Succeed(store);
}

int VELMORA_CDECL ADL_Adapter_NumberOfAdapters_Get(int* count) {
    SimStore store;
    CallLine line("ADL_Adapter_NumberOfAdapters_Get");
    line.Pointer(count);
    const int check = Check(store, "ADL_Adapter_NumberOfAdapters_Get");
    if (check != sim::kOk) {
        return line.Finish(check);
    }
    if (count == nullptr) {
        return line.Finish(sim::kNullPointer);
    }
    *count = SimAdapters(store).reportedCount();
    return line.Succeed(store);
}

int VELMORA_CDECL ADL_Adapter_AdapterInfo_Get(AdapterInfo* info, int size) {
    SimStore store;
    CallLine line("ADL_Adapter_AdapterInfo_Get");
    line.Pointer(info).Int(size);
    const int check = Check(store, "ADL_Adapter_AdapterInfo_Get");
    if (check != sim::kOk) {
        return line.Finish(check);
    }
    if (info == nullptr) {
        return line.Finish(sim::kNullPointer);
    }
    if (size < static_cast<int>(sizeof(AdapterInfo))) {
        return line.Finish(sim::kInvalidParameter);
    }
    FillAdapterInfo(SimAdapters(store), info, size);
    return line.Succeed(store);
}

int VELMORA_CDECL ADL_Display_DisplayInfo_Get(int adapterIndex, int* count, ADLDisplayInfo** info,
                                              int forceDetect) {
    SimStore store;
    CallLine line("ADL_Display_DisplayInfo_Get");
    line.Int(adapterIndex).Pointer(count).Pointer(info).Int(forceDetect);
    const int check = Check(store, "ADL_Display_DisplayInfo_Get");
    if (check != sim::kOk) {
        return line.Finish(check);
    }
    if (count == nullptr || info == nullptr) {
        return line.Finish(sim::kNullPointer);
    }
    const SimAdapters adapters(store);
    const sim::SimAdapter* adapter = adapters.FindAdapter(adapterIndex);
    if (adapter == nullptr) {
        return line.Finish(sim::kInvalidAdapterIndex);
    }
    *count = adapter->reportedDisplays;
    *info = nullptr;
    if (adapter->nullBuffer || adapter->displays.empty()) {
        return line.Succeed(store);
    }
    const size_t bytes = adapter->displays.size() * sizeof(ADLDisplayInfo);
    auto* displays = static_cast<ADLDisplayInfo*>(sim::LegacyAllocator()(static_cast<int>(bytes)));
    if (displays == nullptr) {
        return line.Finish(sim::kError);
    }
    for (size_t j = 0; j < adapter->displays.size(); ++j) {
        const sim::SimDisplay& display = adapter->displays[j];
        ADLDisplayInfo& record = displays[j];
        record = ADLDisplayInfo{};
        record.displayID.iDisplayLogicalIndex = display.logicalIndex;
        record.displayID.iDisplayPhysicalIndex = display.logicalIndex;
        record.displayID.iDisplayLogicalAdapterIndex = display.logicalAdapterIndex;
        record.displayID.iDisplayPhysicalAdapterIndex = display.logicalAdapterIndex;
        record.iDisplayControllerIndex = static_cast<int32_t>(j);
        sim::CopyText(record.strDisplayName, "Simulated Monitor " + std::to_string(j + 1));
        sim::CopyText(record.strDisplayManufacturerName, "Velmora Sim");
        record.iDisplayInfoMask = kAdlDisplayConnected | kAdlDisplayMappedToDesktop;
        record.iDisplayInfoValue = (display.connected ? kAdlDisplayConnected : 0) |
                                   (display.mapped ? kAdlDisplayMappedToDesktop : 0);
    }
    *info = displays;
    return line.Succeed(store);
}

int VELMORA_CDECL ADL_Display_ColorCaps_Get(int adapterIndex, int displayIndex, int* caps,
                                            int* valid) {
    SimStore store;
    CallLine line("ADL_Display_ColorCaps_Get");
    line.Int(adapterIndex).Int(displayIndex).Pointer(caps).Pointer(valid);
    const int check = Check(store, "ADL_Display_ColorCaps_Get");
    if (check != sim::kOk) {
        return line.Finish(check);
    }
    if (caps == nullptr || valid == nullptr) {
        return line.Finish(sim::kNullPointer);
    }
    const SimAdapters adapters(store);
    const sim::SimDisplay* display = adapters.FindDisplay(adapterIndex, displayIndex);
    if (display == nullptr) {
        return line.Finish(sim::kInvalidParameter);
    }
    *caps = display->caps;
    *valid = display->valid;
    return line.Succeed(store);
}

int VELMORA_CDECL ADL_Display_Color_Get(int adapterIndex, int displayIndex, int colorType,
                                        int* current, int* defaultValue, int* minimum, int* maximum,
                                        int* step) {
    SimStore store;
    CallLine line("ADL_Display_Color_Get");
    line.Int(adapterIndex).Int(displayIndex).Int(colorType);
    line.Pointer(current).Pointer(defaultValue).Pointer(minimum).Pointer(maximum).Pointer(step);
    const int check = Check(store, "ADL_Display_Color_Get");
    if (check != sim::kOk) {
        return line.Finish(check);
    }
    if (!current || !defaultValue || !minimum || !maximum || !step) {
        return line.Finish(sim::kNullPointer);
    }
    const SimAdapters adapters(store);
    const sim::SimDisplay* display = adapters.FindDisplay(adapterIndex, displayIndex);
    const std::optional<std::string> key = sim::ColorKey(colorType);
    if (display == nullptr || !key) {
        return line.Finish(sim::kInvalidParameter);
    }
    if ((display->caps & colorType) == 0) {
        return line.Finish(sim::kNotSupported);
    }
    const std::vector<int> values = store.GetInts(display->section, *key, 5);
    *current = values[0];
    *defaultValue = values[1];
    *minimum = values[2];
    *maximum = values[3];
    *step = values[4];
    return line.Succeed(store);
}

int VELMORA_CDECL ADL_Display_Color_Set(int adapterIndex, int displayIndex, int colorType,
                                        int value) {
    SimStore store;
    CallLine line("ADL_Display_Color_Set");
    line.Int(adapterIndex).Int(displayIndex).Int(colorType).Int(value);
    const int check = Check(store, "ADL_Display_Color_Set");
    if (check != sim::kOk) {
        return line.Finish(check);
    }
    const SimAdapters adapters(store);
    const sim::SimDisplay* display = adapters.FindDisplay(adapterIndex, displayIndex);
    const std::optional<std::string> key = sim::ColorKey(colorType);
    if (display == nullptr || !key) {
        return line.Finish(sim::kInvalidParameter);
    }
    if ((display->caps & colorType) == 0) {
        return line.Finish(sim::kNotSupported);
    }
    std::vector<int> values = store.GetInts(display->section, *key, 5);
    if (value < values[2] || value > values[3]) {
        return line.Finish(sim::kInvalidParameter);
    }
    values[0] = value;
    store.SetInts(display->section, *key, values);
    return line.Succeed(store);
}

}  // extern "C"

// The exports must have exactly the types the program's entry table expects.
static_assert(std::is_same_v<decltype(&ADL_Main_Control_Create), AdlMainControlCreateFn>);
static_assert(std::is_same_v<decltype(&ADL_Main_Control_Destroy), AdlMainControlDestroyFn>);
static_assert(
    std::is_same_v<decltype(&ADL_Adapter_NumberOfAdapters_Get), AdlAdapterNumberOfAdaptersGetFn>);
static_assert(std::is_same_v<decltype(&ADL_Adapter_AdapterInfo_Get), AdlAdapterAdapterInfoGetFn>);
static_assert(std::is_same_v<decltype(&ADL_Display_DisplayInfo_Get), AdlDisplayDisplayInfoGetFn>);
static_assert(std::is_same_v<decltype(&ADL_Display_ColorCaps_Get), AdlDisplayColorCapsGetFn>);
static_assert(std::is_same_v<decltype(&ADL_Display_Color_Get), AdlDisplayColorGetFn>);
static_assert(std::is_same_v<decltype(&ADL_Display_Color_Set), AdlDisplayColorSetFn>);
