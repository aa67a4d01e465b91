// The Overdrive 8 backend against a fake display library: feature counts that differ between
// SDK versions, the lists the driver hands out through our allocator, the capability bits, and
// the performance log's units.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "gpu/core/AdlAllocator.h"
#include "gpu/core/AdlOd8Backend.h"
#include "tests/gpu/FakeAdlContext.h"
#include "tests/gpu/HostileInt.h"

namespace {

constexpr int kDriverFeatures = 52;

struct Od8Card {
    int32_t caps = 0;
    std::vector<ADLOD8SingleInitSetting> init;
    std::vector<int32_t> current;
    // The count the driver reports, whatever its list holds.
    std::optional<int> reportedCount;
    // Hand out lists that did not come from the allocation callback.
    bool foreignLists = false;
    std::vector<void*> handedOut;
    int setResult = 0;
    std::vector<ADLOD8SetSetting> writes;
    ADLPMLogDataOutput log{};
};

Od8Card& Card() {
    static Od8Card card;
    return card;
}

void LoadCard() {
    Od8Card& card = Card();
    card = Od8Card{};
    card.caps = kAdlOd8GfxClockLimits | kAdlOd8MemoryClockMax | kAdlOd8FanSpeedMinimum |
                kAdlOd8FanTargetTemperature | kAdlOd8FanCurve;
    card.init.resize(kDriverFeatures);
    card.current.resize(kDriverFeatures);
    for (int id = 0; id < kDriverFeatures; ++id) {
        card.init[id] = {id, 0, 100, 50};
        card.current[id] = 50;
    }
    card.init[kOd8GfxClockMax] = {kOd8GfxClockMax, 800, 2100, 1980};
    card.current[kOd8GfxClockMax] = 1980;
    card.init[kOd8MemoryClockMax] = {kOd8MemoryClockMax, 625, 930, 875};
    card.current[kOd8MemoryClockMax] = 875;
    card.log.sensors[kAdlPmLogGfxClock] = {1, 1887};
    card.log.sensors[kAdlPmLogMemoryClock] = {1, 875};
    card.log.sensors[kAdlPmLogTemperatureEdge] = {1, 58};
}

template <typename Element>
Element* HandOut(const std::vector<Element>& from) {
    const size_t bytes = from.size() * sizeof(Element);
    if (bytes == 0) {
        return nullptr;  // an empty list comes back as none at all
    }
    void* block = Card().foreignLists ? std::malloc(bytes) : AdlAllocate(static_cast<int>(bytes));
    std::memcpy(block, from.data(), bytes);
    Card().handedOut.push_back(block);
    return static_cast<Element*>(block);
}

DriverEntries Od8Entries() {
    fakeadl::FreshContext fresh;
    DriverEntries entries = fakeadl::ContextEntries();
    entries.ADL2_Overdrive8_Init_SettingX2_Get = [](AdlContextHandle h, int, int* caps, int* count,
                                                    ADLOD8SingleInitSetting** list) {
        fakeadl::CallScope scope(h);
        *caps = Card().caps;
        *count = Card().reportedCount.value_or(static_cast<int>(Card().init.size()));
        *list = HandOut(Card().init);
        return 0;
    };
    entries.ADL2_Overdrive8_Current_SettingX2_Get = [](AdlContextHandle h, int, int* count,
                                                       int** list) {
        fakeadl::CallScope scope(h);
        *count = Card().reportedCount.value_or(static_cast<int>(Card().current.size()));
        *list = HandOut(Card().current);
        return 0;
    };
    entries.ADL2_Overdrive8_Setting_Set = [](AdlContextHandle h, int, ADLOD8SetSetting* set,
                                             ADLOD8CurrentSetting* after) {
        fakeadl::CallScope scope(h);
        Card().writes.push_back(*set);
        after->count = kDriverFeatures;
        return Card().setResult;
    };
    entries.ADL2_New_QueryPMLogData_Get = [](AdlContextHandle h, int, ADLPMLogDataOutput* log) {
        fakeadl::CallScope scope(h);
        if (log->size != static_cast<int32_t>(sizeof(ADLPMLogDataOutput))) {
            return -3;
        }
        *log = Card().log;
        return 0;
    };
    return entries;
}

// The same card through the fixed records of the older queries.
DriverEntries FixedRecordEntries() {
    DriverEntries entries = Od8Entries();
    entries.ADL2_Overdrive8_Init_SettingX2_Get = nullptr;
    entries.ADL2_Overdrive8_Current_SettingX2_Get = nullptr;
    entries.ADL2_Overdrive8_Init_Setting_Get = [](AdlContextHandle h, int,
                                                  ADLOD8InitSetting* record) {
        fakeadl::CallScope scope(h);
        const int filled = std::min<int>(record->count, static_cast<int>(Card().init.size()));
        std::copy_n(Card().init.begin(), filled, record->od8SettingTable);
        record->overdrive8Capabilities = Card().caps;
        record->count = Card().reportedCount.value_or(filled);
        return 0;
    };
    entries.ADL2_Overdrive8_Current_Setting_Get = [](AdlContextHandle h, int,
                                                     ADLOD8CurrentSetting* record) {
        fakeadl::CallScope scope(h);
        const int filled = std::min<int>(record->count, static_cast<int>(Card().current.size()));
        std::copy_n(Card().current.begin(), filled, record->Od8SettingTable);
        record->count = Card().reportedCount.value_or(filled);
        return 0;
    };
    return entries;
}

class Od8Backend : public ::testing::Test {
  protected:
    void SetUp() override { LoadCard(); }
    void TearDown() override {
        EXPECT_EQ(fakeadl::Context().strayCalls, 0);
        for (void* block : Card().handedOut) {
            if (Card().foreignLists) {
                std::free(block);
            }
        }
    }

