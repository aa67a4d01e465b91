// Overdrive parameters, performance levels and clocks against the in-process fake driver.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "gpu/core/DriverOperations.h"
#include "tests/gpu/FakeDriver.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

class OverdriveOperationsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetFake();
        LoadPlausibleCard(Fake());
        entries = FakeEntries();
    }
    void TearDown() override { ResetFake(); }

    DriverOperations Ops() const { return DriverOperations(entries); }

    DriverEntries entries;
};

// The level writes the fake received, oldest first.
std::vector<std::string> LevelWrites() {
    std::vector<std::string> writes;
    for (const std::string& call : Fake().calls) {
        if (call.rfind("ATIDL_SetODPerformanceLevels", 0) == 0) {
            writes.push_back(call);
        }
    }
    return writes;
}

TEST_F(OverdriveOperationsTest, ParametersTakeClockRangesFromClockInfoWithEngineHeadroom) {
    ADLODParameters params{};
    ASSERT_TRUE(Ops().GetOverdriveParameters(params));

    EXPECT_EQ(params.iSize, 56);
    EXPECT_EQ(params.iNumberOfPerformanceLevels, 3);
    // The driver reports an engine maximum of 800 MHz: 1000 MHz is offered.
    EXPECT_EQ(params.sEngineClock.iMax, 100000);
    EXPECT_EQ(params.sEngineClock.iMin, 50000);
    EXPECT_EQ(params.sEngineClock.iStep, 1000);
    EXPECT_EQ(params.sMemoryClock.iMax, 120000);
    EXPECT_EQ(params.sMemoryClock.iMin, 90000);
    EXPECT_EQ(params.sMemoryClock.iStep, 1000);
    EXPECT_EQ(params.sVddc.iMin, 900);
    EXPECT_EQ(params.sVddc.iMax, 1300);
    EXPECT_THAT(Fake().calls,
                ElementsAre("ATIDL_GetODParameters(0, 56, 0)", "ATIDL_GetODClockInfo(0, 56)"));
}

TEST_F(OverdriveOperationsTest, ParametersKeepDriverRangesWithoutClockInfo) {
    Fake().clockInfoResult = -1;
    ADLODParameters params{};
    ASSERT_TRUE(Ops().GetOverdriveParameters(params));
    EXPECT_EQ(params.sEngineClock.iMax, 80000);
    EXPECT_EQ(params.sEngineClock.iStep, 500);

    entries.ATIDL_GetODClockInfo = nullptr;
    params = ADLODParameters{};
    ASSERT_TRUE(Ops().GetOverdriveParameters(params));
    EXPECT_EQ(params.sEngineClock.iMax, 80000);
    EXPECT_EQ(params.sMemoryClock.iMax, 120000);
}

TEST_F(OverdriveOperationsTest, ParametersFailWhenTheQueryFailsOrIsMissing) {
    Fake().parametersResult = -1;
    ADLODParameters params{};
    EXPECT_FALSE(Ops().GetOverdriveParameters(params));

    entries.ATIDL_GetODParameters = nullptr;
    Fake().calls.clear();
    EXPECT_FALSE(Ops().GetOverdriveParameters(params));
    EXPECT_THAT(Fake().calls, IsEmpty());
}

TEST_F(OverdriveOperationsTest, LevelCountOutsideOneToEightIsAFailedQuery) {
    for (int count : {0, -1, 9, 1000000, INT_MIN, INT_MAX}) {
        Fake().parameters.iNumberOfPerformanceLevels = count;
        ADLODParameters params{};
        EXPECT_FALSE(Ops().GetOverdriveParameters(params)) << count;
    }
    for (int count : {1, 8}) {
        Fake().parameters.iNumberOfPerformanceLevels = count;
        ADLODParameters params{};
        EXPECT_TRUE(Ops().GetOverdriveParameters(params)) << count;
    }
}

TEST_F(OverdriveOperationsTest, EngineHeadroomSaturatesInsteadOfOverflowing) {
    Fake().clockInfo.sEngineClock.iMaximum = INT_MAX - 5;
    ADLODParameters params{};
    ASSERT_TRUE(Ops().GetOverdriveParameters(params));
    EXPECT_EQ(params.sEngineClock.iMax, INT_MAX);
}

