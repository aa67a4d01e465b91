// Overdrive 5 through the display library (ADL2_Overdrive5_*): discrete performance levels of
// engine clock, memory clock and voltage, clocks in 10 kHz. The editable level is the highest
// one (Overdrive 5 levels have no enabled flag); no headroom is added to the driver's ranges.
#pragma once

#include <optional>

#include "gpu/core/AdlOverdriveBackend.h"

class AdlOd5Backend final : public AdlOverdriveBackend {
  public:
    AdlOd5Backend(AdlContext& context, int adapterIndex)
        : AdlOverdriveBackend(context, adapterIndex) {}

    OverdriveGeneration generation() const override { return OverdriveGeneration::Od5; }
    std::optional<OverdriveCapabilities> Capabilities() override;
    std::optional<OverdriveSettings> Settings(bool defaults) override;
    bool Apply(const OverdriveRequest& request) override;  // ODPerformanceLevels_Set
    bool RestoreDefaults() override;
    std::optional<OverdriveClocks> CurrentClocks() override;  // CurrentActivity
    std::optional<int32_t> Temperature() override;
    std::optional<int> FanPercent() override;
    DriverWrite SetFanPercent(int percent) override;
    DriverWrite SetFanAutomatic() override;

  private:
    // The parameters with a level count of 1..kMaxPerformanceLevels.
    std::optional<ADLODParameters> ReadParameters();
    // The adapter's levels; the record holds room for all of them.
    std::optional<ADLODPerformanceLevels> ReadLevels(int32_t levelCount, bool defaults);
    std::optional<OverdriveRange> ReadFanRange();
    bool WriteLevels(int32_t levelCount, ADLODPerformanceLevels levels);
};
