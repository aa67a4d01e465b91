#include "gpu/core/AdlOd8Backend.h"

#include <algorithm>
#include <memory>

#include "gpu/core/AdlAllocator.h"
#include "gpu/core/OverdriveUnits.h"

using overdrive::Accepted;
using overdrive::WriteResult;

namespace {

struct AdlFreeDeleter {
    void operator()(void* block) const { AdlFree(block); }
};

// How many elements of a list handed out through AdlAllocate may be read: no more than the
// driver says it filled, than the block holds, or than the program's room.
template <typename Element>
int32_t ReadableCount(const Element* list, int32_t reported) {
    const std::optional<size_t> bytes = AdlAllocationSize(list);
    if (!bytes || reported < 1) {
        return 0;
    }
    const size_t fits = std::min<size_t>(*bytes / sizeof(Element), kOd8SettingRoom);
    return static_cast<int32_t>(std::min<size_t>(static_cast<size_t>(reported), fits));
}

// The settings an accepted answer in a fixed record filled: as many as its count says, never
// more than the record holds. False when the driver refused or filled none.
template <typename Element, typename Stored>
bool TakeFilled(int result, int32_t reported, const Element* table, std::vector<Stored>& out) {
    const int32_t readable = std::min<int32_t>(reported, kOd8SettingRoom);
    if (!Accepted(result) || readable < 1) {
        return false;
    }
    out.assign(table, table + readable);
    return true;
}

// The same for a list the driver handed out from our allocator: never more than it holds.
template <typename Element, typename Stored>
bool TakeListed(int result, int32_t reported, const Element* list, std::vector<Stored>& out) {
    const int32_t readable = ReadableCount(list, reported);
    if (!Accepted(result) || readable < 1) {
        return false;
    }
    out.assign(list, list + readable);
    return true;
}

// The fan settings automatic control puts back, with the capability each belongs to.
struct FanSetting {
    int id;
    int32_t capability;
};
constexpr FanSetting kFanSettings[] = {
    {kOd8FanMinimumSpeed, kAdlOd8FanSpeedMinimum},
    {kOd8FanAcousticLimit, kAdlOd8AcousticLimit},
    {kOd8FanTargetTemperature, kAdlOd8FanTargetTemperature},
};

void Request(ADLOD8SetSetting& set, int id, int32_t value, bool reset) {
    set.od8SettingTable[id] = ADLOD8SingleSetSetting{value, 1, reset ? 1 : 0};
}

}  // namespace

bool AdlOd8Backend::Table::Has(int id, int32_t capability) const {
    return (capabilities & capability) == capability && id >= 0 &&
           static_cast<size_t>(id) < init.size();
}

bool AdlOd8Backend::ReadInit(Table& table) {
    const DriverEntries& adl = entries();
    if (adl.ADL2_Overdrive8_Init_SettingX2_Get != nullptr) {
        int caps = 0;
        int count = kOd8SettingRoom;
        ADLOD8SingleInitSetting* raw = nullptr;
        const int result =
            adl.ADL2_Overdrive8_Init_SettingX2_Get(handle(), adapter(), &caps, &count, &raw);
        // The list came from our allocator: ours to free, whatever the result.
        const std::unique_ptr<ADLOD8SingleInitSetting, AdlFreeDeleter> list(raw);
        table.capabilities = caps;
        return TakeListed(result, count, list.get(), table.init);
    }
    if (adl.ADL2_Overdrive8_Init_Setting_Get == nullptr) {
        return false;
    }
    auto record = std::make_unique<ADLOD8InitSetting>();
    record->count = kOd8SettingRoom;
    const int result = adl.ADL2_Overdrive8_Init_Setting_Get(handle(), adapter(), record.get());
    table.capabilities = record->overdrive8Capabilities;
    return TakeFilled(result, record->count, record->od8SettingTable, table.init);
}

bool AdlOd8Backend::ReadCurrent(Table& table) {
    const DriverEntries& adl = entries();
    if (adl.ADL2_Overdrive8_Current_SettingX2_Get != nullptr) {
        int count = kOd8SettingRoom;
        int* raw = nullptr;
        const int result =
            adl.ADL2_Overdrive8_Current_SettingX2_Get(handle(), adapter(), &count, &raw);
        const std::unique_ptr<int, AdlFreeDeleter> list(raw);
        return TakeListed(result, count, list.get(), table.current);
    }
    if (adl.ADL2_Overdrive8_Current_Setting_Get == nullptr) {
        return false;
    }
    auto record = std::make_unique<ADLOD8CurrentSetting>();
    record->count = kOd8SettingRoom;
    const int result = adl.ADL2_Overdrive8_Current_Setting_Get(handle(), adapter(), record.get());
    return TakeFilled(result, record->count, record->Od8SettingTable, table.current);
}

std::optional<AdlOd8Backend::Table> AdlOd8Backend::ReadTable() {
    Table table;
    if (!ReadInit(table) || !ReadCurrent(table)) {
        return std::nullopt;
    }
    const size_t common = std::min(table.init.size(), table.current.size());
    table.init.resize(common);
    table.current.resize(common);
    return table;
}

OverdriveCapabilities AdlOd8Backend::CapabilitiesOf(const Table& table) {
    OverdriveCapabilities caps;
    if (table.Has(kOd8GfxClockMax, kAdlOd8GfxClockLimits)) {
        const ADLOD8SingleInitSetting& gfx = table.init[kOd8GfxClockMax];
        caps.engineMHz = overdrive::UsableRange(gfx.minValue, gfx.maxValue);
    }
    if (table.Has(kOd8MemoryClockMax, kAdlOd8MemoryClockMax)) {
        const ADLOD8SingleInitSetting& memory = table.init[kOd8MemoryClockMax];
        caps.memoryMHz = overdrive::UsableRange(memory.minValue, memory.maxValue);
    }
    return caps;
}

