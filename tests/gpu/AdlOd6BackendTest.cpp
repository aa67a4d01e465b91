// The Overdrive 6 backend against a fake display library: the two-level state record without a
// size word, the capability flags, and the fan's percent control.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

#include "gpu/core/AdlOd6Backend.h"
#include "tests/gpu/FakeAdlContext.h"

namespace {

struct Od6Card {
    ADLOD6Capabilities caps{};
    ADLOD6PerformanceLevel defaults[2]{};
    ADLOD6PerformanceLevel custom[2]{};
    // The level count the driver writes back into the record it fills.
    int32_t answeredCount = kOd6LevelCount;
    int setResult = 0;
    std::vector<std::pair<int, ADLOD6StateInfo>> written;
    ADLOD6ThermalControllerCaps thermal{};
    ADLOD6FanSpeedInfo fan{};
    std::vector<ADLOD6FanSpeedValue> fanWrites;
    int temperature = 0;
    std::chrono::microseconds temperatureDelay{0};
};

Od6Card& Card() {
    static Od6Card card;
    return card;
}

void LoadCard() {
    Od6Card& card = Card();
    card = Od6Card{};
    card.caps.iCapabilities = kAdlOd6CapabilityEngineClock | kAdlOd6CapabilityMemoryClock;
    card.caps.iSupportedStates = 1;
    card.caps.iNumberOfPerformanceLevels = 2;
    card.caps.sEngineClockRange = {30000, 120000, 500};
    card.caps.sMemoryClockRange = {15000, 160000, 500};
    card.defaults[0] = {30000, 15000};
    card.defaults[1] = {94700, 125000};
    card.custom[0] = card.defaults[0];
    card.custom[1] = card.defaults[1];
    card.thermal = {kAdlOd6FanSpeedControl | kAdlOd6FanPercentRead | kAdlOd6FanPercentWrite,
                    20,
                    100,
                    1000,
                    4500,
                    0,
                    0};
    card.fan = {kAdlOd6FanSpeedTypePercent, 41, 2100, 0, 0};
    card.temperature = 64000;
}

DriverEntries Od6Entries() {
    fakeadl::FreshContext fresh;
    DriverEntries entries = fakeadl::ContextEntries();
    entries.ADL2_Overdrive6_Capabilities_Get = [](AdlContextHandle h, int,
                                                  ADLOD6Capabilities* caps) {
        fakeadl::CallScope scope(h);
        *caps = Card().caps;
        return 0;
    };
    entries.ADL2_Overdrive6_StateInfo_Get = [](AdlContextHandle h, int, int type,
                                               ADLOD6StateInfo* state) {
        fakeadl::CallScope scope(h);
        // A driver fills as many levels as the caller named: the record's only sizing.
        if (state->iNumberOfPerformanceLevels != kOd6LevelCount) {
            return -3;
        }
        const ADLOD6PerformanceLevel* from =
            type == kAdlOd6StateDefaultPerformance ? Card().defaults : Card().custom;
        state->aLevels[0] = from[0];
        state->aLevels[1] = from[1];
        state->iNumberOfPerformanceLevels = Card().answeredCount;
        return 0;
    };
    entries.ADL2_Overdrive6_State_Set = [](AdlContextHandle h, int, int type,
                                           ADLOD6StateInfo* state) {
        fakeadl::CallScope scope(h);
        Card().written.emplace_back(type, *state);
        return Card().setResult;
    };
    entries.ADL2_Overdrive6_ThermalController_Caps = [](AdlContextHandle h, int,
                                                        ADLOD6ThermalControllerCaps* caps) {
        fakeadl::CallScope scope(h);
        *caps = Card().thermal;
        return 0;
    };
    entries.ADL2_Overdrive6_FanSpeed_Get = [](AdlContextHandle h, int, ADLOD6FanSpeedInfo* fan) {
        fakeadl::CallScope scope(h);
        *fan = Card().fan;
        return 0;
    };
    entries.ADL2_Overdrive6_FanSpeed_Set = [](AdlContextHandle h, int, ADLOD6FanSpeedValue* value) {
        fakeadl::CallScope scope(h);
        Card().fanWrites.push_back(*value);
        return 0;
    };
    entries.ADL2_Overdrive6_Temperature_Get = [](AdlContextHandle h, int, int* temperature) {
        fakeadl::CallScope scope(h);
        std::this_thread::sleep_for(Card().temperatureDelay);
        *temperature = Card().temperature;
        return 0;
    };
    return entries;
}

class Od6Backend : public ::testing::Test {
  protected:
    void SetUp() override { LoadCard(); }
    void TearDown() override { EXPECT_EQ(fakeadl::Context().strayCalls, 0); }

