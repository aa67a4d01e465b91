// The Overdrive 5 backend against a fake display library: level counts and ranges as a hostile
// driver reports them, the top level and its units, and the checks before every write.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "gpu/core/AdlOd5Backend.h"
#include "gpu/core/OverdriveUnits.h"
#include "tests/gpu/FakeAdlContext.h"
#include "tests/gpu/HostileInt.h"

namespace {

struct Od5Card {
    ADLODParameters params{};
    std::vector<ADLODPerformanceLevel> current;
    std::vector<ADLODPerformanceLevel> defaults;
    int setResult = 0;
    int levelQueries = 0;
    std::vector<ADLODPerformanceLevels> written;
    ADLFanSpeedInfo fanInfo{};
    std::vector<ADLFanSpeedValue> fanWrites;
    ADLPMActivity activity{};
};

Od5Card& Card() {
    static Od5Card card;
    return card;
}

void LoadCard() {
    Od5Card& card = Card();
    card = Od5Card{};
    card.params.iNumberOfPerformanceLevels = 3;
    card.params.sEngineClock = {15000, 90050, 500};
    card.params.sMemoryClock = {90000, 130000, 500};
    card.params.sVddc = {900, 1300, 25};
    card.defaults = {{15000, 90000, 950}, {50000, 90000, 1050}, {70000, 100000, 1150}};
    card.current = card.defaults;
    card.fanInfo = {24,  kAdlFanSupportsPercentRead | kAdlFanSupportsPercentWrite, 20, 100, 800,
                    4000};
    card.activity = {40, 69999, 100000, 1150, 50, 2, 0, 16, 16, 0};
}

DriverEntries Od5Entries() {
    fakeadl::FreshContext fresh;
    DriverEntries entries = fakeadl::ContextEntries();
    entries.ADL2_Overdrive5_ODParameters_Get = [](AdlContextHandle h, int, ADLODParameters* p) {
        fakeadl::CallScope scope(h);
        if (p->iSize != sizeof(ADLODParameters)) {
            return -3;
        }
        *p = Card().params;
        return 0;
    };
    entries.ADL2_Overdrive5_ODPerformanceLevels_Get = [](AdlContextHandle h, int, int defaults,
                                                         ADLODPerformanceLevels* levels) {
        fakeadl::CallScope scope(h);
        ++Card().levelQueries;
        const auto& from = defaults != 0 ? Card().defaults : Card().current;
        if (levels->iSize != PerformanceLevelsSize(static_cast<int32_t>(from.size()))) {
            return -3;
        }
        for (size_t i = 0; i < from.size(); ++i) {
            levels->aLevels[i] = from[i];
        }
        levels->iSize = 0x7FFF;  // what a careless driver may leave behind
        return 0;
    };
    entries.ADL2_Overdrive5_ODPerformanceLevels_Set = [](AdlContextHandle h, int,
                                                         ADLODPerformanceLevels* levels) {
        fakeadl::CallScope scope(h);
        Card().written.push_back(*levels);
        return Card().setResult;
    };
    entries.ADL2_Overdrive5_FanSpeedInfo_Get = [](AdlContextHandle h, int, int,
                                                  ADLFanSpeedInfo* info) {
        fakeadl::CallScope scope(h);
        *info = Card().fanInfo;
        return 0;
    };
    entries.ADL2_Overdrive5_FanSpeed_Set = [](AdlContextHandle h, int, int,
                                              ADLFanSpeedValue* value) {
        fakeadl::CallScope scope(h);
        Card().fanWrites.push_back(*value);
        return 0;
    };
    entries.ADL2_Overdrive5_CurrentActivity_Get = [](AdlContextHandle h, int,
                                                     ADLPMActivity* activity) {
        fakeadl::CallScope scope(h);
        *activity = Card().activity;
        return 0;
    };
    return entries;
}

class Od5Backend : public ::testing::Test {
  protected:
    void SetUp() override { LoadCard(); }
    void TearDown() override { EXPECT_EQ(fakeadl::Context().strayCalls, 0); }