TEST_F(OverdriveOperationsTest, DefaultLevelsAreQueriedWithFlagOneForTheLevelCount) {
    ADLODPerformanceLevels levels{};
    ASSERT_TRUE(Ops().GetPerformanceLevels(true, levels));
    EXPECT_EQ(levels.iSize, 8 + 12 * 3);
    EXPECT_EQ(levels.aLevels[0].iEngineClock, 70000);
    EXPECT_EQ(levels.aLevels[2].iVddc, 950);
    EXPECT_EQ(Fake().calls.back(), "ATIDL_GetODPerformanceLevels(0, 44, 1, 0)");

    Fake().levelsResult = -1;
    EXPECT_FALSE(Ops().GetPerformanceLevels(true, levels));
}

TEST_F(OverdriveOperationsTest, CurrentLevelsCarryCurrentClocksButNoVoltageWhenTheLevelQueryFails) {
    // The fake fills the record (Vddc 1100) although it refuses; the caller's buffer holds 1450.
    Fake().levelsResult = -1;
    ADLODPerformanceLevels levels{};
    levels.aLevels[0].iVddc = 1450;
    levels.aLevels[1] = {1, 2, 1450};
    bool voltageKnown = true;
    ASSERT_TRUE(Ops().GetPerformanceLevels(false, levels, &voltageKnown));
    EXPECT_FALSE(voltageKnown);
    EXPECT_EQ(levels.iSize, 8 + 12 * 3);
    EXPECT_EQ(levels.aLevels[0].iEngineClock, 70000);
    EXPECT_EQ(levels.aLevels[0].iMemoryClock, 100000);
    EXPECT_EQ(levels.aLevels[0].iVddc, DriverOperations::kUnknownVddc);
    EXPECT_EQ(levels.aLevels[1].iEngineClock, 0);
    EXPECT_EQ(levels.aLevels[1].iVddc, 0);
    EXPECT_EQ(Fake().calls.at(2), "ATIDL_GetODPerformanceLevels(0, 44, 0, 0)");

    // A later Apply of what the record holds reaches nothing.
    Fake().levelsResult = 0;
    Fake().calls.clear();
    EXPECT_FALSE(Ops().SetPerformanceClocks(70000, 100000, levels.aLevels[0].iVddc));
    EXPECT_THAT(Fake().calls,
                ElementsAre("ATIDL_GetODParameters(0, 56, 0)", "ATIDL_GetODClockInfo(0, 56)"));
}

TEST_F(OverdriveOperationsTest, VoltageIsKnownOnlyWhenTheDriverAnsweredTheLevelQuery) {
    ADLODPerformanceLevels levels{};
    bool voltageKnown = false;
    ASSERT_TRUE(Ops().GetPerformanceLevels(false, levels, &voltageKnown));
    EXPECT_TRUE(voltageKnown);
    EXPECT_EQ(levels.aLevels[0].iEngineClock, 70000);  // from the clock information
    EXPECT_EQ(levels.aLevels[0].iVddc, 1100);
    EXPECT_EQ(levels.aLevels[1].iVddc, 1050);

    voltageKnown = false;
    ASSERT_TRUE(Ops().GetPerformanceLevels(true, levels, &voltageKnown));
    EXPECT_TRUE(voltageKnown);
    EXPECT_EQ(levels.aLevels[0].iVddc, 1150);

    Fake().levelsResult = -1;
    EXPECT_FALSE(Ops().GetPerformanceLevels(true, levels, &voltageKnown));
    EXPECT_FALSE(voltageKnown);
}

TEST_F(OverdriveOperationsTest, FailedLevelReadsLeaveTheRecordAsItWas) {
    // The parameters still succeed; only the clock query after the levels fails.
    Fake().clockInfoResult = -1;
    ADLODPerformanceLevels levels{};
    ASSERT_TRUE(Ops().GetPerformanceLevels(false, levels));
    EXPECT_EQ(levels.aLevels[0].iEngineClock, 68000);

    Fake().levelsResult = -1;
    ADLODPerformanceLevels before{};
    before.iSize = 77;
    before.aLevels[0] = {1, 2, 3};
    levels = before;
    bool voltageKnown = true;
    EXPECT_FALSE(Ops().GetPerformanceLevels(false, levels, &voltageKnown));
    EXPECT_FALSE(voltageKnown);
    EXPECT_FALSE(Ops().GetPerformanceLevels(true, levels));
    EXPECT_EQ(levels.iSize, 77);
    EXPECT_EQ(levels.aLevels[0].iEngineClock, 1);
    EXPECT_EQ(levels.aLevels[0].iVddc, 3);
}

