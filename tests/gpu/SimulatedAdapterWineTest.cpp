// The simulated adapter's scenarios and card model, reached through the driver binding.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <string>

#include "gpu/DriverBinding.h"
#include "tests/support/SimHarness.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

class SimulatedAdapterWineTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { simtest::RestoreHiddenSystemDlls(); }
    void SetUp() override {
        simtest::ResetSim();
        ASSERT_EQ(DriverBinding::LoadDriverLibraries().generation, OverdriveGeneration::Atidl);
    }
    void TearDown() override {
        DriverBinding::ReleaseDriverLibraries();
        simtest::ResetSim();
    }

    static const DriverEntries& Entries() { return DriverBinding::Entries(); }

    static int Temperature() {
        ADLTemperature temperature{};
        temperature.iSize = sizeof(temperature);
        Entries().ATIDL_GetTemperature(0, 0, &temperature, 0);
        return temperature.iTemperature;
    }

    // Moves the thermal model's last update back, as if `ms` had passed since.
    static void LetTimePass(long long ms) {
        const long long updated = std::stoll(simtest::GetSimKey("Thermal", "Updated"));
        simtest::SetSimKey("Thermal", "Updated", std::to_string(updated - ms));
    }
};

TEST_F(SimulatedAdapterWineTest, HostileLevelCountsFailEveryOverdriveOperationCleanly) {
    for (const char* scenario : {"LevelsZero", "LevelsNegative", "LevelsHuge"}) {
        simtest::ResetSim(scenario);
        const auto start = std::chrono::steady_clock::now();
        ADLODParameters params{};
        EXPECT_FALSE(simtest::Atidl().GetOverdriveParameters(params)) << scenario;
        ADLODPerformanceLevels levels{};
        EXPECT_FALSE(simtest::Atidl().GetPerformanceLevels(false, levels)) << scenario;
        EXPECT_FALSE(simtest::Atidl().GetPerformanceLevels(true, levels)) << scenario;
        EXPECT_FALSE(simtest::Atidl().SetPerformanceClocks(80000, 110000, 1200)) << scenario;
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
        // No levels record was ever sized from the hostile count.
        EXPECT_THAT(simtest::CallLogLines("ATIDL_GetODPerformanceLevels"), IsEmpty());
        EXPECT_THAT(simtest::CallLogLines("ATIDL_SetODPerformanceLevels"), IsEmpty());
        EXPECT_EQ(simtest::GetSimKey("Overdrive", "EngineClock"), "70000");
    }
}

TEST_F(SimulatedAdapterWineTest, HostileAdapterAndDisplayListsFailColourOperationsCleanly) {
    for (const char* scenario : {"AdaptersHuge", "DisplayNullBuffer", "DisplaysHuge"}) {
        simtest::ResetSim(scenario);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_FALSE(DriverBinding::SetDisplayColor(ColorKind::Brightness, 10)) << scenario;
        int32_t v = 0;
        EXPECT_FALSE(DriverBinding::GetDisplayColor(ColorKind::Contrast, v, v, v, v, v))
            << scenario;
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
        EXPECT_THAT(simtest::CallLogLines("ADL_Display_ColorCaps_Get"), IsEmpty()) << scenario;
        EXPECT_EQ(simtest::CallLogLines("ADL_Main_Control_Create").size(),
                  simtest::CallLogLines("ADL_Main_Control_Destroy").size());
    }
}

TEST_F(SimulatedAdapterWineTest, FixedTemperaturesAreReportedAsTheyAre) {
    simtest::ResetSim("ColdTemperature");
    EXPECT_EQ(Temperature(), -15000);
    simtest::ResetSim("HotTemperature");
    EXPECT_EQ(Temperature(), 250000);
}

TEST_F(SimulatedAdapterWineTest, TemperatureRisesAfterAnOverclockAndFallsWithTheFan) {
    Temperature();  // starts the model's clock
    LetTimePass(60000);
    const int stock = Temperature();
    EXPECT_GT(stock, 40000);
    EXPECT_LT(stock, 80000);

    ASSERT_TRUE(simtest::Atidl().SetPerformanceClocks(110000, 130000, 1300));
    ADLFanSpeedValue fan{sizeof(ADLFanSpeedValue), kFanSpeedTypePercent, 20,
                         kFanSpeedFlagUserDefined};
    ASSERT_EQ(Entries().ATIDL_SetFanSpeed(0, 0, &fan, 0), 0);
    LetTimePass(1000);
    const int afterOneSecond = Temperature();
    EXPECT_GT(afterOneSecond, stock);
    LetTimePass(60000);
    const int overclocked = Temperature();
    EXPECT_GT(overclocked, afterOneSecond);
    EXPECT_GT(overclocked, stock + 15000);

    fan.iFanSpeed = 100;
    ASSERT_EQ(Entries().ATIDL_SetFanSpeed(0, 0, &fan, 0), 0);
    LetTimePass(60000);
    EXPECT_LT(Temperature(), overclocked);
}

