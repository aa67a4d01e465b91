// One ADL context for one display-colour operation, and the display search it serves.
#pragma once

#include <optional>

#include "gpu/core/AdlAllocator.h"
#include "gpu/core/DriverEntries.h"

// Counts outside these bounds are treated as a failed query: the largest real systems report a
// few dozen adapters and a handful of displays per adapter.
inline constexpr int kMaxAdlAdapters = 256;
inline constexpr int kMaxAdlDisplaysPerAdapter = 64;

struct AdlDisplayAddress {
    int adapterIndex;
    int displayIndex;
};

// Opens the ADL context on construction (ADL_Main_Control_Create with AdlAllocate, connected
// adapters only) and closes it on destruction when it was opened. The caller has checked that
// every ADL entry the search uses is bound.
class AdlSession {
  public:
    explicit AdlSession(const DriverEntries& entries);
    ~AdlSession();
    AdlSession(const AdlSession&) = delete;
    AdlSession& operator=(const AdlSession&) = delete;

    bool opened() const { return opened_; }

    // The first display, in ADL's enumeration order, that is connected and mapped to the
    // desktop, belongs to its adapter and supports `colorType` in its valid colour caps.
    std::optional<AdlDisplayAddress> FindColorDisplay(int colorType) const;

  private:
    std::optional<int> FindOnAdapter(int adapterIndex, int colorType) const;

    const DriverEntries& entries_;
    bool opened_ = false;
};
