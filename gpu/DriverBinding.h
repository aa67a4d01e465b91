// The process-wide binding to the AMD driver libraries: "atipdlxx.dll" (ATIDL entries) and
// "atiadlxx.dll" or, failing that, "atiadlxy.dll" (ADL entries), loaded at run time.
//
// LoadDriverLibraries runs once on the user-interface thread before any page exists; the
// table is read-only afterwards, so the pages, the timers and the hardware collector thread
// read it without a lock. An empty entry means the library or its export is missing.
#pragma once

#include <cstdint>
#include <optional>

#include "gpu/core/AdlAllocator.h"
#include "gpu/core/DriverEntries.h"
#include "gpu/core/DriverOperations.h"
#include "gpu/core/DriverRecords.h"

class DriverBinding {
  public:
    DriverBinding() = delete;

    // Loads both libraries and fills the entry table. When either library cannot be loaded,
    // shows the one message box "Dll加载失败!" and carries on; without the ATIDL library the
    // whole table stays empty, the ADL entries included.
    static void LoadDriverLibraries();
    // Empties the table and frees whichever library is loaded.
    static void ReleaseDriverLibraries();

    // The entry table; the pages call fan, temperature, Avivo and rotation entries directly.
    static const DriverEntries& Entries();

    // The operations of DriverOperations on the process-wide table; see there for the results.
    [[nodiscard]] static bool GetOverdriveParameters(ADLODParameters& params);
    // With `defaults` false the result may be true with only level 0's clocks known: a caller
    // that shows or writes back level 0's Vddc passes `voltageKnown` and uses the voltage only
    // when it comes back true.
    [[nodiscard]] static bool GetPerformanceLevels(bool defaults, ADLODPerformanceLevels& levels,
                                                   bool* voltageKnown = nullptr);
    // True only when both the voltage and the clocks were accepted; values outside the ranges
    // of GetOverdriveParameters are refused before anything is written.
    [[nodiscard]] static bool SetPerformanceClocks(int32_t engineClock, int32_t memoryClock,
                                                   int32_t vddc);
    [[nodiscard]] static std::optional<overclock::SliderRange> GetFanRange();
    [[nodiscard]] static std::optional<int> GetFanPercent();
    // The range is read for this write: without one nothing is written (NotMade); a percent
    // outside it is refused before the write.
    [[nodiscard]] static DriverWrite SetFanPercent(int percent);
    [[nodiscard]] static DriverWrite SetFanToDefault();
    // Thousandths of a degree Celsius; nothing without the entry.
    [[nodiscard]] static std::optional<int32_t> GetTemperature();
    static bool SetDisplayColor(ColorKind kind, int32_t value);
    [[nodiscard]] static bool GetDisplayColor(ColorKind kind, int32_t& current,
                                              int32_t& defaultValue, int32_t& minimum,
                                              int32_t& maximum, int32_t& step);
};
