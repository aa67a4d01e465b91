// The ADL2 context and adapter entry points of the simulated display library, and the
// Overdrive version query every generation shares.
#include <type_traits>

#include "gpu/core/DriverEntries.h"
#include "sim/AdlContexts.h"
#include "sim/SimAdapters.h"
#include "sim/SimCall.h"
#include "sim/core/SimPersonality.h"

using sim::SimAdapters;
using sim::SimCall;
using sim::SimStore;

namespace {

// The checks of an adapter call: refusal, an open context.
int CheckContext(const SimCall& call, AdlContextHandle handle) {
    const int check = call.CheckRefusal();
    if (check != sim::kOk) {
        return check;
    }
    return sim::ContextAllocator(handle) != nullptr ? sim::kOk : sim::kNotInitialized;
}

}  // namespace

extern "C" {

int VELMORA_CDECL ADL2_Main_Control_Create(AdlMallocCallback allocate, int connectedOnly,
                                           AdlContextHandle* handle) {
    SimCall call("ADL2_Main_Control_Create", reinterpret_cast<const void*>(allocate), connectedOnly,
                 handle);
    return call.Run(call.CheckRefusal(), [&](SimStore&) {
        if (allocate == nullptr || handle == nullptr) {
            return sim::kNullPointer;
        }
        *handle = sim::OpenContext(allocate);
        if (*handle == nullptr) {
            return sim::kError;
        }
        call.line().Text("-> " + sim::ContextName(*handle));
        return sim::kOk;
    });
}

int VELMORA_CDECL ADL2_Main_Control_Destroy(AdlContextHandle handle) {
    SimCall call("ADL2_Main_Control_Destroy", sim::ContextName(handle));
    return call.Run(call.CheckRefusal(), [&](SimStore&) {
        return sim::CloseContext(handle) ? sim::kOk : sim::kInvalidParameter;
    });
}

int VELMORA_CDECL ADL2_Adapter_NumberOfAdapters_Get(AdlContextHandle handle, int* count) {
    SimCall call("ADL2_Adapter_NumberOfAdapters_Get", sim::ContextName(handle), count);
    return call.Run(CheckContext(call, handle), [&](SimStore& store) {
        if (count == nullptr) {
            return sim::kNullPointer;
        }
        *count = SimAdapters(store).reportedCount();
        return sim::kOk;
    });
}

int VELMORA_CDECL ADL2_Adapter_AdapterInfo_Get(AdlContextHandle handle, AdapterInfo* info,
                                               int size) {
    SimCall call("ADL2_Adapter_AdapterInfo_Get", sim::ContextName(handle), info, size);
    return call.Run(CheckContext(call, handle), [&](SimStore& store) {
        if (info == nullptr) {
            return sim::kNullPointer;
        }
        if (size < static_cast<int>(sizeof(AdapterInfo))) {
            return sim::kInvalidParameter;
        }
        sim::FillAdapterInfo(SimAdapters(store), info, size);
        return sim::kOk;
    });
}

int VELMORA_CDECL ADL2_Adapter_Active_Get(AdlContextHandle handle, int adapterIndex, int* active) {
    SimCall call("ADL2_Adapter_Active_Get", sim::ContextName(handle), adapterIndex, active);
    return call.Run(CheckContext(call, handle), [&](SimStore& store) {
        if (active == nullptr) {
            return sim::kNullPointer;
        }
        const SimAdapters adapters(store);
        const sim::SimAdapter* adapter = adapters.FindAdapter(adapterIndex);
        if (adapter == nullptr) {
            return sim::kInvalidAdapterIndex;
        }
        *active = adapter->active ? 1 : 0;
        return sim::kOk;
    });
}

int VELMORA_CDECL ADL2_Overdrive_Caps(AdlContextHandle handle, int adapterIndex, int* supported,
                                      int* enabled, int* version) {
    SimCall call("ADL2_Overdrive_Caps", sim::ContextName(handle), adapterIndex, supported, enabled,
                 version);
    return call.Run(CheckContext(call, handle), [&](SimStore& store) {
        if (supported == nullptr || enabled == nullptr || version == nullptr) {
            return sim::kNullPointer;
        }
        if (SimAdapters(store).FindAdapter(adapterIndex) == nullptr) {
            return sim::kInvalidAdapterIndex;
        }
        *supported = store.GetInt("Overdrive", "Supported", 1);
        *enabled = store.GetInt("Overdrive", "Enabled", 1);
        *version =
            sim::OverdriveVersion(sim::ParsePersonality(store.GetString("Sim", "Personality")));
        return sim::kOk;
    });
}

}  // extern "C"

// The exports must have exactly the types the program's entry table expects.
static_assert(std::is_same_v<decltype(&ADL2_Main_Control_Create), Adl2MainControlCreateFn>);
static_assert(std::is_same_v<decltype(&ADL2_Main_Control_Destroy), Adl2MainControlDestroyFn>);
static_assert(
    std::is_same_v<decltype(&ADL2_Adapter_NumberOfAdapters_Get), Adl2AdapterNumberOfAdaptersGetFn>);
static_assert(std::is_same_v<decltype(&ADL2_Adapter_AdapterInfo_Get), Adl2AdapterAdapterInfoGetFn>);
static_assert(std::is_same_v<decltype(&ADL2_Adapter_Active_Get), Adl2AdapterActiveGetFn>);
static_assert(std::is_same_v<decltype(&ADL2_Overdrive_Caps), Adl2OverdriveCapsFn>);
