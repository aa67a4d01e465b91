// Overdrive 6 (ADL2_Overdrive6_*): the clocks are a range of two levels, minimum and maximum,
// in 10 kHz; the editable values are the maximum engine and memory clocks, as far as the
// capability flags allow. Overdrive 6 has no voltage per level: the voltage is not editable.
#pragma once

#include <optional>

#include "gpu/core/AdlOverdriveBackend.h"

class AdlOd6Backend final : public AdlOverdriveBackend {
  public:
    AdlOd6Backend(AdlContext& context, int adapterIndex)
        : AdlOverdriveBackend(context, adapterIndex) {}

    OverdriveGeneration generation() const override { return OverdriveGeneration::Od6; }
    std::optional<OverdriveCapabilities> Capabilities() override;
    std::optional<OverdriveSettings> Settings(bool defaults) override;
    bool Apply(const OverdriveRequest& request) override;  // State_Set
    bool RestoreDefaults() override;
    std::optional<OverdriveClocks> CurrentClocks() override;  // CurrentStatus
    std::optional<int32_t> Temperature() override;
    std::optional<int> FanPercent() override;
    DriverWrite SetFanPercent(int percent) override;
    DriverWrite SetFanAutomatic() override;

  private:
    // The clock capabilities, when the driver describes the two levels Overdrive 6 uses.
    std::optional<OverdriveCapabilities> ReadClockCapabilities();
    // The default or custom state; the record has room for exactly the two levels it names.
    std::optional<ADLOD6StateInfo> ReadState(int stateType);
    std::optional<ADLOD6ThermalControllerCaps> ReadThermalCaps();
    std::optional<OverdriveRange> ReadFanRange();
};
