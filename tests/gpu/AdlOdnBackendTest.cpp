// The OverdriveN backend against a fake display library: the levels record's size, its mode
// word, the highest enabled level, the control masks, and the engine levels put back when the
// memory write is refused.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "gpu/core/AdlOdnBackend.h"
#include "gpu/core/OverdriveUnits.h"
#include "tests/gpu/FakeAdlContext.h"
#include "tests/gpu/HostileInt.h"

namespace {

using Levels = std::vector<ADLODNPerformanceLevelX2>;

struct OdnCard {
    ADLODNCapabilitiesX2 caps{};
    Levels engine;
    Levels engineDefaults;
    Levels memory;
    Levels memoryDefaults;
    // When set, the level count the driver writes back instead of the levels it has.
    std::optional<int32_t> answeredCount;
    int engineSetResult = 0;
    int memorySetResult = 0;
    std::vector<ADLODNPerformanceLevelsX2> engineWrites;
    std::vector<ADLODNPerformanceLevelsX2> memoryWrites;
    std::vector<ADLODNFanControl> fanWrites;
};

OdnCard& Card() {
    static OdnCard card;
    return card;
}

constexpr int32_t kBoth = kAdlOdnLevelClock | kAdlOdnLevelVddc;

void LoadCard() {
    OdnCard& card = Card();
    card = OdnCard{};
    card.caps.iMaximumNumberOfPerformanceLevels = 8;
    card.caps.iFlags = kAdlOdnEngineClockLevels | kAdlOdnMemoryClockLevels | kAdlOdnEngineVoltage;
    card.caps.sEngineClockRange = {0, 30000, 200000, 100, 134000};
    card.caps.sMemoryClockRange = {0, 30000, 250000, 100, 200000};
    card.caps.svddcRange = {0, 750, 1200, 5, 1150};
    // Levels 6 and 7 of a Polaris card disabled by its owner.
    card.engine = {{30000, 750, 1, kBoth},   {60000, 769, 1, kBoth},   {90000, 906, 1, kBoth},
                   {114500, 1000, 1, kBoth}, {121500, 1050, 1, kBoth}, {125700, 1100, 1, kBoth},
                   {130000, 1125, 0, kBoth}, {134000, 1150, 0, kBoth}};
    card.engineDefaults = card.engine;
    card.memory = {{30000, 750, 1, kBoth}, {100000, 800, 1, kBoth}, {200000, 950, 1, kBoth}};
    card.memoryDefaults = card.memory;
}

int Read(ADLODNPerformanceLevelsX2* record, const Levels& current, const Levels& defaults) {
    const int32_t room = record->iNumberOfPerformanceLevels;
    if (room < 1 || room > kMaxOdnLevels || record->iSize != OdnLevelsSize(room)) {
        return -3;
    }
    const Levels& from = record->iMode == kAdlOdnModeDefault ? defaults : current;
    const int32_t filled = std::min<int32_t>(room, static_cast<int32_t>(from.size()));
    for (int32_t i = 0; i < filled; ++i) {
        record->aLevels[i] = from[i];
    }
    record->iNumberOfPerformanceLevels = Card().answeredCount.value_or(filled);
    return 0;
}

DriverEntries OdnEntries() {
    fakeadl::FreshContext fresh;
    DriverEntries entries = fakeadl::ContextEntries();
    entries.ADL2_OverdriveN_CapabilitiesX2_Get = [](AdlContextHandle h, int,
                                                    ADLODNCapabilitiesX2* caps) {
        fakeadl::CallScope scope(h);
        *caps = Card().caps;
        return 0;
    };
    entries.ADL2_OverdriveN_SystemClocksX2_Get = [](AdlContextHandle h, int,
                                                    ADLODNPerformanceLevelsX2* record) {
        fakeadl::CallScope scope(h);
        return Read(record, Card().engine, Card().engineDefaults);
    };
    entries.ADL2_OverdriveN_MemoryClocksX2_Get = [](AdlContextHandle h, int,
                                                    ADLODNPerformanceLevelsX2* record) {
        fakeadl::CallScope scope(h);
        return Read(record, Card().memory, Card().memoryDefaults);
    };
    entries.ADL2_OverdriveN_SystemClocksX2_Set = [](AdlContextHandle h, int,
                                                    ADLODNPerformanceLevelsX2* record) {
        fakeadl::CallScope scope(h);
        Card().engineWrites.push_back(*record);
        return Card().engineSetResult;
    };
    entries.ADL2_OverdriveN_MemoryClocksX2_Set = [](AdlContextHandle h, int,
                                                    ADLODNPerformanceLevelsX2* record) {
        fakeadl::CallScope scope(h);
        Card().memoryWrites.push_back(*record);
        return Card().memorySetResult;
    };
    entries.ADL2_OverdriveN_FanControl_Get = [](AdlContextHandle h, int, ADLODNFanControl* fan) {
        fakeadl::CallScope scope(h);
        *fan = ADLODNFanControl{kAdlOdnModeManual, 1, 1, 1800, 2400, 75, 0, 1200};
        return 0;
    };
    entries.ADL2_OverdriveN_FanControl_Set = [](AdlContextHandle h, int, ADLODNFanControl* fan) {
        fakeadl::CallScope scope(h);
        Card().fanWrites.push_back(*fan);
        return 0;
    };
    return entries;
}

class OdnBackend : public ::testing::Test {
  protected:
    void SetUp() override { LoadCard(); }
    void TearDown() override { EXPECT_EQ(fakeadl::Context().strayCalls, 0); }