TEST_F(SimulatedAdapterWineTest, FanEntriesFollowTheContract) {
    ADLFanSpeedInfo info{sizeof(ADLFanSpeedInfo), kFanSpeedInfoQueryFlags, 0, 0, 0, 0};
    Entries().ATIDL_GetFanSpeedInfo(0, 0, &info, 0);
    EXPECT_EQ(info.iMinPercent, 20);
    EXPECT_EQ(info.iMaxPercent, 100);

    ADLFanSpeedValue value{sizeof(ADLFanSpeedValue), kFanSpeedTypePercent, 60,
                           kFanSpeedFlagUserDefined};
    EXPECT_EQ(Entries().ATIDL_SetFanSpeed(0, 0, &value, 0), 0);
    ADLFanSpeedValue read{sizeof(ADLFanSpeedValue), kFanSpeedTypePercent, 0,
                          kFanSpeedFlagUserDefined};
    Entries().ATIDL_GetFanSpeed(0, 0, &read, 0);
    EXPECT_EQ(read.iFanSpeed, 60);
    EXPECT_EQ(simtest::GetSimKey("Fan", "Automatic"), "0");

    value.iFanSpeed = 150;
    EXPECT_NE(Entries().ATIDL_SetFanSpeed(0, 0, &value, 0), 0);
    Entries().ATIDL_SetFanSpeedToDefault(0, 0, 0);
    EXPECT_EQ(simtest::GetSimKey("Fan", "Automatic"), "1");

    EXPECT_THAT(simtest::CallLogLines("ATIDL_SetFanSpeed("),
                ElementsAre("ATIDL_SetFanSpeed(0, 0, {16, 1, 60, 1}, 0) = 0",
                            "ATIDL_SetFanSpeed(0, 0, {16, 1, 150, 1}, 0) = -3"));
    EXPECT_THAT(simtest::CallLogLines("ATIDL_SetFanSpeedToDefault"),
                ElementsAre("ATIDL_SetFanSpeedToDefault(0, 0, 0) = 0"));
}

TEST_F(SimulatedAdapterWineTest, AvivoSettingsAndRotationComeFromTheCard) {
    AvivoSettingRecord record{};
    record.iSize = sizeof(record);
    for (int setting : {5, 6, 7}) {
        Entries().ATIDL_GetAvivoSettings(0, setting, &record);
    }
    EXPECT_EQ(record.iReference, 9);
    EXPECT_EQ(record.iMinimum, 4);
    EXPECT_EQ(record.iMaximum, 14);
    EXPECT_EQ(record.iStep, 1);

    EXPECT_EQ(Entries().ATIDL_SetRotationAngle(0, 3), 0);
    EXPECT_EQ(simtest::GetSimKey("Display", "Rotation"), "3");
    EXPECT_NE(Entries().ATIDL_SetRotationAngle(0, 4), 0);
    EXPECT_EQ(simtest::GetSimKey("Display", "Rotation"), "3");
}

TEST_F(SimulatedAdapterWineTest, RefusedCallsChangeNothing) {
    simtest::SetSimKey("Sim", "Refuse", "ATIDL_SetFanSpeed,ADL_Display_Color_Set");
    ADLFanSpeedValue value{sizeof(ADLFanSpeedValue), kFanSpeedTypePercent, 70,
                           kFanSpeedFlagUserDefined};
    EXPECT_EQ(Entries().ATIDL_SetFanSpeed(0, 0, &value, 0), -1);
    EXPECT_EQ(simtest::GetSimKey("Fan", "Automatic"), "1");
    EXPECT_FALSE(DriverBinding::SetDisplayColor(ColorKind::Contrast, 150));
    EXPECT_EQ(simtest::GetSimKey("Adapter0.Display0", "Contrast"), "100,100,0,200,1");
}

}  // namespace
