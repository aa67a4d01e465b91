#include "gpu/core/AdlContext.h"

#include "gpu/core/AdlAllocator.h"
#include "gpu/core/OverdriveUnits.h"

AdlContext::AdlContext(const DriverEntries& entries) : entries_(entries) {
    if (entries_.ADL2_Main_Control_Create == nullptr) {
        return;
    }
    AdlContextHandle handle = nullptr;
    // A success without a handle is no context of ours: ADL2 calls with a null context would
    // fall back to the library's shared legacy one.
    if (overdrive::Accepted(entries_.ADL2_Main_Control_Create(AdlAllocate, 1, &handle))) {
        handle_ = handle;
    }
}

AdlContext::~AdlContext() {
    if (handle_ != nullptr && entries_.ADL2_Main_Control_Destroy != nullptr) {
        entries_.ADL2_Main_Control_Destroy(handle_);
    }
}