    DriverEntries entries = OdnEntries();
    AdlContext context{entries};
    AdlOdnBackend backend{context, 0};
};

TEST_F(OdnBackend, TheEditableLevelIsTheHighestEnabledOne) {
    const std::optional<OverdriveSettings> settings = backend.Settings(false);
    ASSERT_TRUE(settings);
    EXPECT_EQ(settings->engineMHz, 1257);  // level 5, not the disabled 1340 MHz level 7
    EXPECT_EQ(settings->voltageMilliVolts, 1100);
    EXPECT_TRUE(settings->voltageKnown);
    EXPECT_EQ(settings->memoryMHz, 2000);

    ASSERT_TRUE(backend.Apply({1300, std::nullopt, 1120}));
    ASSERT_EQ(Card().engineWrites.size(), 1u);
    const ADLODNPerformanceLevelsX2& written = Card().engineWrites[0];
    EXPECT_EQ(written.iMode, kAdlOdnModeManual);
    EXPECT_EQ(written.iNumberOfPerformanceLevels, 8);
    EXPECT_EQ(written.iSize, 12 + 16 * 8);  // one level plus seven more
    EXPECT_EQ(written.aLevels[5].iClock, 130000);
    EXPECT_EQ(written.aLevels[5].iVddc, 1120);
    EXPECT_EQ(written.aLevels[7].iClock, 134000);
    EXPECT_EQ(written.aLevels[7].iEnabled, 0);
    EXPECT_TRUE(Card().memoryWrites.empty());
}

TEST_F(OdnBackend, HostileLevelCountsAreNeitherSizedFromNorReadPast) {
    for (int32_t maximum : {0, -3, kMaxOdnLevels + 1, 1000000}) {
        Card().caps.iMaximumNumberOfPerformanceLevels = maximum;
        EXPECT_FALSE(backend.Capabilities()) << maximum;
        EXPECT_FALSE(backend.Apply({1300, std::nullopt, std::nullopt})) << maximum;
    }
    LoadCard();
    // The driver claims more levels than the room it was given: only the room is read.
    Card().caps.iMaximumNumberOfPerformanceLevels = 4;
    Card().answeredCount = 500;
    const std::optional<OverdriveSettings> settings = backend.Settings(false);
    ASSERT_TRUE(settings);
    EXPECT_EQ(settings->engineMHz, 1145);
    // Fewer levels filled than asked for: the highest enabled among those.
    Card().caps.iMaximumNumberOfPerformanceLevels = 8;
    Card().answeredCount = 2;
    EXPECT_EQ(backend.Settings(false)->engineMHz, 600);
    Card().answeredCount = 0;
    EXPECT_FALSE(backend.Settings(false));
    EXPECT_TRUE(Card().engineWrites.empty());
}

TEST_F(OdnBackend, FlagsAndTheTopLevelsControlMaskDecideWhatIsEditable) {
    Card().engine[5].iControl = kAdlOdnLevelVddc;
    std::optional<OverdriveCapabilities> caps = backend.Capabilities();
    ASSERT_TRUE(caps);
    EXPECT_FALSE(caps->engineMHz);
    EXPECT_EQ(caps->voltageMilliVolts->maximum, 1200);
    EXPECT_EQ(caps->memoryMHz->maximum, 2500);
    EXPECT_FALSE(caps->fanPercent);
    EXPECT_FALSE(backend.Apply({1300, std::nullopt, std::nullopt}));

    Card().caps.iFlags &= ~kAdlOdnEngineVoltage;
    caps = backend.Capabilities();
    EXPECT_FALSE(caps->voltageMilliVolts);
    EXPECT_FALSE(backend.Apply({std::nullopt, std::nullopt, 1100}));

    // No enabled level at all: nothing to edit.
    for (ADLODNPerformanceLevelX2& level : Card().memory) {
        level.iEnabled = 0;
    }
    EXPECT_FALSE(backend.Capabilities());
    EXPECT_TRUE(Card().engineWrites.empty());
}

TEST_F(OdnBackend, ARefusedMemoryWritePutsTheEngineLevelsBack) {
    Card().memorySetResult = -3;
    EXPECT_FALSE(backend.Apply({1300, 2100, std::nullopt}));
    ASSERT_EQ(Card().engineWrites.size(), 2u);
    EXPECT_EQ(Card().engineWrites[0].aLevels[5].iClock, 130000);
    EXPECT_EQ(Card().engineWrites[1].aLevels[5].iClock, 125700);
    EXPECT_EQ(Card().engineWrites[1].iSize, OdnLevelsSize(8));
    ASSERT_EQ(Card().memoryWrites.size(), 1u);
    EXPECT_EQ(Card().memoryWrites[0].aLevels[2].iClock, 210000);

    // A refused engine write stops there.
    Card().engineWrites.clear();
    Card().memoryWrites.clear();
    Card().engineSetResult = -3;
    EXPECT_FALSE(backend.Apply({1300, 2100, std::nullopt}));
    EXPECT_EQ(Card().engineWrites.size(), 1u);
    EXPECT_TRUE(Card().memoryWrites.empty());
}

TEST_F(OdnBackend, AListWithoutItsWriteEntryIsNotEditableAndTheOtherStillApplies) {
    entries.ADL2_OverdriveN_MemoryClocksX2_Set = nullptr;
    const std::optional<OverdriveCapabilities> caps = backend.Capabilities();
    ASSERT_TRUE(caps);
    EXPECT_FALSE(caps->memoryMHz);
    EXPECT_TRUE(caps->engineMHz && caps->voltageMilliVolts);
    EXPECT_TRUE(backend.Apply({1300, std::nullopt, 1125}));
    ASSERT_EQ(Card().engineWrites.size(), 1u);
    EXPECT_FALSE(backend.Apply({1300, 2100, std::nullopt}));
    EXPECT_EQ(Card().engineWrites.size(), 1u) << "written for a memory clock that cannot be";

    entries.ADL2_OverdriveN_SystemClocksX2_Set = nullptr;
    EXPECT_FALSE(backend.Capabilities()->engineMHz);
    EXPECT_FALSE(backend.Capabilities()->voltageMilliVolts);
}

TEST_F(OdnBackend, DefaultsAreReadAndWrittenInDefaultMode) {
    Card().engineDefaults[5].iClock = 126600;
    EXPECT_EQ(backend.Settings(true)->engineMHz, 1266);
    ASSERT_TRUE(backend.RestoreDefaults());
    EXPECT_EQ(Card().engineWrites.at(0).iMode, kAdlOdnModeDefault);
    EXPECT_EQ(Card().engineWrites.at(0).aLevels[5].iClock, 126600);
    EXPECT_EQ(Card().memoryWrites.at(0).iMode, kAdlOdnModeDefault);
}

TEST_F(OdnBackend, TheFanIsOnlyHandedBackToTheDriver) {
    EXPECT_FALSE(backend.FanPercent());
    EXPECT_EQ(backend.SetFanPercent(50), DriverWrite::NotMade);
    ASSERT_EQ(backend.SetFanAutomatic(), DriverWrite::Accepted);
    ASSERT_EQ(Card().fanWrites.size(), 1u);
    EXPECT_EQ(Card().fanWrites[0].iMode, kAdlOdnModeAuto);
    EXPECT_EQ(Card().fanWrites[0].iTargetFanSpeed, 2400);
}

TEST_F(OdnBackend, RandomAnswersNeverReachPastTheRecordsOrWriteOutsideTheReportedRange) {
    hostile::Values random(7);
    for (int round = 0; round < 3000; ++round) {
        LoadCard();
        OdnCard& card = Card();
        card.caps.iMaximumNumberOfPerformanceLevels = random.Chance(60) ? 8 : random.Any();
        card.caps.iFlags = random.Chance(60) ? card.caps.iFlags : random.Any();
        card.caps.sEngineClockRange.iMin = random.Near(30000);
        card.caps.sEngineClockRange.iMax = random.Near(200000);
        card.caps.svddcRange.iMax = random.Near(1200);
        if (random.Chance(40)) {
            card.answeredCount = random.Any();
        }
        for (ADLODNPerformanceLevelX2& level : card.engine) {
            level.iEnabled = random.Chance(70) ? 1 : random.Any();
            level.iControl = random.Chance(70) ? kBoth : random.Any();
        }
        card.engineSetResult = random.Chance(80) ? 0 : random.Any();
        card.memorySetResult = random.Chance(80) ? 0 : random.Any();
        const int engine = static_cast<int>(random.Near(1500));
        const std::optional<int> memory =
            random.Chance(50) ? std::optional<int>(random.Near(2000)) : std::nullopt;
        (void)backend.Capabilities();
        (void)backend.Settings(random.Chance(50));
        const bool accepted = backend.Apply({engine, memory, std::nullopt});
        for (const auto* writes : {&card.engineWrites, &card.memoryWrites}) {
            for (const ADLODNPerformanceLevelsX2& written : *writes) {
                ASSERT_GE(written.iNumberOfPerformanceLevels, 1);
                ASSERT_LE(written.iNumberOfPerformanceLevels, kMaxOdnLevels);
                ASSERT_EQ(written.iSize, OdnLevelsSize(written.iNumberOfPerformanceLevels));
            }
        }
        if (card.engineWrites.empty()) {
            ASSERT_FALSE(accepted);
            continue;
        }
        const int32_t clock = overdrive::TenKHzFromMHz(engine);
        ASSERT_GE(clock, card.caps.sEngineClockRange.iMin);
        ASSERT_LE(clock, card.caps.sEngineClockRange.iMax);
        ASSERT_LE(card.engineWrites.size(), 2u);
    }
}

}  // namespace
