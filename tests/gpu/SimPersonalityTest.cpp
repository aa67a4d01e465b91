// The simulated adapter's personalities: each scenario speaks the Overdrive generation it is
// named for, and only today's card keeps the ATIDL library answering.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "sim/core/IniDocument.h"
#include "sim/core/ScenarioDefaults.h"
#include "sim/core/SimPersonality.h"

namespace {

struct Expected {
    const char* scenario;
    int version;
    bool atidlAnswers;
    const char* missing;
};

TEST(SimPersonalityTest, EveryPersonalityScenarioSpeaksItsGeneration) {
    const Expected expected[] = {{"Default", 5, true, ""},
                                 {"Od5", 5, false, "atipdlxx"},
                                 {"Od6", 6, false, ""},
                                 {"OdN", 7, false, "atipdlxx"},
                                 {"Od8", 8, false, "atipdlxx"},
                                 // Hostile variants keep their personality's card.
                                 {"Od5LevelsHuge", 5, false, "atipdlxx"},
                                 {"Od6RangesInverted", 6, false, ""},
                                 {"OdNLevelsNegative", 7, false, "atipdlxx"},
                                 {"Od8CountBeyondRoom", 8, false, "atipdlxx"}};
    for (const Expected& e : expected) {
        sim::IniDocument doc =
            sim::IniDocument::Parse(std::string("[Sim]\nScenario=") + e.scenario);
        sim::CompleteFromScenario(doc);
        const sim::Personality personality =
            sim::ParsePersonality(doc.Get("Sim", "Personality").value_or(""));
        EXPECT_EQ(sim::OverdriveVersion(personality), e.version) << e.scenario;
        EXPECT_EQ(sim::AnswersAtidlOverdrive(personality), e.atidlAnswers) << e.scenario;
        EXPECT_EQ(doc.Get("Sim", "Missing"), e.missing) << e.scenario;
    }
}

TEST(SimPersonalityTest, NamesMatchWithoutRegardToCaseAndUnknownOnesAreTodaysCard) {
    EXPECT_EQ(sim::ParsePersonality("odn"), sim::Personality::OdN);
    EXPECT_EQ(sim::ParsePersonality("OD8"), sim::Personality::Od8);
    EXPECT_EQ(sim::ParsePersonality(""), sim::Personality::Atidl);
    EXPECT_EQ(sim::ParsePersonality("Od7"), sim::Personality::Atidl);
}

}  // namespace
