// Overdrive 8 (ADL2_Overdrive8_*): a table of settings by id, each with a range and a default,
// in MHz for the clocks. The core clock is the graphics clock maximum, the memory clock the
// memory clock maximum, as far as the capability bits allow; there is no voltage per level and
// no fan percentage (only minimum speeds, targets and curves), so both stay unavailable. The
// current clocks and the temperature come from the performance log: clocks in MHz, the edge
// temperature in whole degrees.
//
// The performance log is read with ADL2_New_QueryPMLogData_Get, one synchronous query into a
// record of ours, although the SDK marks it deprecated. The shared-memory log its sample uses
// instead keeps the driver sampling into memory it owns from start to stop, which would have to
// be stopped on every way out of the program; the timers read twice in three seconds, for which
// the plain query is enough. When a driver drops the export the readings are unavailable.
#pragma once

#include <optional>
#include <vector>

#include "gpu/core/AdlOverdriveBackend.h"

class AdlOd8Backend final : public AdlOverdriveBackend {
  public:
    AdlOd8Backend(AdlContext& context, int adapterIndex)
        : AdlOverdriveBackend(context, adapterIndex) {}

    OverdriveGeneration generation() const override { return OverdriveGeneration::Od8; }
    std::optional<OverdriveCapabilities> Capabilities() override;
    std::optional<OverdriveSettings> Settings(bool defaults) override;
    bool Apply(const OverdriveRequest& request) override;  // Setting_Set
    bool RestoreDefaults() override;
    std::optional<OverdriveClocks> CurrentClocks() override;  // the performance log
    std::optional<int32_t> Temperature() override;
    DriverWrite SetFanAutomatic() override;

  private:
    // The settings table as far as both the initial and the current answer reach.
    struct Table {
        int32_t capabilities = 0;
        std::vector<ADLOD8SingleInitSetting> init;
        std::vector<int32_t> current;

        bool Has(int id, int32_t capability) const;
    };
    std::optional<Table> ReadTable();
    bool ReadInit(Table& table);
    bool ReadCurrent(Table& table);
    static OverdriveCapabilities CapabilitiesOf(const Table& table);
    // Writes the settings marked in `set` (count and the rest filled in here).
    bool WriteSettings(ADLOD8SetSetting& set);
    std::optional<ADLPMLogDataOutput> ReadLog();
};
