// The process-wide binding to the AMD driver libraries: "atipdlxx.dll" (ATIDL entries) and
// "atiadlxx.dll" or, failing that, "atiadlxy.dll" (the display library's entries), loaded at
// run time, and the card's Overdrive behind one set of operations whatever generation serves it:
// the ATIDL library's own calls, or the display library's Overdrive 5, 6, N or 8.
//
// LoadDriverLibraries runs once on the user-interface thread before any page exists (the load
// itself may have run ahead on a thread of its own); the table and the chosen backend are
// read-only afterwards. The pages, the timers and the hardware collector's thread call the
// operations; the display library's backends serialise their calls themselves.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "gpu/core/AdlAllocator.h"
#include "gpu/core/DriverEntries.h"
#include "gpu/core/DriverRecords.h"
#include "gpu/core/OverdriveBackend.h"
#include "gpu/core/OverdriveSession.h"

// What loading the driver libraries found.
struct DriverLoad {
    bool atidl = false;
    bool adl = false;
    OverdriveGeneration generation = OverdriveGeneration::None;

    // Neither library could be loaded: the program says "Dll加载失败!".
    bool nothingLoaded() const { return !atidl && !adl; }
    // A library is there but the card offers no usable Overdrive (none, or disabled).
    bool overdriveUnavailable() const {
        return !nothingLoaded() && generation == OverdriveGeneration::None;
    }
};

class DriverBinding {
  public:
    DriverBinding() = delete;

    // Starts the load of LoadDriverLibraries on a thread of its own, so that the libraries'
    // start-up runs while the program does its own; the load is taken over by the next
    // LoadDriverLibraries. Nothing happens when a load is already under way or no thread can
    // be made (the load then runs where it is asked for).
    static void StartLoadingAhead();
    // Loads both libraries, fills the entry table from whichever is there and chooses the
    // Overdrive backend; or takes over the load started ahead, waiting for it at most
    // aheadWaitMs (a load that has not finished by then leaves the program without a driver).
    // Reports what it found; it says nothing itself.
    static constexpr unsigned long kAheadWaitMs = 20000;
    static DriverLoad LoadDriverLibraries(unsigned long aheadWaitMs = kAheadWaitMs);
    // Drops the backend, empties the table and frees whichever library is loaded.
    static void ReleaseDriverLibraries();

    // The entry table; the pages call the Avivo and rotation entries directly.
    static const DriverEntries& Entries();
    // The Overdrive of this run, shared with whoever reads the card from another thread.
    static std::shared_ptr<OverdriveSession> Overdrive();
    // Which generation serves the card (None without one).
    static OverdriveGeneration Generation();
    // What the last load found (nothing loaded before the first).
    static const DriverLoad& LastLoad();

    // The backend's operations (see OverdriveBackend); each fails quietly without a backend.
    [[nodiscard]] static std::optional<OverdriveCapabilities> GetOverdriveParameters();
    [[nodiscard]] static std::optional<OverdriveSettings> GetPerformanceLevels(bool defaults);
    [[nodiscard]] static bool SetPerformanceClocks(const OverdriveRequest& request);
    [[nodiscard]] static bool RestoreDefaultClocks();
    [[nodiscard]] static std::optional<OverdriveClocks> GetCurrentClocks();
    // Thousandths of a degree Celsius.
    [[nodiscard]] static std::optional<int32_t> GetTemperature();
    [[nodiscard]] static std::optional<int> GetFanPercent();
    [[nodiscard]] static DriverWrite SetFanPercent(int percent);
    [[nodiscard]] static DriverWrite SetFanToDefault();

    static bool SetDisplayColor(ColorKind kind, int32_t value);
    [[nodiscard]] static bool GetDisplayColor(ColorKind kind, int32_t& current,
                                              int32_t& defaultValue, int32_t& minimum,
                                              int32_t& maximum, int32_t& step);
};
