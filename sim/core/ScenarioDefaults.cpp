#include "sim/core/ScenarioDefaults.h"

namespace sim {

namespace {

// A plausible mid-range card: engine 500-900 MHz (1100 with the program's headroom), memory
// 900-1300 MHz, three performance levels, fan 20-100 %, one adapter with one display.
const std::vector<StateKey>& DefaultCard() {
    static const std::vector<StateKey> keys = {
        {"Sim", "Scenario", "Default"},
        {"Sim", "Missing", ""},
        {"Sim", "MissingExports", ""},
        {"Sim", "Refuse", ""},
        {"Sim", "Note", ""},
        {"Overdrive", "Levels", "3"},
        {"Overdrive", "ActivityReporting", "1"},
        {"Overdrive", "DiscreteLevels", "1"},
        {"Overdrive", "EngineRange", "50000,90000,500"},
        {"Overdrive", "MemoryRange", "90000,130000,500"},
        {"Overdrive", "VddcRange", "900,1300,25"},
        {"Overdrive", "EngineLimit", "110000"},
        {"Overdrive", "MemoryLimit", "130000"},
        {"Overdrive", "EngineClock", "70000"},
        {"Overdrive", "MemoryClock", "100000"},
        {"Overdrive", "DefaultLevel0", "70000,100000,1150"},
        {"Overdrive", "DefaultLevel1", "60000,100000,1050"},
        {"Overdrive", "DefaultLevel2", "50000,90000,950"},
        {"Overdrive", "CurrentLevel0", "70000,100000,1150"},
        {"Overdrive", "CurrentLevel1", "60000,100000,1050"},
        {"Overdrive", "CurrentLevel2", "50000,90000,950"},
        {"Overdrive", "VddcWrites", ""},
        {"Fan", "Range", "20,100,800,4000"},
        {"Fan", "Percent", "45"},
        {"Fan", "Automatic", "1"},
        {"Thermal", "Temperature", "55000"},
        {"Thermal", "Updated", "0"},
        {"Thermal", "Fixed", ""},
        {"Avivo", "Setting5", "0,-100,100,1"},
        {"Avivo", "Setting6", "100,0,200,1"},
        {"Avivo", "Setting7", "9,4,14,1"},
        {"Display", "Rotation", "0"},
        {"Adapters", "Count", "1"},
        {"Adapter0", "Index", "0"},
        {"Adapter0", "Name", "ATI Radeon HD 4850 (simulated)"},
        {"Adapter0", "Displays", "1"},
        {"Adapter0", "NullBuffer", "0"},
        {"Adapter0.Display0", "LogicalIndex", "0"},
        {"Adapter0.Display0", "LogicalAdapterIndex", "0"},
        {"Adapter0.Display0", "Connected", "1"},
        {"Adapter0.Display0", "Mapped", "1"},
        {"Adapter0.Display0", "Caps", "3"},
        {"Adapter0.Display0", "Valid", "3"},
        {"Adapter0.Display0", "Brightness", "0,0,-100,100,1"},
        {"Adapter0.Display0", "Contrast", "100,100,0,200,1"},
    };
    return keys;
}

struct Scenario {
    const char* name;
    std::vector<StateKey> changes;
};

const std::vector<Scenario>& Scenarios() {
    static const std::vector<Scenario> scenarios = {
        {"Default", {}},
        // Only the second adapter's display supports contrast.
        {"TwoAdapters",
         {
             {"Adapters", "Count", "2"},
             {"Adapter0.Display0", "Caps", "1"},
             {"Adapter1", "Index", "1"},
             {"Adapter1", "Name", "ATI Radeon HD 4850 (simulated, second output)"},
             {"Adapter1", "Displays", "1"},
             {"Adapter1", "NullBuffer", "0"},
             {"Adapter1.Display0", "LogicalIndex", "1"},
             {"Adapter1.Display0", "LogicalAdapterIndex", "1"},
             {"Adapter1.Display0", "Connected", "1"},
             {"Adapter1.Display0", "Mapped", "1"},
             {"Adapter1.Display0", "Caps", "3"},
             {"Adapter1.Display0", "Valid", "3"},
             {"Adapter1.Display0", "Brightness", "10,10,-100,100,1"},
             {"Adapter1.Display0", "Contrast", "90,100,0,200,1"},
         }},
        // The first display is connected but not mapped to the desktop; the second is both.
        {"UnmappedDisplay",
         {
             {"Adapter0", "Displays", "2"},
             {"Adapter0.Display0", "Mapped", "0"},
             {"Adapter0.Display1", "LogicalIndex", "1"},
             {"Adapter0.Display1", "LogicalAdapterIndex", "0"},
             {"Adapter0.Display1", "Connected", "1"},
             {"Adapter0.Display1", "Mapped", "1"},
             {"Adapter0.Display1", "Caps", "3"},
             {"Adapter0.Display1", "Valid", "3"},
             {"Adapter0.Display1", "Brightness", "5,0,-100,100,1"},
             {"Adapter0.Display1", "Contrast", "110,100,0,200,1"},
         }},
        // Level 0 runs below its default voltage, so putting back the current voltage and
        // putting back the default one can be told apart.
        {"Undervolted", {{"Overdrive", "CurrentLevel0", "70000,100000,1100"}}},
        {"LevelsZero", {{"Overdrive", "Levels", "0"}}},
        {"LevelsNegative", {{"Overdrive", "Levels", "-3"}}},
        {"LevelsHuge", {{"Overdrive", "Levels", "1000000000"}}},
        {"AdaptersHuge", {{"Adapters", "Count", "2000000000"}}},
        {"DisplayNullBuffer", {{"Adapter0", "Displays", "3"}, {"Adapter0", "NullBuffer", "1"}}},
        // More displays reported than the buffer ADL hands out holds.
        {"DisplaysHuge", {{"Adapter0", "Displays", "100000"}}},
        {"ColdTemperature", {{"Thermal", "Fixed", "-15000"}}},
        {"HotTemperature", {{"Thermal", "Fixed", "250000"}}},
        // One level more than a levels record holds.
        {"LevelsNine", {{"Overdrive", "Levels", "9"}}},
        {"LevelsMinusOne", {{"Overdrive", "Levels", "-1"}}},
        // Every overdrive range reported with its ends swapped.
        {"RangesInverted",
         {
             {"Overdrive", "EngineRange", "90000,50000,500"},
             {"Overdrive", "MemoryRange", "130000,90000,500"},
             {"Overdrive", "VddcRange", "1300,900,25"},
         }},
        {"StepZero",
         {
             {"Overdrive", "EngineRange", "50000,90000,0"},
             {"Overdrive", "MemoryRange", "90000,130000,0"},
             {"Overdrive", "VddcRange", "900,1300,0"},
         }},
        // The fan's minimum above its maximum, in percent and in RPM.
        {"FanRangeInverted", {{"Fan", "Range", "80,30,4000,800"}}},
        {"ColourRangesInverted",
         {
             {"Adapter0.Display0", "Brightness", "0,0,100,-100,1"},
             {"Adapter0.Display0", "Contrast", "100,100,200,0,1"},
         }},
        {"AdaptersNegative", {{"Adapters", "Count", "-5"}}},
    };
    return scenarios;
}

}  // namespace

std::vector<StateKey> ScenarioKeys(std::string_view scenario) {
    std::vector<StateKey> keys = DefaultCard();
    for (const Scenario& candidate : Scenarios()) {
        if (!EqualsIgnoreCase(candidate.name, scenario)) {
            continue;
        }
        keys.front().value = candidate.name;
        for (const StateKey& change : candidate.changes) {
            bool replaced = false;
            for (StateKey& key : keys) {
                if (EqualsIgnoreCase(key.section, change.section) &&
                    EqualsIgnoreCase(key.key, change.key)) {
                    key.value = change.value;
                    replaced = true;
                }
            }
            if (!replaced) {
                keys.push_back(change);
            }
        }
    }
    return keys;
}

std::vector<std::string> ScenarioNames() {
    std::vector<std::string> names;
    for (const Scenario& scenario : Scenarios()) {
        names.emplace_back(scenario.name);
    }
    return names;
}

bool CompleteFromScenario(IniDocument& doc) {
    const std::string scenario = doc.Get("Sim", "Scenario").value_or("Default");
    bool added = false;
    for (const StateKey& key : ScenarioKeys(scenario)) {
        if (!doc.Has(key.section, key.key)) {
            doc.Set(key.section, key.key, key.value);
            added = true;
        }
    }
    return added;
}

}  // namespace sim
