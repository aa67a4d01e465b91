// The card through the driver's own "ATIDL" library and its Overdrive 5 calls, as the program
// has always driven it: performance level 0 is the level it reads and writes, the engine clock
// may go 200 MHz above the maximum the driver reports, the voltage is written into level 0 of
// the default levels and the clocks through the clock configuration (see DriverOperations).
#pragma once

#include "gpu/core/DriverEntries.h"
#include "gpu/core/DriverOperations.h"
#include "gpu/core/OverdriveBackend.h"

class AtidlBackend final : public OverdriveBackend {
  public:
    // The entries must outlive the backend.
    explicit AtidlBackend(const DriverEntries& entries) : operations_(entries) {}

    OverdriveGeneration generation() const override { return OverdriveGeneration::Atidl; }
    // The clock ranges from the Overdrive parameters (level count 1..8), the fan's from its own
    // query: either may be known without the other.
    std::optional<OverdriveCapabilities> Capabilities() override;
    // Level 0 of the default or current levels, in MHz; the current clocks may be known without
    // the voltage.
    std::optional<OverdriveSettings> Settings(bool defaults) override;
    // All three values at once, as the driver takes them.
    bool Apply(const OverdriveRequest& request) override;
    bool RestoreDefaults() override;
    std::optional<OverdriveClocks> CurrentClocks() override;
    // The record as the driver left it: a refusal reads 0.
    std::optional<int32_t> Temperature() override;
    std::optional<int> FanPercent() override;
    DriverWrite SetFanPercent(int percent) override;
    DriverWrite SetFanAutomatic() override;

  private:
    DriverOperations operations_;
};
