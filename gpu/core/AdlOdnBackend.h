// OverdriveN (version 7, ADL2_OverdriveN_*X2): engine and memory clocks as lists of DPM levels,
// each with a clock, a voltage, an enabled flag and a mask of what may change. The editable
// level is the highest enabled one of each list. Clocks are in 10 kHz and voltages in
// millivolts, the units of the Overdrive 5 and 6 records these records grew out of (the levels
// record's size comment still names them); temperatures are in thousandths of a degree.
// Its fan speeds are documented neither as percent nor as RPM: the fan is automatic only.
#pragma once

#include <optional>

#include "gpu/core/AdlOverdriveBackend.h"

class AdlOdnBackend final : public AdlOverdriveBackend {
  public:
    AdlOdnBackend(AdlContext& context, int adapterIndex)
        : AdlOverdriveBackend(context, adapterIndex) {}

    OverdriveGeneration generation() const override { return OverdriveGeneration::OdN; }
    std::optional<OverdriveCapabilities> Capabilities() override;
    std::optional<OverdriveSettings> Settings(bool defaults) override;
    bool Apply(const OverdriveRequest& request) override;  // System/MemoryClocksX2_Set
    bool RestoreDefaults() override;
    std::optional<OverdriveClocks> CurrentClocks() override;  // PerformanceStatus
    std::optional<int32_t> Temperature() override;
    DriverWrite SetFanAutomatic() override;

    // A levels list as the driver answered it: `count` levels are valid, never more than the
    // room the request named.
    struct Levels {
        ADLODNPerformanceLevelsX2 record{};
        int32_t count = 0;
    };
    // The highest enabled level among the valid ones.
    static std::optional<int> TopEnabledLevel(const Levels& levels);

  private:
    struct Card {
        ADLODNCapabilitiesX2 caps{};
        Levels engine;
        Levels memory;
    };
    std::optional<ADLODNCapabilitiesX2> ReadCaps();
    std::optional<Levels> ReadLevels(Adl2OdnLevelsX2Fn get, int32_t room, int32_t mode);
    std::optional<Card> ReadCard(int32_t mode);
    // What the flags, the top levels' control masks and the write entries there are allow.
    OverdriveCapabilities CapabilitiesOf(const Card& card) const;
    bool WriteLevels(Adl2OdnLevelsX2Fn set, Levels levels, int32_t mode);
};
