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
    // The scenario whose changes come first: a hostile variant of a personality's card.
    const char* base = nullptr;
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
        // The same card as Default without the ATIDL library: Overdrive 5 through ADL only.
        // Its levels run from idle (level 0) up to full load (level 2), as ADL reports them.
        {"Od5",
         {
             {"Sim", "Personality", "Od5"},
             {"Sim", "Missing", "atipdlxx"},
             {"Overdrive", "DefaultLevel0", "50000,90000,950"},
             {"Overdrive", "DefaultLevel1", "60000,100000,1050"},
             {"Overdrive", "DefaultLevel2", "70000,100000,1150"},
             {"Overdrive", "CurrentLevel0", "50000,90000,950"},
             {"Overdrive", "CurrentLevel1", "60000,100000,1050"},
             {"Overdrive", "CurrentLevel2", "70000,100000,1150"},
         }},
        // A Radeon R9 290 (Hawaii): Overdrive 6. The ATIDL library still loads but refuses its
        // Overdrive calls, as an old library does for a card it does not know.
        {"Od6",
         {
             {"Sim", "Personality", "Od6"},
             {"Adapter0", "Name", "AMD Radeon R9 200 Series (simulated)"},
             {"Od6", "Capabilities", "7"},
             {"Od6", "Levels", "2"},
             {"Od6", "EngineRange", "30000,120000,500"},
             {"Od6", "MemoryRange", "15000,160000,500"},
             {"Od6", "DefaultMin", "30000,15000"},
             {"Od6", "DefaultMax", "94700,125000"},
             {"Od6", "CustomMin", "30000,15000"},
             {"Od6", "CustomMax", "94700,125000"},
             {"Od6", "EngineClock", "94700"},
             {"Od6", "MemoryClock", "125000"},
             {"Od6", "Activity", "35"},
             {"Od6", "ThermalCaps", "3843"},
             {"Fan", "Range", "20,100,1000,4700"},
         }},
        // A Radeon RX 580 (Polaris): OverdriveN. Its first adapter record is an inactive one of
        // the same card, so the card is addressed as adapter 1.
        {"OdN",
         {
             {"Sim", "Personality", "OdN"},
             {"Sim", "Missing", "atipdlxx"},
             {"Adapters", "Count", "2"},
             {"Adapter0", "Name", "Radeon RX 580 Series (simulated)"},
             {"Adapter0", "Active", "0"},
             {"Adapter1", "Index", "1"},
             {"Adapter1", "Name", "Radeon RX 580 Series (simulated)"},
             {"Adapter1", "Displays", "0"},
             {"Adapter1", "NullBuffer", "0"},
             {"Adapter1", "Active", "1"},
             {"OdN", "Flags", "1023"},
             {"OdN", "MaxLevels", "8"},
             {"OdN", "EngineRange", "30000,200000,100,134000"},
             {"OdN", "MemoryRange", "30000,250000,100,200000"},
             {"OdN", "VddcRange", "750,1200,1,1150"},
             {"OdN", "FanSpeedRange", "0,3200,1,2200"},
             {"OdN", "EngineLevels", "8"},
             {"OdN", "EngineDefault0", "30000,750,1,3"},
             {"OdN", "EngineDefault1", "60000,769,1,3"},
             {"OdN", "EngineDefault2", "90000,906,1,3"},
             {"OdN", "EngineDefault3", "114500,1000,1,3"},
             {"OdN", "EngineDefault4", "121500,1075,1,3"},
             {"OdN", "EngineDefault5", "125700,1100,1,3"},
             {"OdN", "EngineDefault6", "130000,1125,1,3"},
             {"OdN", "EngineDefault7", "134000,1150,1,3"},
             {"OdN", "MemoryLevels", "3"},
             {"OdN", "MemoryDefault0", "30000,750,1,3"},
             {"OdN", "MemoryDefault1", "100000,800,1,3"},
             {"OdN", "MemoryDefault2", "200000,950,1,3"},
             {"OdN", "CoreClock", "134000"},
             {"OdN", "MemoryClock", "200000"},
             {"OdN", "Activity", "40"},
             {"OdN", "FanControl", "2,1,1,1450,2200,75,0,1000"},
         }},
        // A Radeon RX 5700 XT (Navi 10): Overdrive 8, with the performance log.
        {"Od8",
         {
             {"Sim", "Personality", "Od8"},
             {"Sim", "Missing", "atipdlxx"},
             {"Adapter0", "Name", "AMD Radeon RX 5700 XT (simulated)"},
             {"Od8", "FeatureCount", "52"},
             {"Od8", "Capabilities", "9215"},
             {"Od8", "Init0", "800,2100,1980"},
             {"Od8", "Init1", "800,2100,800"},
             {"Od8", "Init2", "800,2100,800"},
             {"Od8", "Init3", "700,1200,711"},
             {"Od8", "Init4", "800,2100,1390"},
             {"Od8", "Init5", "700,1200,806"},
             {"Od8", "Init6", "800,2100,1980"},
             {"Od8", "Init7", "700,1200,1196"},
             {"Od8", "Init8", "625,930,875"},
             {"Od8", "Init9", "-50,50,0"},
             {"Od8", "Init10", "0,100,23"},
             {"Od8", "Init11", "500,3200,2200"},
             {"Od8", "Init12", "25,110,90"},
             {"Od8", "Init13", "50,110,110"},
             {"Od8", "Init19", "25,110,35"},
             {"Od8", "Init20", "0,100,23"},
             {"Od8", "Init21", "25,110,50"},
             {"Od8", "Init22", "0,100,30"},
             {"Od8", "Init23", "25,110,65"},
             {"Od8", "Init24", "0,100,45"},
             {"Od8", "Init25", "25,110,80"},
             {"Od8", "Init26", "0,100,65"},
             {"Od8", "Init27", "25,110,95"},
             {"Od8", "Init28", "0,100,90"},
             {"Od8", "GfxClock", "1887"},
             {"Od8", "MemClock", "875"},
             {"Od8", "Activity", "45"},
         }},
        // Hostile answers of the display library's generations, each on its personality's card.
        {"Od5LevelsHuge", {{"Overdrive", "Levels", "1000000000"}}, "Od5"},
        {"Od6RangesInverted",
         {
             {"Od6", "EngineRange", "120000,30000,500"},
             {"Od6", "MemoryRange", "160000,15000,500"},
         },
         "Od6"},
        // Capabilities that name three levels for a state record the SDK gives two.
        {"Od6LevelsThree", {{"Od6", "Levels", "3"}}, "Od6"},
        {"OdNLevelsHuge", {{"OdN", "MaxLevels", "1000000000"}}, "OdN"},
        {"OdNLevelsNegative", {{"OdN", "MaxLevels", "-3"}}, "OdN"},
        {"OdNRangesInverted",
         {
             {"OdN", "EngineRange", "200000,30000,100,134000"},
             {"OdN", "MemoryRange", "250000,30000,100,200000"},
             {"OdN", "VddcRange", "1200,750,1,1150"},
         },
         "OdN"},
        // More settings than the program's records hold, and a count beyond the list handed out.
        {"Od8CountBeyondRoom",
         {{"Od8", "FeatureCount", "120"}, {"Od8", "ReportedCount", "100000"}},
         "Od8"},
        {"Od8RangesInverted",
         {{"Od8", "Init0", "2100,800,1980"}, {"Od8", "Init8", "930,625,875"}},
         "Od8"},
    };
    return scenarios;
}

const Scenario* FindScenario(std::string_view name) {
    for (const Scenario& candidate : Scenarios()) {
        if (EqualsIgnoreCase(candidate.name, name)) {
            return &candidate;
        }
    }
    return nullptr;
}

void ApplyChanges(std::vector<StateKey>& keys, const std::vector<StateKey>& changes) {
    for (const StateKey& change : changes) {
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

}  // namespace

std::vector<StateKey> ScenarioKeys(std::string_view scenario) {
    std::vector<StateKey> keys = DefaultCard();
    const Scenario* found = FindScenario(scenario);
    if (found == nullptr) {
        return keys;
    }
    if (found->base != nullptr) {
        if (const Scenario* base = FindScenario(found->base)) {
            ApplyChanges(keys, base->changes);
        }
    }
    ApplyChanges(keys, found->changes);
    keys.front().value = found->name;
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