    DriverEntries entries = Od8Entries();
    AdlContext context{entries};
    AdlOd8Backend backend{context, 0};
};

TEST_F(Od8Backend, TheClockMaximaAreTheSlidersInMHz) {
    const std::optional<OverdriveCapabilities> caps = backend.Capabilities();
    ASSERT_TRUE(caps);
    EXPECT_EQ(caps->engineMHz->minimum, 800);
    EXPECT_EQ(caps->engineMHz->maximum, 2100);
    EXPECT_EQ(caps->memoryMHz->maximum, 930);
    EXPECT_FALSE(caps->voltageMilliVolts);
    EXPECT_FALSE(caps->fanPercent);
    EXPECT_EQ(backend.Settings(false)->engineMHz, 1980);
    EXPECT_EQ(backend.Settings(true)->memoryMHz, 875);
}

TEST_F(Od8Backend, ListsFromOurAllocatorAreFreedAndReadOnlyAsFarAsTheyReach) {
    // The driver reports more settings than its lists hold.
    Card().reportedCount = 5000;
    ASSERT_TRUE(backend.Capabilities());
    ASSERT_EQ(Card().handedOut.size(), 2u);
    for (void* block : Card().handedOut) {
        EXPECT_FALSE(AdlAllocationSize(block)) << "a list was not freed";
    }
    // Fewer settings than the memory clock's id: that slider is unavailable.
    Card().reportedCount = kOd8MemoryClockMax;
    const std::optional<OverdriveCapabilities> caps = backend.Capabilities();
    ASSERT_TRUE(caps);
    EXPECT_TRUE(caps->engineMHz);
    EXPECT_FALSE(caps->memoryMHz);
    EXPECT_FALSE(backend.Apply({std::nullopt, 900, std::nullopt}));
    for (int count : {0, -1}) {
        Card().reportedCount = count;
        EXPECT_FALSE(backend.Capabilities()) << count;
    }
    EXPECT_TRUE(Card().writes.empty());
}

TEST_F(Od8Backend, AListThatDidNotComeFromOurAllocatorIsNeitherReadNorFreed) {
    Card().foreignLists = true;
    EXPECT_FALSE(backend.Capabilities());
    EXPECT_FALSE(backend.Apply({2000, std::nullopt, std::nullopt}));
    EXPECT_TRUE(Card().writes.empty());
}

TEST_F(Od8Backend, TheFixedRecordsSayHowMuchRoomTheyHaveAndAreReadNoFurther) {
    DriverEntries fixed = FixedRecordEntries();
    AdlContext fixedContext(fixed);
    AdlOd8Backend fixedBackend(fixedContext, 0);
    EXPECT_EQ(fixedBackend.Settings(false)->engineMHz, 1980);
    Card().reportedCount = 100000;
    EXPECT_EQ(fixedBackend.Settings(false)->memoryMHz, 875);
}

TEST_F(Od8Backend, ApplyMarksOnlyTheRequestedSettings) {
    ASSERT_TRUE(backend.Apply({2050, 900, std::nullopt}));
    ASSERT_EQ(Card().writes.size(), 1u);
    const ADLOD8SetSetting& set = Card().writes[0];
    EXPECT_EQ(set.count, kOd8SettingRoom);
    for (int id = 0; id < kOd8SettingRoom; ++id) {
        const bool requested = id == kOd8GfxClockMax || id == kOd8MemoryClockMax;
        EXPECT_EQ(set.od8SettingTable[id].requested, requested ? 1 : 0) << id;
        EXPECT_EQ(set.od8SettingTable[id].reset, 0) << id;
    }
    EXPECT_EQ(set.od8SettingTable[kOd8GfxClockMax].value, 2050);
    EXPECT_EQ(set.od8SettingTable[kOd8MemoryClockMax].value, 900);

    EXPECT_FALSE(backend.Apply({2101, std::nullopt, std::nullopt}));
    EXPECT_FALSE(backend.Apply({2000, std::nullopt, 1100}));
    Card().caps &= ~kAdlOd8GfxClockLimits;
    EXPECT_FALSE(backend.Apply({2000, std::nullopt, std::nullopt}));
    EXPECT_EQ(Card().writes.size(), 1u);
    Card().setResult = -8;
    EXPECT_FALSE(backend.Apply({std::nullopt, 900, std::nullopt}));
}

TEST_F(Od8Backend, AutomaticFanResetsTheFanSettingsTheCardHas) {
    ASSERT_EQ(backend.SetFanAutomatic(), DriverWrite::Accepted);
    const ADLOD8SetSetting& set = Card().writes.at(0);
    EXPECT_EQ(set.od8SettingTable[kOd8FanMinimumSpeed].reset, 1);
    EXPECT_EQ(set.od8SettingTable[kOd8FanMinimumSpeed].value, 50);
    EXPECT_EQ(set.od8SettingTable[kOd8FanTargetTemperature].requested, 1);
    EXPECT_EQ(set.od8SettingTable[kOd8FanAcousticLimit].requested, 0);  // no capability bit
    EXPECT_EQ(set.od8SettingTable[kOd8FanCurveLast].reset, 1);
    EXPECT_EQ(set.od8SettingTable[kOd8GfxClockMax].requested, 0);
    EXPECT_EQ(backend.SetFanPercent(50), DriverWrite::NotMade);
}

TEST_F(Od8Backend, TheLogGivesMHzAndWholeDegrees) {
    EXPECT_EQ(backend.Temperature(), 58000);
    EXPECT_EQ(backend.CurrentClocks()->engineMHz, 1887);
    Card().log.sensors[kAdlPmLogTemperatureEdge] = {0, 58};
    EXPECT_FALSE(backend.Temperature());
    Card().log.sensors[kAdlPmLogTemperatureEdge] = {1, 5000000};
    EXPECT_FALSE(backend.Temperature());
    Card().log.sensors[kAdlPmLogGfxClock] = {0, 0};
    EXPECT_FALSE(backend.CurrentClocks());
}

TEST_F(Od8Backend, RandomAnswersNeverWriteARequestOutsideItsReportedRange) {
    hostile::Values random(8);
    for (int round = 0; round < 2000; ++round) {
        LoadCard();
        Od8Card& card = Card();
        if (random.Chance(40)) {
            card.reportedCount = random.Any();
        }
        if (random.Chance(20)) {
            card.init.resize(random.Below(kDriverFeatures + 1));
        }
        card.caps = random.Chance(60) ? card.caps : random.Any();
        for (int id : {kOd8GfxClockMax, kOd8MemoryClockMax}) {
            if (static_cast<size_t>(id) < card.init.size()) {
                card.init[id].minValue = random.Near(800);
                card.init[id].maxValue = random.Near(2000);
            }
        }
        card.setResult = random.Chance(80) ? 0 : random.Any();
        const int engine = static_cast<int>(random.Near(1500));
        const bool accepted = backend.Apply({engine, std::nullopt, std::nullopt});
        for (void* block : card.handedOut) {
            ASSERT_FALSE(AdlAllocationSize(block)) << "a list was not freed";
        }
        card.handedOut.clear();
        if (card.writes.empty()) {
            ASSERT_FALSE(accepted);
            continue;
        }
        const ADLOD8SingleInitSetting& gfx = card.init.at(kOd8GfxClockMax);
        ASSERT_EQ(card.writes.size(), 1u);
        ASSERT_EQ(card.writes[0].od8SettingTable[kOd8GfxClockMax].value, engine);
        ASSERT_GE(engine, gfx.minValue);
        ASSERT_LE(engine, gfx.maxValue);
        ASSERT_EQ(accepted, card.setResult >= 0);
    }
}

}  // namespace
