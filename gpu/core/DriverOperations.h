// The operations on top of the driver entry table: Overdrive parameters, performance levels,
// clocks and core voltage, and display brightness and contrast. They keep no state between
// calls and fail quietly (false) when an entry they need is empty.
//
// Overdrive results are judged as ADL defines its codes: a negative result is a refusal, zero
// a success and a positive result a success with a note (a warning, a restart to come).
#pragma once

#include <cstdint>
#include <optional>

#include "gpu/core/DriverEntries.h"
#include "gpu/core/OverclockValues.h"
#include "gpu/core/OverdriveBackend.h"

class DriverOperations {
  public:
    explicit DriverOperations(const DriverEntries& entries) : entries_(entries) {}

    // Fills `params` from ATIDL_GetODParameters, then replaces its engine and memory ranges
    // from the clock information when that query succeeds; the engine maximum is raised by
    // kEngineHeadroom. True when the parameters query succeeded with a level count of 1..8.
    [[nodiscard]] bool GetOverdriveParameters(ADLODParameters& params) const;

    // Reads the default (`defaults` true) or current performance levels; on false `levels` is
    // left as it was. For the current levels, level 0 carries the current engine and memory
    // clocks when the clock information can be read, and the result is then true even if the
    // level query failed. In that case nothing else of the record is known: every other word
    // is 0, level 0's Vddc is kUnknownVddc and `*voltageKnown` is false. `voltageKnown`, when
    // given, is true only when the levels, their voltages included, are the driver's answer;
    // a caller that shows or writes back a voltage must ask for it.
    [[nodiscard]] bool GetPerformanceLevels(bool defaults, ADLODPerformanceLevels& levels,
                                            bool* voltageKnown = nullptr) const;

    // Writes `vddc` into level 0 of the default levels, then the clocks through the clock
    // configuration. Values outside the ranges GetOverdriveParameters reports are refused before
    // anything is written. A refused voltage stops there; refused clocks put the card's previous
    // levels back (the defaults when the current ones cannot be read). True only when the
    // driver accepted both the voltage and the clocks.
    [[nodiscard]] bool SetPerformanceClocks(int32_t engineClock, int32_t memoryClock,
                                            int32_t vddc) const;

    // The fan's percent range within 0..100; nothing when the entry is missing, the query is
    // refused or no part of the range lies within 0..100.
    [[nodiscard]] std::optional<overclock::SliderRange> GetFanRange() const;
    // The fan speed in percent; nothing when the entry is missing, the query is refused or the
    // answer is no percentage.
    [[nodiscard]] std::optional<int> GetFanPercent() const;
    // A manual fan speed in percent. The range is read for this write: without one no write is
    // made; a percent outside it is refused before anything is written.
    [[nodiscard]] DriverWrite SetFanPercent(int percent) const;
    // The fan back under the driver's control.
    [[nodiscard]] DriverWrite SetFanToDefault() const;
    // The temperature in thousandths of a degree Celsius as the driver left it in its record
    // (the record reads 0 after a refusal); nothing without the entry.
    [[nodiscard]] std::optional<int32_t> GetTemperature() const;

    // Brightness or contrast of the first connected, mapped display that supports it.
    bool SetDisplayColor(ColorKind kind, int32_t value) const;
    // The five values are written only when the driver's answer is a success.
    [[nodiscard]] bool GetDisplayColor(ColorKind kind, int32_t& current, int32_t& defaultValue,
                                       int32_t& minimum, int32_t& maximum, int32_t& step) const;

    // 200 MHz above the engine maximum the driver reports, in its 10 kHz units.
    static constexpr int32_t kEngineHeadroom = 20000;
    // Level 0's Vddc in a levels record whose voltages the driver did not report: 0 mV, which
    // no card runs at.
    static constexpr int32_t kUnknownVddc = 0;

  private:
    [[nodiscard]] bool HasColorEntries() const;
    // Calls `call(display, type)` for the first connected, mapped display that supports the
    // colour setting, inside one ADL session; false without the entries or such a display.
    template <typename ColorCall>
    bool WithColorDisplay(ColorKind kind, ColorCall call) const;
    // One level query for `levelCount` levels; `levels` changes only when the driver answered.
    [[nodiscard]] bool QueryLevels(int32_t levelCount, bool defaults,
                                   ADLODPerformanceLevels& levels) const;

    const DriverEntries& entries_;
};