TEST_F(OverdriveOperationsTest, PositiveResultsAreSuccessesWithANote) {
    Fake().parametersResult = 1;
    Fake().clockInfoResult = 1;
    Fake().levelsResult = 2;
    Fake().setLevelsResult = 1;
    Fake().clockConfigResult = 3;

    ADLODParameters params{};
    ASSERT_TRUE(Ops().GetOverdriveParameters(params));
    EXPECT_EQ(params.sEngineClock.iMax, 100000);  // the clock information was taken
    ADLODPerformanceLevels levels{};
    bool voltageKnown = false;
    ASSERT_TRUE(Ops().GetPerformanceLevels(false, levels, &voltageKnown));
    EXPECT_TRUE(voltageKnown);
    EXPECT_EQ(levels.aLevels[0].iEngineClock, 70000);

    Fake().calls.clear();
    EXPECT_TRUE(Ops().SetPerformanceClocks(75000, 110000, 1200));
    EXPECT_EQ(Fake().calls.back(), "ATIDL_SetODClockConfig(0, {16, 0, 110000, 75000})");
    EXPECT_EQ(Fake().currentLevels.at(0).iVddc, 1200);
}

TEST_F(OverdriveOperationsTest, LevelsFailWithoutTheirEntryOrParameters) {
    ADLODPerformanceLevels levels{};
    entries.ATIDL_GetODPerformanceLevels = nullptr;
    EXPECT_FALSE(Ops().GetPerformanceLevels(false, levels));
    EXPECT_THAT(Fake().calls, IsEmpty());

    entries = FakeEntries();
    Fake().parametersResult = -1;
    EXPECT_FALSE(Ops().GetPerformanceLevels(true, levels));
    EXPECT_EQ(Fake().calls.size(), 2u);  // parameters and clock info only
}

TEST_F(OverdriveOperationsTest, HostileLevelCountNeverSizesALevelsRecord) {
    for (int count : {0, -3, 9, 1000000000}) {
        Fake().parameters.iNumberOfPerformanceLevels = count;
        Fake().calls.clear();
        ADLODPerformanceLevels levels{};
        EXPECT_FALSE(Ops().GetPerformanceLevels(false, levels)) << count;
        EXPECT_FALSE(Ops().SetPerformanceClocks(70000, 100000, 1100)) << count;
        for (const std::string& call : Fake().calls) {
            EXPECT_THAT(call, ::testing::Not(::testing::HasSubstr("Performance"))) << count;
        }
        EXPECT_EQ(levels.iSize, 0);
    }
}

TEST_F(OverdriveOperationsTest, SetClocksWritesVddcIntoDefaultLevelZeroThenTheClockConfig) {
    ASSERT_TRUE(Ops().SetPerformanceClocks(75000, 110000, 1200));

    EXPECT_THAT(Fake().calls,
                ElementsAre("ATIDL_GetODParameters(0, 56, 0)", "ATIDL_GetODClockInfo(0, 56)",
                            "ATIDL_GetODParameters(0, 56, 0)", "ATIDL_GetODClockInfo(0, 56)",
                            "ATIDL_GetODPerformanceLevels(0, 44, 1, 0)",
                            "ATIDL_GetODPerformanceLevels(0, 44, 0, 0)",
                            "ATIDL_SetODPerformanceLevels(0, {44, 0, 70000, 100000, 1200, 50000, "
                            "100000, 1050, 30000, 90000, 950}, 0)",
                            "ATIDL_SetODClockConfig(0, {16, 0, 110000, 75000})"));
}

TEST_F(OverdriveOperationsTest, RefusedVoltageFailsWithoutWritingTheClocks) {
    Fake().setLevelsResult = -1;
    EXPECT_FALSE(Ops().SetPerformanceClocks(75000, 110000, 1200));
    EXPECT_EQ(Fake().calls.back().rfind("ATIDL_SetODPerformanceLevels", 0), 0u);
    EXPECT_EQ(Fake().writtenClockConfig.iSize, 0);
    EXPECT_EQ(Fake().clockInfo.sEngineClock.iCurrent, 70000);
}

TEST_F(OverdriveOperationsTest, RefusedClocksPutThePreviousVoltageBack) {
    Fake().clockConfigResult = -1;
    EXPECT_FALSE(Ops().SetPerformanceClocks(75000, 110000, 1200));
    EXPECT_THAT(LevelWrites(),
                ElementsAre("ATIDL_SetODPerformanceLevels(0, {44, 0, 70000, 100000, 1200, 50000, "
                            "100000, 1050, 30000, 90000, 950}, 0)",
                            "ATIDL_SetODPerformanceLevels(0, {44, 0, 68000, 99000, 1100, 50000, "
                            "100000, 1050, 30000, 90000, 950}, 0)"));
    EXPECT_EQ(Fake().currentLevels.at(0).iVddc, 1100);

    // Current levels that cannot be read: the defaults' level 0 goes back instead.
    Fake().currentLevelsResult = -1;
    Fake().calls.clear();
    EXPECT_FALSE(Ops().SetPerformanceClocks(75000, 110000, 1200));
    ASSERT_EQ(LevelWrites().size(), 2u);
    EXPECT_EQ(LevelWrites().back(),
              "ATIDL_SetODPerformanceLevels(0, {44, 0, 70000, 100000, 1150, 50000, 100000, 1050, "
              "30000, 90000, 950}, 0)");
    EXPECT_EQ(Fake().currentLevels.at(0).iVddc, 1150);
}

