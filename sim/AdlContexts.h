// The simulated display library's contexts: the legacy one of ADL_Main_Control_Create and the
// ADL2 contexts of ADL2_Main_Control_Create, each with the allocation callback it was opened
// with. Guarded by the store's lock: every entry point holds a SimStore while it runs.
#pragma once

#include <string>

#include "gpu/core/DriverEntries.h"
#include "sim/SimStore.h"

namespace sim {

// The legacy context, counted: ADL_Main_Control_Create opens it once more, Destroy once less.
void OpenLegacyContext(AdlMallocCallback allocate);
void CloseLegacyContext();
bool LegacyContextOpen();
AdlMallocCallback LegacyAllocator();

// A new ADL2 context, or null when the simulated library has no room for another.
AdlContextHandle OpenContext(AdlMallocCallback allocate);
// False for a handle that is not an open context.
bool CloseContext(AdlContextHandle handle);
// The allocator of an open context (the legacy one for a null handle while it is open), or
// null for any other handle.
AdlMallocCallback ContextAllocator(AdlContextHandle handle);
// "ctx<n>" for the n-th context opened in this process, "null", or "unknown".
std::string ContextName(AdlContextHandle handle);

// The common checks of an ADL2 Overdrive call, in the order a driver makes them: the [Sim]
// Refuse list, an open context, the card's Overdrive version (ADL_ERR_NOT_SUPPORTED for the
// calls of other generations), an adapter index the card has. 0 when the call may proceed.
int CheckOverdriveCall(const SimStore& store, const char* name, AdlContextHandle handle,
                       int adapterIndex, int version);

}  // namespace sim
