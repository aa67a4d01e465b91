// The simulated adapter's pure parts: its state document, its scenarios and its thermal model.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <climits>

#include "sim/core/IniDocument.h"
#include "sim/core/ScenarioDefaults.h"
#include "sim/core/ThermalModel.h"

namespace {

using sim::IniDocument;

TEST(SimStateDocumentTest, ReadsKeysWithoutRegardToCaseAndRewritesInPlace) {
    IniDocument doc = IniDocument::Parse(
        "; comment\r\n[Fan]\r\nPercent = 45\r\nAutomatic=1\r\n\r\n[Thermal]\nFixed=\n");
    EXPECT_EQ(doc.Get("fan", "PERCENT"), "45");
    EXPECT_EQ(doc.Get("Thermal", "Fixed"), "");
    EXPECT_FALSE(doc.Get("Thermal", "Missing").has_value());

    doc.Set("FAN", "percent", "60");
    doc.Set("Display", "Rotation", "2");
    EXPECT_EQ(doc.Serialize(),
              "[Fan]\r\nPercent=60\r\nAutomatic=1\r\n\r\n[Thermal]\r\nFixed=\r\n\r\n"
              "[Display]\r\nRotation=2\r\n");
    EXPECT_EQ(IniDocument::Parse(doc.Serialize()).Serialize(), doc.Serialize());
}

TEST(SimStateDocumentTest, IntegersSaturateAndListsDropEmptyItems) {
    EXPECT_EQ(sim::ParseInt("-15000"), -15000);
    EXPECT_EQ(sim::ParseInt(" +7 "), 7);
    EXPECT_EQ(sim::ParseInt("99999999999999999999"), INT_MAX);
    EXPECT_EQ(sim::ParseInt("-99999999999999999999"), INT_MIN);
    EXPECT_FALSE(sim::ParseInt("12a").has_value());
    EXPECT_FALSE(sim::ParseInt("-").has_value());
    EXPECT_THAT(sim::SplitList(" a, ,b ,c,"), ::testing::ElementsAre("a", "b", "c"));
}

TEST(SimScenarioTest, MissingKeysComeFromTheNamedScenario) {
    IniDocument doc = IniDocument::Parse("[Sim]\nScenario=TwoAdapters\n[Adapters]\nCount=3\n");
    EXPECT_TRUE(sim::CompleteFromScenario(doc));
    EXPECT_EQ(doc.Get("Adapters", "Count"), "3");  // the file wins
    EXPECT_EQ(doc.Get("Adapter0.Display0", "Caps"), "1");
    EXPECT_EQ(doc.Get("Adapter1.Display0", "Caps"), "3");
    EXPECT_EQ(doc.Get("Overdrive", "Levels"), "3");
    EXPECT_FALSE(sim::CompleteFromScenario(doc));
}

TEST(SimScenarioTest, EveryScenarioDescribesACompleteCard) {
    const size_t defaultKeys = sim::ScenarioKeys("Default").size();
    for (const std::string& name : sim::ScenarioNames()) {
        const std::vector<sim::StateKey> keys = sim::ScenarioKeys(name);
        EXPECT_GE(keys.size(), defaultKeys) << name;
        EXPECT_EQ(keys.front().value, name);
    }
    // An unknown name is the default card.
    EXPECT_EQ(sim::ScenarioKeys("NoSuchScenario").size(), defaultKeys);
}

TEST(SimThermalModelTest, TargetRisesWithClocksAndVoltageAndFallsWithFan) {
    const sim::HeatSources stock{70000, 100000, 1150, 45};
    const int base = sim::TargetTemperature(stock);
    EXPECT_GT(base, 40000);
    EXPECT_LT(base, 80000);

    sim::HeatSources overclocked = stock;
    overclocked.engineClock = 110000;
    EXPECT_GT(sim::TargetTemperature(overclocked), base);
    sim::HeatSources overvolted = stock;
    overvolted.vddc = 1300;
    EXPECT_GT(sim::TargetTemperature(overvolted), base);
    sim::HeatSources cooled = stock;
    cooled.fanPercent = 100;
    EXPECT_LT(sim::TargetTemperature(cooled), base);
}

TEST(SimThermalModelTest, TemperatureSettlesOverSecondsAndIgnoresBackwardTime) {
    const int start = 50000;
    const int target = 80000;
    const int afterOneSecond = sim::AdvanceTemperature(start, target, 1000);
    EXPECT_GT(afterOneSecond, start);
    EXPECT_LT(afterOneSecond, 60000);
    EXPECT_NEAR(sim::AdvanceTemperature(start, target, 30000), target, 100);
    EXPECT_EQ(sim::AdvanceTemperature(start, target, -5000), start);
    EXPECT_LT(sim::AdvanceTemperature(target, start, 2000), target);
}

TEST(SimThermalModelTest, AutomaticFanFollowsTemperatureWithinItsRange) {
    EXPECT_EQ(sim::AutomaticFanPercent(30000, 20, 100), 20);
    EXPECT_EQ(sim::AutomaticFanPercent(60000, 20, 100), 50);
    EXPECT_EQ(sim::AutomaticFanPercent(150000, 20, 100), 100);
}

}  // namespace
