// A stand-in for the display library's ADL2 context calls, for native tests of the Overdrive
// backends: a context that opens with a fixed handle, and a check that every call made in it
// came with that handle and while no other call in it was running.
#pragma once

#include <atomic>

#include "gpu/core/DriverEntries.h"

namespace fakeadl {

inline AdlContextHandle const kHandle = reinterpret_cast<AdlContextHandle>(0x5EED);

struct ContextState {
    int createResult = 0;
    AdlContextHandle createdHandle = kHandle;
    int creates = 0;
    int destroys = 0;
    AdlContextHandle destroyedHandle = nullptr;
    // Calls made with another handle, or while another call in the context was running.
    std::atomic<int> strayCalls{0};
    std::atomic<int> overlaps{0};
    std::atomic<int> running{0};
};

inline ContextState& Context() {
    static ContextState state;
    return state;
}

inline void ResetContext() {
    ContextState& state = Context();
    state.createResult = 0;
    state.createdHandle = kHandle;
    state.creates = 0;
    state.destroys = 0;
    state.destroyedHandle = nullptr;
    state.strayCalls = 0;
    state.overlaps = 0;
    state.running = 0;
}

// A fixture's first member: the context state is fresh before the fixture opens its context.
struct FreshContext {
    FreshContext() { ResetContext(); }
};

// Held by every fake entry for the length of its call.
class CallScope {
  public:
    explicit CallScope(AdlContextHandle handle) {
        if (handle != kHandle) {
            ++Context().strayCalls;
        }
        if (Context().running.fetch_add(1) != 0) {
            ++Context().overlaps;
        }
    }
    ~CallScope() { --Context().running; }
    CallScope(const CallScope&) = delete;
    CallScope& operator=(const CallScope&) = delete;
};

// The table with only the context entries bound.
inline DriverEntries ContextEntries() {
    DriverEntries entries;
    entries.ADL2_Main_Control_Create = [](AdlMallocCallback, int, AdlContextHandle* handle) {
        ++Context().creates;
        *handle = Context().createdHandle;
        return Context().createResult;
    };
    entries.ADL2_Main_Control_Destroy = [](AdlContextHandle handle) {
        ++Context().destroys;
        Context().destroyedHandle = handle;
        return 0;
    };
    return entries;
}

}  // namespace fakeadl
