// The ADL entry points of the simulated adapter (atiadlxx.dll and its fallback atiadlxy.dll).
// Display lists are handed out through the allocation callback given to
// ADL_Main_Control_Create, as the real library does.
#include <algorithm>
#include <cstring>
#include <type_traits>

#include "gpu/core/DriverEntries.h"
#include "sim/AdlContexts.h"
#include "sim/SimAdapters.h"
#include "sim/SimCall.h"

using sim::SimAdapters;
using sim::SimCall;
using sim::SimStore;

namespace {

// The checks every call after ADL_Main_Control_Create shares: refusal, the legacy context open.
int CheckOpen(const SimCall& call) {
    const int check = call.CheckRefusal();
    if (check != sim::kOk) {
        return check;
    }
    return sim::LegacyContextOpen() ? sim::kOk : sim::kNotInitialized;
}

// The display and the state key of a colour call.
struct ColorTarget {
    const sim::SimDisplay* display = nullptr;
    std::string key;
};

// Finds what a colour call names: kInvalidParameter for no such display or colour type,
// kNotSupported for a colour the display cannot change.
int FindColor(const SimAdapters& adapters, int adapterIndex, int displayIndex, int colorType,
              ColorTarget& target) {
    target.display = adapters.FindDisplay(adapterIndex, displayIndex);
    const std::optional<std::string> key = sim::ColorKey(colorType);
    if (target.display == nullptr || !key) {
        return sim::kInvalidParameter;
    }
    if ((target.display->caps & colorType) == 0) {
        return sim::kNotSupported;
    }
    target.key = *key;
    return sim::kOk;
}

}  // namespace

extern "C" {

int VELMORA_CDECL ADL_Main_Control_Create(AdlMallocCallback allocate, int connectedOnly) {
    SimCall call("ADL_Main_Control_Create", reinterpret_cast<const void*>(allocate), connectedOnly);
    return call.Run(call.CheckRefusal(), [&](SimStore&) {
        if (allocate == nullptr) {
            return sim::kNullPointer;
        }
        sim::OpenLegacyContext(allocate);
        return sim::kOk;
    });
}

int VELMORA_CDECL ADL_Main_Control_Destroy() {
    SimCall call("ADL_Main_Control_Destroy");
    return call.Run(call.CheckRefusal(), [](SimStore&) {
        sim::CloseLegacyContext();
        return sim::kOk;
    });
}

int VELMORA_CDECL ADL_Adapter_NumberOfAdapters_Get(int* count) {
    SimCall call("ADL_Adapter_NumberOfAdapters_Get", count);
    return call.Run(CheckOpen(call), [&](SimStore& store) {
        if (count == nullptr) {
            return sim::kNullPointer;
        }
        *count = SimAdapters(store).reportedCount();
        return sim::kOk;
    });
}

int VELMORA_CDECL ADL_Adapter_AdapterInfo_Get(AdapterInfo* info, int size) {
    SimCall call("ADL_Adapter_AdapterInfo_Get", info, size);
    return call.Run(CheckOpen(call), [&](SimStore& store) {
        if (info == nullptr) {
            return sim::kNullPointer;
        }
        if (size < static_cast<int>(sizeof(AdapterInfo))) {
            return sim::kInvalidParameter;
        }
        FillAdapterInfo(SimAdapters(store), info, size);
        return sim::kOk;
    });
}

int VELMORA_CDECL ADL_Display_DisplayInfo_Get(int adapterIndex, int* count, ADLDisplayInfo** info,
                                              int forceDetect) {
    SimCall call("ADL_Display_DisplayInfo_Get", adapterIndex, count, info, forceDetect);
    return call.Run(CheckOpen(call), [&](SimStore& store) {
        if (count == nullptr || info == nullptr) {
            return sim::kNullPointer;
        }
        const SimAdapters adapters(store);
        const sim::SimAdapter* adapter = adapters.FindAdapter(adapterIndex);
        if (adapter == nullptr) {
            return sim::kInvalidAdapterIndex;
        }
        *count = adapter->reportedDisplays;
        *info = nullptr;
        if (adapter->nullBuffer || adapter->displays.empty()) {
            return sim::kOk;
        }
        const size_t bytes = adapter->displays.size() * sizeof(ADLDisplayInfo);
        auto* displays =
            static_cast<ADLDisplayInfo*>(sim::LegacyAllocator()(static_cast<int>(bytes)));
        if (displays == nullptr) {
            return sim::kError;
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
        return sim::kOk;
    });
}

int VELMORA_CDECL ADL_Display_ColorCaps_Get(int adapterIndex, int displayIndex, int* caps,
                                            int* valid) {
    SimCall call("ADL_Display_ColorCaps_Get", adapterIndex, displayIndex, caps, valid);
    return call.Run(CheckOpen(call), [&](SimStore& store) {
        if (caps == nullptr || valid == nullptr) {
            return sim::kNullPointer;
        }
        const SimAdapters adapters(store);
        const sim::SimDisplay* display = adapters.FindDisplay(adapterIndex, displayIndex);
        if (display == nullptr) {
            return sim::kInvalidParameter;
        }
        *caps = display->caps;
        *valid = display->valid;
        return sim::kOk;
    });
}

int VELMORA_CDECL ADL_Display_Color_Get(int adapterIndex, int displayIndex, int colorType,
                                        int* current, int* defaultValue, int* minimum, int* maximum,
                                        int* step) {
    SimCall call("ADL_Display_Color_Get", adapterIndex, displayIndex, colorType, current,
                 defaultValue, minimum, maximum, step);
    return call.Run(CheckOpen(call), [&](SimStore& store) {
        if (!current || !defaultValue || !minimum || !maximum || !step) {
            return sim::kNullPointer;
        }
        const SimAdapters adapters(store);
        ColorTarget color;
        if (const int found = FindColor(adapters, adapterIndex, displayIndex, colorType, color)) {
            return found;
        }
        const std::vector<int> values = store.GetInts(color.display->section, color.key, 5);
        *current = values[0];
        *defaultValue = values[1];
        *minimum = values[2];
        *maximum = values[3];
        *step = values[4];
        return sim::kOk;
    });
}

int VELMORA_CDECL ADL_Display_Color_Set(int adapterIndex, int displayIndex, int colorType,
                                        int value) {
    SimCall call("ADL_Display_Color_Set", adapterIndex, displayIndex, colorType, value);
    return call.Run(CheckOpen(call), [&](SimStore& store) {
        const SimAdapters adapters(store);
        ColorTarget color;
        if (const int found = FindColor(adapters, adapterIndex, displayIndex, colorType, color)) {
            return found;
        }
        std::vector<int> values = store.GetInts(color.display->section, color.key, 5);
        if (value < values[2] || value > values[3]) {
            return sim::kInvalidParameter;
        }
        values[0] = value;
        store.SetInts(color.display->section, color.key, values);
        return sim::kOk;
    });
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
