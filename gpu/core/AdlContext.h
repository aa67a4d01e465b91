// The program's own ADL2 context for the Overdrive calls, and the lock that serialises them.
#pragma once

#include <mutex>

#include "gpu/core/DriverEntries.h"

// Opens a context with ADL2_Main_Control_Create (allocation through AdlAllocate, connected
// adapters only) and destroys it with the object. ADL does not serialise the calls made in one
// context, while the hardware collector's thread and the user-interface timers call at the same
// time: every caller holds lock() for the whole of its read-check-write sequence.
class AdlContext {
  public:
    explicit AdlContext(const DriverEntries& entries);
    ~AdlContext();
    AdlContext(const AdlContext&) = delete;
    AdlContext& operator=(const AdlContext&) = delete;

    bool opened() const { return handle_ != nullptr; }
    AdlContextHandle handle() const { return handle_; }
    const DriverEntries& entries() const { return entries_; }
    std::mutex& lock() { return lock_; }

  private:
    const DriverEntries& entries_;
    AdlContextHandle handle_ = nullptr;
    std::mutex lock_;
};
