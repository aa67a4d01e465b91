// Hostile answers from the display library's Overdrive 5, 6, N and 8 calls, through every
// operation of each backend: level counts and record sizes, inverted and huge ranges, refusals
// and garbage from every entry, lists that claim more than they hold. Whatever the driver says,
// a value the program chose is written only inside the range the driver reported for it in the
// same operation and as the value asked for, every record is sized for what it carries, an
// operation succeeds only when each of its writes was accepted, and every list the driver
// handed out is released.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "gpu/core/AdlAllocator.h"
#include "gpu/core/AdlOd5Backend.h"
#include "gpu/core/AdlOd6Backend.h"
#include "gpu/core/AdlOd8Backend.h"
#include "gpu/core/AdlOdnBackend.h"
#include "gpu/core/OverdriveUnits.h"
#include "tests/fuzz/FuzzSupport.h"
#include "tests/gpu/FakeAdlContext.h"

namespace {

using fuzz::Random;
using fuzz::Tally;
using overdrive::Accepted;
using overdrive::TenKHzFromMHz;

// The generator and tally of the running reader; the fake entries are plain functions.
Random* g_random = nullptr;
Tally* g_tally = nullptr;

// Mostly success, sometimes a refusal, a note or any word at all.
int Result() {
    static const int kResults[] = {1, -1, -3, -8};
    if (g_random->Chance(85)) {
        return 0;
    }
    return g_random->Chance(70) ? kResults[g_random->Below(std::size(kResults))]
                                : g_random->Hostile32();
}

// A plausible value most of the time, a hostile one otherwise.
int32_t Near(int32_t plausible) {
    return g_random->Chance(90) ? plausible : g_random->Hostile32();
}

bool Inside(int32_t value, int32_t minimum, int32_t maximum) {
    return value >= minimum && value <= maximum;
}

void Expect(bool holds, const std::string& what) {
    if (!holds) {
        g_tally->Fault(what);
    }
}

// One operation of a backend with a random request, the way the pages and timers call them.
struct Operation {
    OverdriveRequest request;
    int fanPercent = 0;
    int which = 0;
};

Operation RandomOperation(int engine, int memory, int voltage) {
    Operation op;
    op.which = static_cast<int>(g_random->Below(9));
    const auto maybe = [](int plausible) {
        return g_random->Chance(60) ? std::optional<int>(Near(plausible)) : std::nullopt;
    };
    op.request = {maybe(engine), maybe(memory), maybe(voltage)};
    op.fanPercent = Near(static_cast<int32_t>(g_random->Between(0, 110)));
    return op;
}

// Runs the operation; false when the backend declined (nothing to read, nothing written).
bool Run(OverdriveBackend& backend, const Operation& op) {
    switch (op.which) {
        case 0:
            if (const auto caps = backend.Capabilities()) {
                for (const auto& range : {caps->engineMHz, caps->memoryMHz, caps->voltageMilliVolts,
                                          caps->fanPercent}) {
                    Expect(!range || range->minimum <= range->maximum, "an inverted range");
                }
                Expect(!caps->fanPercent ||
                           (caps->fanPercent->minimum >= 0 && caps->fanPercent->maximum <= 100),
                       "a fan range beyond 0..100");
                return true;
            }
            return false;
        case 1:
            return backend.Settings(g_random->Chance(50)).has_value();
        case 2:
            return backend.Apply(op.request);
        case 3:
            return backend.RestoreDefaults();
        case 4:
            return backend.CurrentClocks().has_value();
        case 5:
            return backend.Temperature().has_value();
        case 6:
            if (const auto percent = backend.FanPercent()) {
                Expect(Inside(*percent, 0, 100), "a fan reading beyond 0..100");
                return true;
            }
            return false;
        case 7:
            return backend.SetFanPercent(op.fanPercent) == DriverWrite::Accepted;
        default:
            return backend.SetFanAutomatic() == DriverWrite::Accepted;
    }
}

// What every written record shares: the result the driver gave it.
template <typename Record>
struct Written {
    Record record;
    int result;
};

template <typename Record>
bool AllAccepted(const std::vector<Written<Record>>& writes) {
    return std::all_of(writes.begin(), writes.end(),
                       [](const Written<Record>& w) { return Accepted(w.result); });
}

// ---- Overdrive 5 ----------------------------------------------------------------------------

struct Od5Card {
    ADLODParameters params{};
    std::vector<ADLODPerformanceLevel> current;
    ADLFanSpeedInfo fanInfo{};
    // What the last answers reported: the write that follows must keep to it.
    ADLODParameters lastParams{};
    ADLFanSpeedInfo lastFan{};
    std::vector<Written<ADLODPerformanceLevels>> levelWrites;
    std::vector<Written<ADLFanSpeedValue>> fanWrites;
};
Od5Card g_od5;

void LoadOd5() {
    Od5Card& card = g_od5 = Od5Card{};
    const int32_t count =
        g_random->Chance(85) ? static_cast<int32_t>(g_random->Between(1, 8)) : Near(3);
    card.params = {sizeof(ADLODParameters),
                   count,
                   1,
                   1,
                   0,
                   {Near(30000), Near(90000), Near(500)},
                   {Near(90000), Near(130000), Near(500)},
                   {Near(900), Near(1300), Near(25)}};
    card.current.resize(g_random->Below(10));
    for (ADLODPerformanceLevel& level : card.current) {
        level = {Near(60000), Near(100000), Near(1100)};
    }
    card.fanInfo = {sizeof(ADLFanSpeedInfo), Near(3), Near(20), Near(100), 800, 4000};
}

DriverEntries Od5Entries() {
    DriverEntries e = fakeadl::ContextEntries();
    e.ADL2_Overdrive5_ODParameters_Get = [](AdlContextHandle h, int, ADLODParameters* p) {
        fakeadl::CallScope scope(h);
        Expect(p->iSize == sizeof(ADLODParameters), "parameters asked with a wrong size");
        *p = g_od5.lastParams = g_od5.params;
        return Result();
    };
    e.ADL2_Overdrive5_ODPerformanceLevels_Get = [](AdlContextHandle h, int, int,
                                                   ADLODPerformanceLevels* levels) {
        fakeadl::CallScope scope(h);
        // The driver fills the room the size word gives, never more than the record holds.
        const int32_t room = std::clamp<int32_t>((levels->iSize - 8) / 12, 0, 8);
        Expect(levels->iSize == PerformanceLevelsSize(g_od5.lastParams.iNumberOfPerformanceLevels),
               "levels asked with a size for another count");
        for (int32_t i = 0; i < room && static_cast<size_t>(i) < g_od5.current.size(); ++i) {
            levels->aLevels[i] = g_od5.current[static_cast<size_t>(i)];
        }
        levels->iSize = Near(levels->iSize);
        return Result();
    };
    e.ADL2_Overdrive5_ODPerformanceLevels_Set = [](AdlContextHandle h, int,
                                                   ADLODPerformanceLevels* levels) {
        fakeadl::CallScope scope(h);
        g_od5.levelWrites.push_back({*levels, Result()});
        return g_od5.levelWrites.back().result;
    };
    e.ADL2_Overdrive5_FanSpeedInfo_Get = [](AdlContextHandle h, int, int, ADLFanSpeedInfo* info) {
        fakeadl::CallScope scope(h);
        *info = g_od5.lastFan = g_od5.fanInfo;
        return Result();
    };
    e.ADL2_Overdrive5_FanSpeed_Get = [](AdlContextHandle h, int, int, ADLFanSpeedValue* value) {
        fakeadl::CallScope scope(h);
        value->iSpeedType = Near(kFanSpeedTypePercent);
        value->iFanSpeed = Near(45);
        return Result();
    };
    e.ADL2_Overdrive5_FanSpeed_Set = [](AdlContextHandle h, int, int, ADLFanSpeedValue* value) {
        fakeadl::CallScope scope(h);
        g_od5.fanWrites.push_back({*value, Result()});
        return g_od5.fanWrites.back().result;
    };
    e.ADL2_Overdrive5_FanSpeedToDefault_Set = [](AdlContextHandle h, int, int) {
        fakeadl::CallScope scope(h);
        return Result();
    };
    e.ADL2_Overdrive5_CurrentActivity_Get = [](AdlContextHandle h, int, ADLPMActivity* activity) {
        fakeadl::CallScope scope(h);
        activity->iEngineClock = Near(60000);
        activity->iMemoryClock = Near(100000);
        return Result();
    };
    e.ADL2_Overdrive5_Temperature_Get = [](AdlContextHandle h, int, int, ADLTemperature* t) {
        fakeadl::CallScope scope(h);
        t->iTemperature = Near(55000);
        return Result();
    };
    return e;
}

// Percent writes keep to the range the driver's last answer gave, clipped to 0..100.
void CheckPercent(int32_t written, int32_t minimum, int32_t maximum, const char* what) {
    Expect(Inside(written, std::max(minimum, 0), std::min(maximum, 100)),
           std::string(what) + " " + std::to_string(written) + " outside the reported range");
}

void CheckOd5(const Operation& op, bool succeeded) {
    const ADLODParameters& params = g_od5.lastParams;
    const int32_t count = params.iNumberOfPerformanceLevels;
    for (const auto& write : g_od5.levelWrites) {
        Expect(IsValidLevelCount(count) && write.record.iSize == PerformanceLevelsSize(count),
               "a levels write of " + std::to_string(write.record.iSize) + " bytes");
        if (op.which != 2 || !IsValidLevelCount(count)) {
            continue;
        }
        const ADLODPerformanceLevel& top = write.record.aLevels[count - 1];
        const auto check = [](const std::optional<int>& asked, int32_t written, int32_t value,
                              const ADLODParameterRange& range, const char* what) {
            if (asked) {
                Expect(written == value && Inside(written, range.iMin, range.iMax),
                       std::string(what) + " written outside the reported range");
            }
        };
        check(op.request.engineMHz, top.iEngineClock,
              TenKHzFromMHz(op.request.engineMHz.value_or(0)), params.sEngineClock, "engine");
        check(op.request.memoryMHz, top.iMemoryClock,
              TenKHzFromMHz(op.request.memoryMHz.value_or(0)), params.sMemoryClock, "memory");
        check(op.request.voltageMilliVolts, top.iVddc, op.request.voltageMilliVolts.value_or(0),
              params.sVddc, "voltage");
    }
    for (const auto& write : g_od5.fanWrites) {
        Expect(write.record.iSpeedType == kFanSpeedTypePercent &&
                   write.record.iFanSpeed == op.fanPercent,
               "a fan write of another kind or value");
        CheckPercent(write.record.iFanSpeed, g_od5.lastFan.iMinPercent, g_od5.lastFan.iMaxPercent,
                     "fan");
    }
    if (succeeded && (op.which == 2 || op.which == 3)) {
        Expect(g_od5.levelWrites.size() == 1 && AllAccepted(g_od5.levelWrites),
               "success without exactly one accepted levels write");
    }
}

// ---- Overdrive 6 ----------------------------------------------------------------------------

struct Od6Card {
    ADLOD6Capabilities caps{};
    ADLOD6ThermalControllerCaps thermal{};
    ADLOD6Capabilities lastCaps{};
    ADLOD6ThermalControllerCaps lastThermal{};
    std::vector<Written<ADLOD6StateInfo>> stateWrites;
    std::vector<Written<ADLOD6FanSpeedValue>> fanWrites;
};
Od6Card g_od6;

void LoadOd6() {
    Od6Card& card = g_od6 = Od6Card{};
    card.caps.iCapabilities = Near(7);
    card.caps.iNumberOfPerformanceLevels = Near(kOd6LevelCount);
    card.caps.sEngineClockRange = {Near(30000), Near(120000), Near(500)};
    card.caps.sMemoryClockRange = {Near(15000), Near(160000), Near(500)};
    card.thermal = {Near(0x302), Near(20), Near(100), 1000, 4700, 0, 0};
}

DriverEntries Od6Entries() {
    DriverEntries e = fakeadl::ContextEntries();
    e.ADL2_Overdrive6_Capabilities_Get = [](AdlContextHandle h, int, ADLOD6Capabilities* caps) {
        fakeadl::CallScope scope(h);
        *caps = g_od6.lastCaps = g_od6.caps;
        return Result();
    };
    e.ADL2_Overdrive6_StateInfo_Get = [](AdlContextHandle h, int, int, ADLOD6StateInfo* state) {
        fakeadl::CallScope scope(h);
        // No size word: the caller's count is the room it has.
        const int32_t room = std::clamp(state->iNumberOfPerformanceLevels, 0, kOd6LevelCount);
        for (int32_t i = 0; i < room; ++i) {
            state->aLevels[i] = {Near(50000), Near(120000)};
        }
        state->iNumberOfPerformanceLevels = Near(state->iNumberOfPerformanceLevels);
        return Result();
    };
    e.ADL2_Overdrive6_State_Set = [](AdlContextHandle h, int, int type, ADLOD6StateInfo* state) {
        fakeadl::CallScope scope(h);
        Expect(type == kAdlOd6SetStatePerformance, "a state write of another type");
        g_od6.stateWrites.push_back({*state, Result()});
        return g_od6.stateWrites.back().result;
    };
    e.ADL2_Overdrive6_State_Reset = [](AdlContextHandle h, int, int) {
        fakeadl::CallScope scope(h);
        return Result();
    };
    e.ADL2_Overdrive6_CurrentStatus_Get = [](AdlContextHandle h, int, ADLOD6CurrentStatus* s) {
        fakeadl::CallScope scope(h);
        s->iEngineClock = Near(94700);
        s->iMemoryClock = Near(125000);
        return Result();
    };
    e.ADL2_Overdrive6_Temperature_Get = [](AdlContextHandle h, int, int* temperature) {
        fakeadl::CallScope scope(h);
        *temperature = Near(60000);
        return Result();
    };
    e.ADL2_Overdrive6_ThermalController_Caps = [](AdlContextHandle h, int,
                                                  ADLOD6ThermalControllerCaps* caps) {
        fakeadl::CallScope scope(h);
        *caps = g_od6.lastThermal = g_od6.thermal;
        return Result();
    };
    e.ADL2_Overdrive6_FanSpeed_Get = [](AdlContextHandle h, int, ADLOD6FanSpeedInfo* info) {
        fakeadl::CallScope scope(h);
        info->iSpeedType = Near(kAdlOd6FanSpeedTypePercent);
        info->iFanSpeedPercent = Near(45);
        return Result();
    };
    e.ADL2_Overdrive6_FanSpeed_Set = [](AdlContextHandle h, int, ADLOD6FanSpeedValue* value) {
        fakeadl::CallScope scope(h);
        g_od6.fanWrites.push_back({*value, Result()});
        return g_od6.fanWrites.back().result;
    };
    e.ADL2_Overdrive6_FanSpeed_Reset = [](AdlContextHandle h, int) {
        fakeadl::CallScope scope(h);
        return Result();
    };
    return e;
}

void CheckOd6(const Operation& op, bool succeeded) {
    const ADLOD6Capabilities& caps = g_od6.lastCaps;
    for (const auto& write : g_od6.stateWrites) {
        Expect(write.record.iNumberOfPerformanceLevels == kOd6LevelCount,
               "a state write naming " + std::to_string(write.record.iNumberOfPerformanceLevels) +
                   " levels");
        const ADLOD6PerformanceLevel& maximum = write.record.aLevels[kOd6LevelCount - 1];
        if (op.request.engineMHz) {
            Expect(maximum.iEngineClock == TenKHzFromMHz(*op.request.engineMHz) &&
                       Inside(maximum.iEngineClock, caps.sEngineClockRange.iMin,
                              caps.sEngineClockRange.iMax),
                   "engine written outside the reported range");
        }
        if (op.request.memoryMHz) {
            Expect(maximum.iMemoryClock == TenKHzFromMHz(*op.request.memoryMHz) &&
                       Inside(maximum.iMemoryClock, caps.sMemoryClockRange.iMin,
                              caps.sMemoryClockRange.iMax),
                   "memory written outside the reported range");
        }
        Expect(!op.request.voltageMilliVolts, "a state written with a voltage asked for");
    }
    for (const auto& write : g_od6.fanWrites) {
        Expect(write.record.iSpeedType == kAdlOd6FanSpeedTypePercent &&
                   write.record.iFanSpeed == op.fanPercent,
               "a fan write of another kind or value");
        CheckPercent(write.record.iFanSpeed, g_od6.lastThermal.iFanMinPercent,
                     g_od6.lastThermal.iFanMaxPercent, "fan");
    }
    if (succeeded && op.which == 2) {
        Expect(g_od6.stateWrites.size() == 1 && AllAccepted(g_od6.stateWrites),
               "success without one accepted state write");
    }
}

// ---- OverdriveN -----------------------------------------------------------------------------

struct OdnCard {
    ADLODNCapabilitiesX2 caps{};
    std::vector<ADLODNPerformanceLevelX2> engine;
    std::vector<ADLODNPerformanceLevelX2> memory;
    ADLODNCapabilitiesX2 lastCaps{};
    std::vector<Written<ADLODNPerformanceLevelsX2>> engineWrites;
    std::vector<Written<ADLODNPerformanceLevelsX2>> memoryWrites;
};
OdnCard g_odn;

std::vector<ADLODNPerformanceLevelX2> HostileOdnLevels(int32_t clock) {
    std::vector<ADLODNPerformanceLevelX2> levels(g_random->Below(kMaxOdnLevels + 2));
    for (ADLODNPerformanceLevelX2& level : levels) {
        level = {Near(clock), Near(1000), Near(1), Near(3)};
    }
    return levels;
}

void LoadOdn() {
    OdnCard& card = g_odn = OdnCard{};
    card.caps.iMaximumNumberOfPerformanceLevels = Near(8);
    card.caps.iFlags = Near(7);
    card.caps.sEngineClockRange = {0, Near(30000), Near(200000), 100, 134000};
    card.caps.sMemoryClockRange = {0, Near(30000), Near(250000), 100, 200000};
    card.caps.svddcRange = {0, Near(750), Near(1200), 1, 1150};
    card.engine = HostileOdnLevels(130000);
    card.memory = HostileOdnLevels(200000);
}

// A levels query: the room is the record's size word, never past the record itself.
int FillOdn(ADLODNPerformanceLevelsX2* record, const std::vector<ADLODNPerformanceLevelX2>& from) {
    const int32_t room = record->iNumberOfPerformanceLevels;
    Expect(room >= 1 && room <= kMaxOdnLevels && record->iSize == OdnLevelsSize(room),
           "a levels query of " + std::to_string(record->iSize) + " bytes for " +
               std::to_string(room) + " levels");
    const int32_t fits = std::clamp<int32_t>((record->iSize - 12) / 16, 0, kMaxOdnLevels);
    for (int32_t i = 0; i < fits && static_cast<size_t>(i) < from.size(); ++i) {
        record->aLevels[i] = from[static_cast<size_t>(i)];
    }
    record->iNumberOfPerformanceLevels =
        g_random->Chance(80) ? static_cast<int32_t>(from.size()) : g_random->Hostile32();
    return Result();
}

DriverEntries OdnEntries() {
    DriverEntries e = fakeadl::ContextEntries();
    e.ADL2_OverdriveN_CapabilitiesX2_Get = [](AdlContextHandle h, int, ADLODNCapabilitiesX2* c) {
        fakeadl::CallScope scope(h);
        *c = g_odn.lastCaps = g_odn.caps;
        return Result();
    };
    e.ADL2_OverdriveN_SystemClocksX2_Get = [](AdlContextHandle h, int,
                                              ADLODNPerformanceLevelsX2* record) {
        fakeadl::CallScope scope(h);
        return FillOdn(record, g_odn.engine);
    };
    e.ADL2_OverdriveN_MemoryClocksX2_Get = [](AdlContextHandle h, int,
                                              ADLODNPerformanceLevelsX2* record) {
        fakeadl::CallScope scope(h);
        return FillOdn(record, g_odn.memory);
    };
    e.ADL2_OverdriveN_SystemClocksX2_Set = [](AdlContextHandle h, int,
                                              ADLODNPerformanceLevelsX2* record) {
        fakeadl::CallScope scope(h);
        g_odn.engineWrites.push_back({*record, Result()});
        return g_odn.engineWrites.back().result;
    };
    e.ADL2_OverdriveN_MemoryClocksX2_Set = [](AdlContextHandle h, int,
                                              ADLODNPerformanceLevelsX2* record) {
        fakeadl::CallScope scope(h);
        g_odn.memoryWrites.push_back({*record, Result()});
        return g_odn.memoryWrites.back().result;
    };
    e.ADL2_OverdriveN_PerformanceStatus_Get = [](AdlContextHandle h, int,
                                                 ADLODNPerformanceStatus* status) {
        fakeadl::CallScope scope(h);
        status->iCoreClock = Near(134000);
        status->iMemoryClock = Near(200000);
        return Result();
    };
    e.ADL2_OverdriveN_Temperature_Get = [](AdlContextHandle h, int, int, int* temperature) {
        fakeadl::CallScope scope(h);
        *temperature = Near(60000);
        return Result();
    };
    e.ADL2_OverdriveN_FanControl_Get = [](AdlContextHandle h, int, ADLODNFanControl* fan) {
        fakeadl::CallScope scope(h);
        *fan = {Near(3), 1, 1, 1450, Near(2200), 75, 0, 1000};
        return Result();
    };
    e.ADL2_OverdriveN_FanControl_Set = [](AdlContextHandle h, int, ADLODNFanControl* fan) {
        fakeadl::CallScope scope(h);
        Expect(fan->iMode == kAdlOdnModeAuto, "a fan control write other than automatic");
        return Result();
    };
    return e;
}

// A record's size and count, and the level a write changes: the highest enabled one.
std::optional<int> CheckOdnRecord(const ADLODNPerformanceLevelsX2& record) {
    const int32_t count = record.iNumberOfPerformanceLevels;
    const int32_t room = g_odn.lastCaps.iMaximumNumberOfPerformanceLevels;
    Expect(count >= 1 && count <= std::min(room, kMaxOdnLevels) &&
               record.iSize == OdnLevelsSize(count),
           "a levels write of " + std::to_string(record.iSize) + " bytes for " +
               std::to_string(count) + " levels");
    std::optional<int> top;
    for (int i = 0; i < std::clamp(count, 0, kMaxOdnLevels); ++i) {
        Expect(record.aLevels[i].iEnabled == 0 || record.aLevels[i].iEnabled == 1,
               "an enabled flag other than 0 or 1");
        if (record.aLevels[i].iEnabled != 0) {
            top = i;
        }
    }
    return top;
}

// The level Apply wrote carries the requested values, inside the reported ranges.
void CheckOdnApplied(const ADLODNPerformanceLevelsX2& record, std::optional<int> top,
                     const std::optional<int>& clockMHz, const ADLODNParameterRange& clocks,
                     const std::optional<int>& vddc) {
    Expect(record.iMode == kAdlOdnModeManual && top.has_value(),
           "an applied levels write without a manual mode or an enabled level");
    if (!top) {
        return;
    }
    const ADLODNPerformanceLevelX2& level = record.aLevels[*top];
    if (clockMHz) {
        Expect(level.iClock == TenKHzFromMHz(*clockMHz) &&
                   Inside(level.iClock, clocks.iMin, clocks.iMax),
               "a clock written outside the reported range");
    }
    if (vddc) {
        Expect(level.iVddc == *vddc && Inside(level.iVddc, g_odn.lastCaps.svddcRange.iMin,
                                              g_odn.lastCaps.svddcRange.iMax),
               "a voltage written outside the reported range");
    }
}

void CheckOdn(const Operation& op, bool succeeded) {
    const OverdriveRequest& asked = op.request;
    for (size_t i = 0; i < g_odn.engineWrites.size(); ++i) {
        const ADLODNPerformanceLevelsX2& record = g_odn.engineWrites[i].record;
        const std::optional<int> top = CheckOdnRecord(record);
        // Apply's first engine write carries the request; a second one puts back what was read.
        if (op.which == 2 && i == 0) {
            CheckOdnApplied(record, top, asked.engineMHz, g_odn.lastCaps.sEngineClockRange,
                            asked.voltageMilliVolts);
        }
    }
    for (const auto& write : g_odn.memoryWrites) {
        const std::optional<int> top = CheckOdnRecord(write.record);
        if (op.which == 2) {
            CheckOdnApplied(write.record, top, asked.memoryMHz, g_odn.lastCaps.sMemoryClockRange,
                            std::nullopt);
        }
    }
    if (op.which == 2 && g_odn.engineWrites.size() == 2) {
        Expect(Accepted(g_odn.engineWrites[0].result) && !g_odn.memoryWrites.empty() &&
                   !Accepted(g_odn.memoryWrites.back().result),
               "engine levels written twice without a refused memory write");
    }
    if (succeeded && (op.which == 2 || op.which == 3)) {
        Expect(!(g_odn.engineWrites.empty() && g_odn.memoryWrites.empty()) &&
                   AllAccepted(g_odn.engineWrites) && AllAccepted(g_odn.memoryWrites),
               "success with a refused levels write");
    }
}

// ---- Overdrive 8 ----------------------------------------------------------------------------

constexpr int kDriverSettings = 52;

struct Od8Card {
    int32_t capabilities = 0;
    std::vector<ADLOD8SingleInitSetting> init;
    std::vector<ADLOD8SingleInitSetting> lastInit;
    std::vector<void*> handedOut;
    std::vector<Written<ADLOD8SetSetting>> writes;
};
Od8Card g_od8;

void LoadOd8() {
    Od8Card& card = g_od8 = Od8Card{};
    card.capabilities = g_random->Chance(80) ? 0x23FF : g_random->Hostile32();
    card.init.resize(g_random->Chance(80) ? kDriverSettings
                                          : g_random->Below(kOd8SettingRoom + 40));
    for (size_t id = 0; id < card.init.size(); ++id) {
        card.init[id] = {static_cast<int32_t>(id), Near(800), Near(2100), Near(1980)};
    }
}

// A count the driver reports for a list: mostly the truth, sometimes anything.
int32_t ReportedCount(size_t truth) {
    return g_random->Chance(75) ? static_cast<int32_t>(truth) : g_random->Hostile32();
}

// A list from the context's allocator holding `count` elements; the program must free it.
template <typename Element>
Element* HandOut(size_t count) {
    auto* list = static_cast<Element*>(AdlAllocate(static_cast<int>(count * sizeof(Element))));
    if (list != nullptr) {
        g_od8.handedOut.push_back(list);
    }
    return list;
}

DriverEntries Od8Entries(bool lists) {
    DriverEntries e = fakeadl::ContextEntries();
    if (lists) {
        e.ADL2_Overdrive8_Init_SettingX2_Get = [](AdlContextHandle h, int, int* caps, int* count,
                                                  ADLOD8SingleInitSetting** list) {
            fakeadl::CallScope scope(h);
            g_od8.lastInit = g_od8.init;
            *list = HandOut<ADLOD8SingleInitSetting>(g_od8.init.size());
            if (*list != nullptr) {
                std::copy(g_od8.init.begin(), g_od8.init.end(), *list);
            }
            *caps = g_od8.capabilities;
            *count = ReportedCount(g_od8.init.size());
            return Result();
        };
        e.ADL2_Overdrive8_Current_SettingX2_Get = [](AdlContextHandle h, int, int* count,
                                                     int** list) {
            fakeadl::CallScope scope(h);
            const size_t length =
                g_random->Chance(80) ? g_od8.init.size() : g_random->Below(kOd8SettingRoom + 40);
            *list = HandOut<int>(length);
            for (size_t id = 0; id < length && *list != nullptr; ++id) {
                (*list)[id] = Near(1900);
            }
            *count = ReportedCount(length);
            return Result();
        };
    }
    e.ADL2_Overdrive8_Init_Setting_Get = [](AdlContextHandle h, int, ADLOD8InitSetting* record) {
        fakeadl::CallScope scope(h);
        Expect(record->count == kOd8SettingRoom, "an init record naming another room");
        g_od8.lastInit = g_od8.init;
        const size_t filled = std::min<size_t>(g_od8.init.size(), kOd8SettingRoom);
        std::copy_n(g_od8.init.begin(), filled, record->od8SettingTable);
        record->overdrive8Capabilities = g_od8.capabilities;
        record->count = ReportedCount(filled);
        return Result();
    };
    e.ADL2_Overdrive8_Current_Setting_Get = [](AdlContextHandle h, int,
                                               ADLOD8CurrentSetting* record) {
        fakeadl::CallScope scope(h);
        const size_t filled = std::min<size_t>(g_od8.init.size(), kOd8SettingRoom);
        for (size_t id = 0; id < filled; ++id) {
            record->Od8SettingTable[id] = Near(1900);
        }
        record->count = ReportedCount(filled);
        return Result();
    };
    e.ADL2_Overdrive8_Setting_Set = [](AdlContextHandle h, int, ADLOD8SetSetting* set,
                                       ADLOD8CurrentSetting*) {
        fakeadl::CallScope scope(h);
        g_od8.writes.push_back({*set, Result()});
        return g_od8.writes.back().result;
    };
    e.ADL2_New_QueryPMLogData_Get = [](AdlContextHandle h, int, ADLPMLogDataOutput* log) {
        fakeadl::CallScope scope(h);
        for (int sensor : {kAdlPmLogGfxClock, kAdlPmLogMemoryClock, kAdlPmLogTemperatureEdge}) {
            log->sensors[sensor] = {Near(1), Near(60)};
        }
        return Result();
    };
    return e;
}

void CheckOd8(const Operation& op, bool succeeded) {
    for (void* block : g_od8.handedOut) {
        Expect(!AdlAllocationSize(block), "a list the driver handed out was not freed");
    }
    for (const auto& write : g_od8.writes) {
        Expect(write.record.count == kOd8SettingRoom, "a set record naming another room");
        for (int id = 0; id < kOd8SettingRoom; ++id) {
            const ADLOD8SingleSetSetting& setting = write.record.od8SettingTable[id];
            if (setting.requested == 0) {
                continue;
            }
            const bool known = static_cast<size_t>(id) < g_od8.lastInit.size();
            Expect(known, "setting " + std::to_string(id) + " requested, the card has none");
            if (!known || setting.reset != 0) {
                continue;
            }
            const ADLOD8SingleInitSetting& init = g_od8.lastInit[static_cast<size_t>(id)];
            const std::optional<int>& asked =
                id == kOd8GfxClockMax ? op.request.engineMHz : op.request.memoryMHz;
            Expect(op.which == 2 && (id == kOd8GfxClockMax || id == kOd8MemoryClockMax) && asked &&
                       setting.value == *asked &&
                       Inside(setting.value, init.minValue, init.maxValue),
                   "setting " + std::to_string(id) + " = " + std::to_string(setting.value) +
                       " outside the reported range");
        }
    }
    if (succeeded && (op.which == 2 || op.which == 3)) {
        Expect(g_od8.writes.size() == 1 && AllAccepted(g_od8.writes),
               "success without one accepted settings write");
    }
}

// ---- the runs -------------------------------------------------------------------------------

// Runs the reader's cases: each a fresh hostile card, one random operation, then the checks.
template <typename Backend>
void Fuzz(const char* reader, uint32_t seed, const std::function<DriverEntries()>& entries,
          const std::function<void()>& load, const std::function<void()>& clearWrites,
          const std::function<void(const Operation&, bool)>& check, int engine, int memory) {
    Random random(seed);
    Tally tally(reader);
    g_random = &random;
    g_tally = &tally;
    fakeadl::ResetContext();
    const DriverEntries table = entries();
    {
        AdlContext context(table);
        ASSERT_TRUE(context.opened());
        Backend backend(context, 0);
        for (std::size_t i = 0; i < fuzz::CaseCount(); ++i) {
            tally.Case();
            load();
            clearWrites();
            const Operation op = RandomOperation(engine, memory, 1100);
            const bool succeeded = Run(backend, op);
            if (!succeeded) {
                tally.Rejected();
            }
            check(op, succeeded);
        }
    }
    Expect(fakeadl::Context().strayCalls == 0, "a call outside the program's context");
    Expect(fakeadl::Context().destroys == 1, "the context was not destroyed once");
    g_random = nullptr;
    g_tally = nullptr;
}

TEST(OverdriveBackendFuzz, Overdrive5RecordsAndWrites) {
    Fuzz<AdlOd5Backend>(
        "overdrive 5 backend", 0x0D5, Od5Entries, LoadOd5,
        [] { g_od5.levelWrites.clear(), g_od5.fanWrites.clear(); }, CheckOd5, 700, 1000);
}

TEST(OverdriveBackendFuzz, Overdrive6RecordsAndWrites) {
    Fuzz<AdlOd6Backend>(
        "overdrive 6 backend", 0x0D6, Od6Entries, LoadOd6,
        [] { g_od6.stateWrites.clear(), g_od6.fanWrites.clear(); }, CheckOd6, 947, 1250);
}

TEST(OverdriveBackendFuzz, OverdriveNRecordsAndWrites) {
    Fuzz<AdlOdnBackend>(
        "overdrive N backend", 0x0D7, OdnEntries, LoadOdn,
        [] { g_odn.engineWrites.clear(), g_odn.memoryWrites.clear(); }, CheckOdn, 1340, 2000);
}

TEST(OverdriveBackendFuzz, Overdrive8ListsRecordsAndWrites) {
    for (const bool lists : {true, false}) {
        Fuzz<AdlOd8Backend>(
            lists ? "overdrive 8 backend, lists" : "overdrive 8 backend, fixed records",
            lists ? 0x0D8 : 0x0D9, [lists] { return Od8Entries(lists); }, LoadOd8,
            [] { g_od8.writes.clear(), g_od8.handedOut.clear(); }, CheckOd8, 1980, 875);
    }
}

}  // namespace