    DriverEntries entries = Od6Entries();
    AdlContext context{entries};
    AdlOd6Backend backend{context, 0};
};

TEST_F(Od6Backend, OnlyTheTwoLevelRangeTheSdkDescribesIsUsed) {
    for (int32_t count : {0, 1, 3, 8, -2}) {
        Card().caps.iNumberOfPerformanceLevels = count;
        EXPECT_FALSE(backend.Capabilities()) << count;
        EXPECT_FALSE(backend.Apply({900, std::nullopt, std::nullopt})) << count;
    }
    EXPECT_TRUE(Card().written.empty());
}

TEST_F(Od6Backend, AnAnswerNamingAnotherLevelCountIsNotRead) {
    Card().answeredCount = 5;
    EXPECT_FALSE(backend.Settings(false));
    EXPECT_FALSE(backend.Apply({900, std::nullopt, std::nullopt}));
    EXPECT_TRUE(Card().written.empty());
}

TEST_F(Od6Backend, TheMaximumLevelIsEditedAndTheMinimumGoesBackAsItWas) {
    const std::optional<OverdriveSettings> settings = backend.Settings(false);
    ASSERT_TRUE(settings);
    EXPECT_EQ(settings->engineMHz, 947);
    EXPECT_EQ(settings->memoryMHz, 1250);
    EXPECT_FALSE(settings->voltageKnown);

    Card().custom[0] = {31000, 15000};
    ASSERT_TRUE(backend.Apply({1050, std::nullopt, std::nullopt}));
    ASSERT_EQ(Card().written.size(), 1u);
    const auto& [type, state] = Card().written[0];
    EXPECT_EQ(type, kAdlOd6SetStatePerformance);
    EXPECT_EQ(state.iNumberOfPerformanceLevels, 2);
    EXPECT_EQ(state.aLevels[0].iEngineClock, 31000);
    EXPECT_EQ(state.aLevels[1].iEngineClock, 105000);
    EXPECT_EQ(state.aLevels[1].iMemoryClock, 125000);
}

TEST_F(Od6Backend, CapabilityFlagsDecideWhatIsEditableAndVoltageNeverIs) {
    Card().caps.iCapabilities = kAdlOd6CapabilityMemoryClock;
    const std::optional<OverdriveCapabilities> caps = backend.Capabilities();
    ASSERT_TRUE(caps);
    EXPECT_FALSE(caps->engineMHz);
    EXPECT_FALSE(caps->voltageMilliVolts);
    EXPECT_EQ(caps->memoryMHz->maximum, 1600);
    EXPECT_EQ(caps->fanPercent->minimum, 20);
    EXPECT_FALSE(backend.Apply({900, std::nullopt, std::nullopt}));
    EXPECT_FALSE(backend.Apply({std::nullopt, 1300, 1100}));
    EXPECT_TRUE(Card().written.empty());
    EXPECT_TRUE(backend.Apply({std::nullopt, 1300, std::nullopt}));
}

TEST_F(Od6Backend, TheFanIsAPercentOnlyWhereTheThermalControllerSaysSo) {
    EXPECT_EQ(backend.FanPercent(), 41);
    ASSERT_EQ(backend.SetFanPercent(70), DriverWrite::Accepted);
    EXPECT_EQ(Card().fanWrites.at(0).iSpeedType, kAdlOd6FanSpeedTypePercent);
    EXPECT_EQ(Card().fanWrites.at(0).iFanSpeed, 70);

    Card().thermal.iCapabilities = kAdlOd6FanSpeedControl;  // RPM only
    EXPECT_FALSE(backend.FanPercent());
    EXPECT_EQ(backend.SetFanPercent(70), DriverWrite::NotMade);
    EXPECT_FALSE(backend.Capabilities()->fanPercent);
    EXPECT_EQ(Card().fanWrites.size(), 1u);
}

TEST_F(Od6Backend, CallsFromSeveralThreadsNeverRunAtOnceInTheContext) {
    Card().temperatureDelay = std::chrono::microseconds(200);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([this] {
            for (int i = 0; i < 25; ++i) {
                EXPECT_EQ(backend.Temperature(), 64000);
                (void)backend.Settings(false);
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(fakeadl::Context().overlaps, 0);
}

}  // namespace