// A driver that leaves a size word of its own in the levels it returns.
int VELMORA_CDECL LevelsWithForeignSize(int adapter, ADLODPerformanceLevels* levels, int defaults,
                                        int reserved) {
    const int result =
        FakeEntries().ATIDL_GetODPerformanceLevels(adapter, levels, defaults, reserved);
    levels->iSize = INT_MAX;
    return result;
}

TEST_F(OverdriveOperationsTest, RestoredLevelsCarryTheirOwnSizeWhateverTheDriverAnswered) {
    entries.ATIDL_GetODPerformanceLevels = LevelsWithForeignSize;
    Fake().clockConfigResult = -1;
    EXPECT_FALSE(Ops().SetPerformanceClocks(75000, 110000, 1200));
    EXPECT_THAT(LevelWrites(),
                ElementsAre("ATIDL_SetODPerformanceLevels(0, {44, 0, 70000, 100000, 1200, 50000, "
                            "100000, 1050, 30000, 90000, 950}, 0)",
                            "ATIDL_SetODPerformanceLevels(0, {44, 0, 68000, 99000, 1100, 50000, "
                            "100000, 1050, 30000, 90000, 950}, 0)"));
}

TEST_F(OverdriveOperationsTest, SetClocksRefusesValuesOutsideTheReportedRangesBeforeAnyWrite) {
    // Engine 500-1000 MHz (with headroom), memory 900-1200 MHz, Vddc 900-1300 mV.
    const int32_t outside[][3] = {{49999, 100000, 1100}, {100001, 100000, 1100},
                                  {70000, 89999, 1100},  {70000, 120001, 1100},
                                  {70000, 100000, 899},  {70000, 100000, 1301},
                                  {INT_MIN, INT_MIN, 0}, {INT_MAX, INT_MAX, INT_MAX}};
    for (const auto& value : outside) {
        Fake().calls.clear();
        EXPECT_FALSE(Ops().SetPerformanceClocks(value[0], value[1], value[2]))
            << value[0] << " " << value[1] << " " << value[2];
        EXPECT_THAT(Fake().calls,
                    ElementsAre("ATIDL_GetODParameters(0, 56, 0)", "ATIDL_GetODClockInfo(0, 56)"));
    }
    EXPECT_THAT(Fake().writtenLevels, IsEmpty());
    EXPECT_TRUE(Ops().SetPerformanceClocks(50000, 90000, 900));
    EXPECT_TRUE(Ops().SetPerformanceClocks(100000, 120000, 1300));

    // Without clock information the driver's own engine maximum (800 MHz) is the limit.
    Fake().clockInfoResult = -1;
    EXPECT_FALSE(Ops().SetPerformanceClocks(80001, 100000, 1100));
    EXPECT_TRUE(Ops().SetPerformanceClocks(80000, 100000, 1100));
}

TEST_F(OverdriveOperationsTest, SetClocksWithoutTheClockConfigEntryWritesNothing) {
    entries.ATIDL_SetODClockConfig = nullptr;
    EXPECT_FALSE(Ops().SetPerformanceClocks(75000, 110000, 1200));
    EXPECT_THAT(Fake().calls, IsEmpty());
}

TEST_F(OverdriveOperationsTest, SetClocksWritesNothingWhenDefaultsCannotBeRead) {
    Fake().levelsResult = -1;
    EXPECT_FALSE(Ops().SetPerformanceClocks(75000, 110000, 1200));
    EXPECT_THAT(Fake().writtenLevels, IsEmpty());
    EXPECT_EQ(Fake().writtenClockConfig.iSize, 0);

    entries.ATIDL_SetODPerformanceLevels = nullptr;
    Fake().levelsResult = 0;
    Fake().calls.clear();
    EXPECT_FALSE(Ops().SetPerformanceClocks(75000, 110000, 1200));
    EXPECT_THAT(Fake().calls, IsEmpty());
}

}  // namespace
