#include "sim/SimCard.h"

#include <windows.h>

#include <algorithm>
#include <string>

#include "sim/core/ThermalModel.h"

namespace sim {

namespace {

constexpr int kFallbackLevelCount = 3;
// A model left alone longer than this has settled anyway.
constexpr int64_t kLongestThermalStepMs = int64_t{10} * 60 * 1000;

int64_t NowMs() {
    FILETIME now;
    ::GetSystemTimeAsFileTime(&now);
    const uint64_t ticks = (uint64_t{now.dwHighDateTime} << 32) | now.dwLowDateTime;
    return static_cast<int64_t>(ticks / 10000);
}

std::string LevelKey(bool defaults, int index) {
    return (defaults ? "DefaultLevel" : "CurrentLevel") + std::to_string(index);
}

}  // namespace

SimCard::SimCard(SimStore& store) : store_(store) {
    UpdateThermal();
}

int SimCard::ReportedLevelCount() const {
    return store_.GetInt("Overdrive", "Levels", 3);
}

void SimCard::FillParameters(ADLODParameters& params) const {
    params.iNumberOfPerformanceLevels = ReportedLevelCount();
    params.iActivityReportingSupported = store_.GetInt("Overdrive", "ActivityReporting", 1);
    params.iDiscretePerformanceLevels = store_.GetInt("Overdrive", "DiscreteLevels", 1);
    params.iReserved = 0;
    const auto put = [](ADLODParameterRange& range, const SimRange& from) {
        range = ADLODParameterRange{from.minimum, from.maximum, from.step};
    };
    put(params.sEngineClock, EngineRange());
    put(params.sMemoryClock, MemoryRange());
    put(params.sVddc, VddcRange());
}

int SimCard::StoredLevelCount() const {
    const int reported = ReportedLevelCount();
    return reported >= 1 && reported <= 8 ? reported : kFallbackLevelCount;
}

std::vector<int> SimCard::Level(bool defaults, int index) const {
    std::vector<int> level = store_.GetInts("Overdrive", LevelKey(defaults, index), 3);
    if (!defaults && store_.GetString("Overdrive", LevelKey(false, index)).empty()) {
        level = store_.GetInts("Overdrive", LevelKey(true, index), 3);
    }
    return level;
}

void SimCard::SetCurrentLevel(int index, const std::vector<int>& level) {
    store_.SetInts("Overdrive", LevelKey(false, index), level);
}

void SimCard::RecordVddcWrite(int vddc) {
    std::vector<int> writes;
    for (const std::string& item : SplitList(store_.GetString("Overdrive", "VddcWrites"))) {
        writes.push_back(ParseInt(item).value_or(0));
    }
    writes.push_back(vddc);
    if (writes.size() > kKeptVddcWrites) {
        writes.erase(writes.begin(), writes.end() - kKeptVddcWrites);
    }
    store_.SetInts("Overdrive", "VddcWrites", writes);
}

SimRange SimCard::Range(const char* key) const {
    const std::vector<int> values = store_.GetInts("Overdrive", key, 3);
    return SimRange{values[0], values[1], values[2]};
}

int SimCard::EngineLimit() const {
    return store_.GetInt("Overdrive", "EngineLimit", EngineRange().maximum);
}

int SimCard::MemoryLimit() const {
    return store_.GetInt("Overdrive", "MemoryLimit", MemoryRange().maximum);
}

bool SimCard::AcceptsClocks(int engineClock, int memoryClock) const {
    return engineClock >= EngineRange().minimum && engineClock <= EngineLimit() &&
           memoryClock >= MemoryRange().minimum && memoryClock <= MemoryLimit();
}

int SimCard::EngineClock() const {
    return store_.GetInt("Overdrive", "EngineClock", 0);
}

int SimCard::MemoryClock() const {
    return store_.GetInt("Overdrive", "MemoryClock", 0);
}

void SimCard::SetClocks(int engineClock, int memoryClock) {
    store_.SetInt("Overdrive", "EngineClock", engineClock);
    store_.SetInt("Overdrive", "MemoryClock", memoryClock);
}

std::vector<int> SimCard::FanRange() const {
    return store_.GetInts("Fan", "Range", 4);
}

int SimCard::FanPercent() const {
    return store_.GetInt("Fan", "Percent", 0);
}

void SimCard::SetFanPercent(int percent) {
    store_.SetInt("Fan", "Percent", percent);
    store_.SetInt("Fan", "Automatic", 0);
}

void SimCard::SetFanAutomatic() {
    store_.SetInt("Fan", "Automatic", 1);
    const std::vector<int> range = FanRange();
    store_.SetInt("Fan", "Percent", AutomaticFanPercent(Temperature(), range[0], range[1]));
}

int SimCard::Temperature() const {
    const std::string fixed = store_.GetString("Thermal", "Fixed");
    if (!fixed.empty()) {
        return store_.GetInt("Thermal", "Fixed", 0);
    }
    return store_.GetInt("Thermal", "Temperature", 50000);
}

void SimCard::UpdateThermal() {
    const int64_t now = NowMs();
    const int64_t updated = store_.GetInt64("Thermal", "Updated", 0);
    int temperature = store_.GetInt("Thermal", "Temperature", 50000);
    const bool automatic = store_.GetInt("Fan", "Automatic", 1) != 0;
    const std::vector<int> fan = FanRange();
    if (updated > 0) {
        const HeatSources sources{EngineClock(), MemoryClock(), Level(false, 0)[2], FanPercent()};
        const int64_t elapsed = std::clamp<int64_t>(now - updated, 0, kLongestThermalStepMs);
        temperature = AdvanceTemperature(temperature, TargetTemperature(sources), elapsed);
        store_.SetInt("Thermal", "Temperature", temperature);
    }
    store_.SetInt64("Thermal", "Updated", now);
    if (automatic) {
        store_.SetInt("Fan", "Percent", AutomaticFanPercent(temperature, fan[0], fan[1]));
    }
}

}  // namespace sim
