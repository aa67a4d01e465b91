// The ADL2 context and adapter entry points of the simulated display library, and the
// Overdrive version query every generation shares.
#include <type_traits>

#include "gpu/core/DriverEntries.h"
#include "sim/AdlContexts.h"
#include "sim/CallLine.h"
#include "sim/SimAdapters.h"
#include "sim/SimErrors.h"
#include "sim/SimStore.h"
#include "sim/core/SimPersonality.h"

using sim::CallLine;
using sim::SimAdapters;
using sim::SimStore;

namespace {

// The checks of an adapter call: refusal, an open context.
int Check(const SimStore& store, const char* name, AdlContextHandle handle) {
    if (store.IsRefused(name)) {
        return sim::kError;
    }
    return sim::ContextAllocator(handle) != nullptr ? sim::kOk : sim::kNotInitialized;
}

}  // namespace

extern "C" {

int VELMORA_CDECL ADL2_Main_Control_Create(AdlMallocCallback allocate, int connectedOnly,
                                           AdlContextHandle* handle) {
    SimStore store;
    CallLine line("ADL2_Main_Control_Create");
    line.Pointer(reinterpret_cast<const void*>(allocate)).Int(connectedOnly).Pointer(handle);
    if (store.IsRefused("ADL2_Main_Control_Create")) {
        return line.Finish(sim::kError);
    }
    if (allocate == nullptr || handle == nullptr) {
        return line.Finish(sim::kNullPointer);
    }
    *handle = sim::OpenContext(allocate);
    if (*handle == nullptr) {
        return line.Finish(sim::kError);
    }
    line.Text("-> " + sim::ContextName(*handle));
    return line.Succeed(store);
}

int VELMORA_CDECL ADL2_Main_Control_Destroy(AdlContextHandle handle) {
    SimStore store;
    CallLine line("ADL2_Main_Control_Destroy");
    line.Text(sim::ContextName(handle));
    if (store.IsRefused("ADL2_Main_Control_Destroy")) {
        return line.Finish(sim::kError);
    }
    return sim::CloseContext(handle) ? line.Succeed(store) : line.Finish(sim::kInvalidParameter);
}

int VELMORA_CDECL ADL2_Adapter_NumberOfAdapters_Get(AdlContextHandle handle, int* count) {
    SimStore store;
    CallLine line("ADL2_Adapter_NumberOfAdapters_Get");
    line.Text(sim::ContextName(handle)).Pointer(count);
    const int check = Check(store, "ADL2_Adapter_NumberOfAdapters_Get", handle);
    if (check != sim::kOk) {
        return line.Finish(check);
    }
    if (count == nullptr) {
        return line.Finish(sim::kNullPointer);
    }
    *count = SimAdapters(store).reportedCount();
    return line.Succeed(store);
}

int VELMORA_CDECL ADL2_Adapter_AdapterInfo_Get(AdlContextHandle handle, AdapterInfo* info,
                                               int size) {
    SimStore store;
    CallLine line("ADL2_Adapter_AdapterInfo_Get");
    line.Text(sim::ContextName(handle)).Pointer(info).Int(size);
    const int check = Check(store, "ADL2_Adapter_AdapterInfo_Get", handle);
    if (check != sim::kOk) {
        return line.Finish(check);
    }
    if (info == nullptr) {
        return line.Finish(sim::kNullPointer);
    }
    if (size < static_cast<int>(sizeof(AdapterInfo))) {
        return line.Finish(sim::kInvalidParameter);
    }
    sim::FillAdapterInfo(SimAdapters(store), info, size);
    return line.Succeed(store);
}

int VELMORA_CDECL ADL2_Adapter_Active_Get(AdlContextHandle handle, int adapterIndex, int* active) {
    SimStore store;
    CallLine line("ADL2_Adapter_Active_Get");
    line.Text(sim::ContextName(handle)).Int(adapterIndex).Pointer(active);
    const int check = Check(store, "ADL2_Adapter_Active_Get", handle);
    if (check != sim::kOk) {
        return line.Finish(check);
    }
    if (active == nullptr) {
        return line.Finish(sim::kNullPointer);
    }
    const SimAdapters adapters(store);
    const sim::SimAdapter* adapter = adapters.FindAdapter(adapterIndex);
    if (adapter == nullptr) {
        return line.Finish(sim::kInvalidAdapterIndex);
    }
    *active = adapter->active ? 1 : 0;
    return line.Succeed(store);
}

int VELMORA_CDECL ADL2_Overdrive_Caps(AdlContextHandle handle, int adapterIndex, int* supported,
                                      int* enabled, int* version) {
    SimStore store;
    CallLine line("ADL2_Overdrive_Caps");
    line.Text(sim::ContextName(handle)).Int(adapterIndex);
    line.Pointer(supported).Pointer(enabled).Pointer(version);
    const int check = Check(store, "ADL2_Overdrive_Caps", handle);
    if (check != sim::kOk) {
        return line.Finish(check);
    }
    if (supported == nullptr || enabled == nullptr || version == nullptr) {
        return line.Finish(sim::kNullPointer);
    }
    if (SimAdapters(store).FindAdapter(adapterIndex) == nullptr) {
        return line.Finish(sim::kInvalidAdapterIndex);
    }
    *supported = store.GetInt("Overdrive", "Supported", 1);
    *enabled = store.GetInt("Overdrive", "Enabled", 1);
    *version = sim::OverdriveVersion(sim::ParsePersonality(store.GetString("Sim", "Personality")));
    return line.Succeed(store);
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
