// The operations on top of the driver entry table: Overdrive parameters, performance levels,
// clocks and core voltage, and display brightness and contrast. They keep no state between
// calls and fail quietly (false) when an entry they need is empty.
#pragma once

#include <cstdint>

#include "gpu/core/DriverEntries.h"

class DriverOperations {
  public:
    explicit DriverOperations(const DriverEntries& entries) : entries_(entries) {}

    // Fills `params` from ATIDL_GetODParameters, then replaces its engine and memory ranges
    // from the clock information when that query succeeds; the engine maximum is raised by
    // kEngineHeadroom. True when the parameters query succeeded with a level count of 1..8.
    bool GetOverdriveParameters(ADLODParameters& params) const;

    // Reads the default (`defaults` true) or current performance levels. For the current
    // levels, level 0 carries the current engine and memory clocks when the clock information
    // can be read, and the result is then true even if the level query failed.
    bool GetPerformanceLevels(bool defaults, ADLODPerformanceLevels& levels) const;

    // Writes `vddc` into level 0 of the default levels, then the clocks through the clock
    // configuration; true when the driver accepted the clock configuration.
    bool SetPerformanceClocks(int32_t engineClock, int32_t memoryClock, int32_t vddc) const;

    // Brightness or contrast of the first connected, mapped display that supports it.
    bool SetDisplayColor(ColorKind kind, int32_t value) const;
    // The five values are written only when the driver's answer is a success.
    bool GetDisplayColor(ColorKind kind, int32_t& current, int32_t& defaultValue, int32_t& minimum,
                         int32_t& maximum, int32_t& step) const;

    // 200 MHz above the engine maximum the driver reports, in its 10 kHz units.
    static constexpr int32_t kEngineHeadroom = 20000;

  private:
    bool HasColorEntries() const;

    const DriverEntries& entries_;
};