bool AdlOd8Backend::WriteSettings(ADLOD8SetSetting& set) {
    if (entries().ADL2_Overdrive8_Setting_Set == nullptr) {
        return false;
    }
    set.count = kOd8SettingRoom;
    auto after = std::make_unique<ADLOD8CurrentSetting>();
    after->count = kOd8SettingRoom;
    return Accepted(entries().ADL2_Overdrive8_Setting_Set(handle(), adapter(), &set, after.get()));
}

std::optional<OverdriveCapabilities> AdlOd8Backend::Capabilities() {
    auto hold = Hold();
    const std::optional<Table> table = ReadTable();
    if (!table) {
        return std::nullopt;
    }
    return CapabilitiesOf(*table);
}

std::optional<OverdriveSettings> AdlOd8Backend::Settings(bool defaults) {
    auto hold = Hold();
    const std::optional<Table> table = ReadTable();
    if (!table) {
        return std::nullopt;
    }
    const auto value = [&](int id) -> int {
        if (static_cast<size_t>(id) >= table->init.size()) {
            return 0;
        }
        return defaults ? table->init[id].defaultValue : table->current[id];
    };
    return OverdriveSettings{value(kOd8GfxClockMax), value(kOd8MemoryClockMax), 0, false};
}

bool AdlOd8Backend::Apply(const OverdriveRequest& request) {
    if (!overdrive::HasAnyValue(request) || request.voltageMilliVolts) {
        return false;
    }
    auto hold = Hold();
    const std::optional<Table> table = ReadTable();
    if (!table) {
        return false;
    }
    const OverdriveCapabilities caps = CapabilitiesOf(*table);
    if (!overdrive::RequestFits(request.engineMHz, caps.engineMHz) ||
        !overdrive::RequestFits(request.memoryMHz, caps.memoryMHz)) {
        return false;
    }
    // Only the requested settings are marked; the driver keeps every other one as it is.
    auto set = std::make_unique<ADLOD8SetSetting>();
    if (request.engineMHz) {
        Request(*set, kOd8GfxClockMax, *request.engineMHz, false);
    }
    if (request.memoryMHz) {
        Request(*set, kOd8MemoryClockMax, *request.memoryMHz, false);
    }
    return WriteSettings(*set);
}

bool AdlOd8Backend::RestoreDefaults() {
    auto hold = Hold();
    const std::optional<Table> table = ReadTable();
    if (!table) {
        return false;
    }
    auto set = std::make_unique<ADLOD8SetSetting>();
    bool any = false;
    for (const auto& [id, capability] : {std::pair{kOd8GfxClockMax, kAdlOd8GfxClockLimits},
                                         std::pair{kOd8MemoryClockMax, kAdlOd8MemoryClockMax}}) {
        if (table->Has(id, capability)) {
            Request(*set, id, table->init[id].defaultValue, true);
            any = true;
        }
    }
    return any && WriteSettings(*set);
}

DriverWrite AdlOd8Backend::SetFanAutomatic() {
    auto hold = Hold();
    const std::optional<Table> table = ReadTable();
    if (!table) {
        return DriverWrite::NotMade;
    }
    auto set = std::make_unique<ADLOD8SetSetting>();
    bool any = false;
    for (const FanSetting& fan : kFanSettings) {
        if (table->Has(fan.id, fan.capability)) {
            Request(*set, fan.id, table->init[fan.id].defaultValue, true);
            any = true;
        }
    }
    if (table->Has(kOd8FanCurveLast, kAdlOd8FanCurve)) {
        for (int id = kOd8FanCurveFirst; id <= kOd8FanCurveLast; ++id) {
            Request(*set, id, table->init[id].defaultValue, true);
        }
        any = true;
    }
    // A card without fan settings leaves its fan to the driver anyway.
    if (!any) {
        return DriverWrite::NotMade;
    }
    return WriteSettings(*set) ? DriverWrite::Accepted : DriverWrite::Refused;
}

std::optional<ADLPMLogDataOutput> AdlOd8Backend::ReadLog() {
    if (entries().ADL2_New_QueryPMLogData_Get == nullptr) {
        return std::nullopt;
    }
    ADLPMLogDataOutput log{};
    log.size = sizeof(ADLPMLogDataOutput);
    if (!Accepted(entries().ADL2_New_QueryPMLogData_Get(handle(), adapter(), &log))) {
        return std::nullopt;
    }
    return log;
}

std::optional<OverdriveClocks> AdlOd8Backend::CurrentClocks() {
    auto hold = Hold();
    const std::optional<ADLPMLogDataOutput> log = ReadLog();
    if (!log) {
        return std::nullopt;
    }
    const ADLSingleSensorData& engine = log->sensors[kAdlPmLogGfxClock];
    const ADLSingleSensorData& memory = log->sensors[kAdlPmLogMemoryClock];
    if (engine.supported == 0 || memory.supported == 0 || engine.value < 0 || memory.value < 0) {
        return std::nullopt;
    }
    return OverdriveClocks{engine.value, memory.value};
}

std::optional<int32_t> AdlOd8Backend::Temperature() {
    auto hold = Hold();
    const std::optional<ADLPMLogDataOutput> log = ReadLog();
    if (!log || log->sensors[kAdlPmLogTemperatureEdge].supported == 0) {
        return std::nullopt;
    }
    return overdrive::MilliDegreesFromDegrees(log->sensors[kAdlPmLogTemperatureEdge].value);
}