    DriverEntries entries = Od5Entries();
    AdlContext context{entries};
    AdlOd5Backend backend{context, 0};
};

TEST_F(Od5Backend, HostileLevelCountsLeaveEveryClockOperationUnavailable) {
    for (int32_t count : {0, -1, 9, INT_MAX, INT_MIN}) {
        Card().params.iNumberOfPerformanceLevels = count;
        EXPECT_FALSE(backend.Capabilities()) << count;
        EXPECT_FALSE(backend.Settings(false)) << count;
        EXPECT_FALSE(backend.Apply({800, std::nullopt, std::nullopt})) << count;
        EXPECT_FALSE(backend.RestoreDefaults()) << count;
    }
    // No levels record was ever sized from such a count.
    EXPECT_EQ(Card().levelQueries, 0);
    EXPECT_TRUE(Card().written.empty());
}

TEST_F(Od5Backend, RangesAreTheDriversInMHzRoundedInwardWithoutHeadroom) {
    const std::optional<OverdriveCapabilities> caps = backend.Capabilities();
    ASSERT_TRUE(caps);
    EXPECT_EQ(caps->engineMHz->minimum, 150);
    EXPECT_EQ(caps->engineMHz->maximum, 900);  // 90050 in 10 kHz; no 200 MHz added
    EXPECT_EQ(caps->memoryMHz->maximum, 1300);
    EXPECT_EQ(caps->voltageMilliVolts->minimum, 900);
    EXPECT_EQ(caps->fanPercent->minimum, 20);

    Card().params.sVddc = {1300, 900, 25};
    Card().fanInfo.iFlags = kAdlFanSupportsPercentRead;  // the fan can be read, not set
    const std::optional<OverdriveCapabilities> inverted = backend.Capabilities();
    ASSERT_TRUE(inverted);
    EXPECT_FALSE(inverted->voltageMilliVolts);
    EXPECT_FALSE(inverted->fanPercent);
    EXPECT_TRUE(inverted->engineMHz);
}

TEST_F(Od5Backend, SettingsAreTheHighestLevelsInMHzWithItsVoltage) {
    Card().current[2] = {72550, 110000, 1175};
    const std::optional<OverdriveSettings> settings = backend.Settings(false);
    ASSERT_TRUE(settings);
    EXPECT_EQ(settings->engineMHz, 725);
    EXPECT_EQ(settings->memoryMHz, 1100);
    EXPECT_EQ(settings->voltageMilliVolts, 1175);
    EXPECT_TRUE(settings->voltageKnown);
    EXPECT_EQ(backend.Settings(true)->engineMHz, 700);
}

TEST_F(Od5Backend, ApplyWritesOnlyTheTopLevelWithOurSizeWord) {
    Card().current[0].iVddc = 925;  // an undervolted idle level the user set elsewhere
    ASSERT_TRUE(backend.Apply({850, 1200, 1200}));
    ASSERT_EQ(Card().written.size(), 1u);
    const ADLODPerformanceLevels& written = Card().written[0];
    EXPECT_EQ(written.iSize, PerformanceLevelsSize(3));
    EXPECT_EQ(written.aLevels[0].iVddc, 925);
    EXPECT_EQ(written.aLevels[1].iEngineClock, 50000);
    EXPECT_EQ(written.aLevels[2].iEngineClock, 85000);
    EXPECT_EQ(written.aLevels[2].iMemoryClock, 120000);
    EXPECT_EQ(written.aLevels[2].iVddc, 1200);

    // A value left out keeps what the card runs.
    ASSERT_TRUE(backend.Apply({std::nullopt, 1000, std::nullopt}));
    EXPECT_EQ(Card().written[1].aLevels[2].iEngineClock, 70000);
    EXPECT_EQ(Card().written[1].aLevels[2].iVddc, 1150);
}

TEST_F(Od5Backend, ValuesOutsideTheRangesOrWithoutOneAreRefusedBeforeAnyWrite) {
    EXPECT_FALSE(backend.Apply({901, std::nullopt, std::nullopt}));
    EXPECT_FALSE(backend.Apply({149, std::nullopt, std::nullopt}));
    EXPECT_FALSE(backend.Apply({800, 1301, std::nullopt}));
    EXPECT_FALSE(backend.Apply({800, std::nullopt, 1325}));
    EXPECT_FALSE(backend.Apply({}));
    Card().params.sVddc = {1300, 900, 25};
    EXPECT_FALSE(backend.Apply({800, std::nullopt, 1000}));
    EXPECT_TRUE(Card().written.empty());
    EXPECT_TRUE(backend.Apply({800, std::nullopt, std::nullopt}));
}

TEST_F(Od5Backend, ARefusedWriteIsAFailure) {
    Card().setResult = -3;
    EXPECT_FALSE(backend.Apply({800, std::nullopt, std::nullopt}));
    Card().setResult = 1;  // done, with a note
    EXPECT_TRUE(backend.Apply({800, std::nullopt, std::nullopt}));
}

TEST_F(Od5Backend, FanPercentIsWrittenAsAUserSpeedOnlyInsideTheDriversRange) {
    EXPECT_EQ(backend.SetFanPercent(19), DriverWrite::Refused);
    EXPECT_EQ(backend.SetFanPercent(101), DriverWrite::Refused);
    EXPECT_TRUE(Card().fanWrites.empty());
    ASSERT_EQ(backend.SetFanPercent(55), DriverWrite::Accepted);
    const ADLFanSpeedValue& value = Card().fanWrites.at(0);
    EXPECT_EQ(value.iSize, 16);
    EXPECT_EQ(value.iSpeedType, kFanSpeedTypePercent);
    EXPECT_EQ(value.iFanSpeed, 55);
    EXPECT_EQ(value.iFlags, kFanSpeedFlagUserDefined);
}

TEST_F(Od5Backend, CurrentClocksComeFromTheActivityIn10kHz) {
    const std::optional<OverdriveClocks> clocks = backend.CurrentClocks();
    ASSERT_TRUE(clocks);
    EXPECT_EQ(clocks->engineMHz, 699);
    EXPECT_EQ(clocks->memoryMHz, 1000);
    Card().activity.iEngineClock = -5;
    EXPECT_FALSE(backend.CurrentClocks());
}

TEST_F(Od5Backend, RandomAnswersNeverLetAValueOutsideTheReportedRangeReachTheCard) {
    hostile::Values random(5);
    for (int round = 0; round < 3000; ++round) {
        Od5Card& card = Card();
        card.params.iNumberOfPerformanceLevels = random.Chance(70) ? 3 : random.Any();
        card.params.sEngineClock = {random.Near(15000), random.Near(90000), random.Any()};
        card.params.sMemoryClock = {random.Near(90000), random.Near(130000), random.Any()};
        card.params.sVddc = {random.Near(900), random.Near(1300), random.Any()};
        card.setResult = random.Chance(80) ? 0 : random.Any();
        card.written.clear();
        const OverdriveRequest request{
            static_cast<int>(random.Near(800)),
            random.Chance(50) ? std::optional<int>(random.Near(1100)) : std::nullopt,
            random.Chance(50) ? std::optional<int>(random.Near(1100)) : std::nullopt};
        const bool accepted = backend.Apply(request);
        ASSERT_LE(card.written.size(), 1u);
        if (card.written.empty()) {
            ASSERT_FALSE(accepted);
            continue;
        }
        const ADLODParameters& params = card.params;
        const ADLODPerformanceLevel& top = card.written[0].aLevels[2];
        ASSERT_EQ(card.written[0].iSize, PerformanceLevelsSize(3));
        ASSERT_GE(top.iEngineClock, params.sEngineClock.iMin);
        ASSERT_LE(top.iEngineClock, params.sEngineClock.iMax);
        ASSERT_EQ(top.iEngineClock, overdrive::TenKHzFromMHz(*request.engineMHz));
        if (request.voltageMilliVolts) {
            ASSERT_GE(top.iVddc, params.sVddc.iMin);
            ASSERT_LE(top.iVddc, params.sVddc.iMax);
        }
        ASSERT_EQ(accepted, card.setResult >= 0);
    }
}

}  // namespace
