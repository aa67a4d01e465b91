// The driver binding against the simulated adapter installed in the prefix's system32.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>

#include "gpu/DriverBinding.h"
#include "gpu/core/DriverOperations.h"
#include "tests/support/MessagePump.h"
#include "tests/support/SimHarness.h"

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Not;

namespace {

struct TableCount {
    int atidl = 0;
    int adl = 0;
};

TableCount CountBoundEntries() {
    TableCount count;
    DriverEntries entries = DriverBinding::Entries();
    VisitDriverEntries(entries, [&count](const char*, DriverLibrary library, auto& entry) {
        if (entry != nullptr) {
            ++(library == DriverLibrary::Atidl ? count.atidl : count.adl);
        }
    });
    return count;
}

// The table's display-library entries, which the simulated library exports every one of.
int TableAdlEntries() {
    int count = 0;
    DriverEntries entries;
    VisitDriverEntries(entries, [&count](const char*, DriverLibrary library, auto&) {
        count += library == DriverLibrary::Adl ? 1 : 0;
    });
    return count;
}

bool SetBrightnessAndContrast() {
    const bool brightness = DriverBinding::SetDisplayColor(ColorKind::Brightness, 10);
    const bool contrast = DriverBinding::SetDisplayColor(ColorKind::Contrast, 110);
    return brightness || contrast;
}

class DriverBindingWineTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { simtest::RestoreHiddenSystemDlls(); }
    void SetUp() override { simtest::ResetSim(); }
    void TearDown() override {
        DriverBinding::ReleaseDriverLibraries();
        simtest::ResetSim();
    }
};

TEST_F(DriverBindingWineTest, BindsEveryEntryOfBothLibrariesAndChoosesTheAtidlLibrary) {
    const DriverLoad load = DriverBinding::LoadDriverLibraries();
    EXPECT_TRUE(load.atidl);
    EXPECT_TRUE(load.adl);
    EXPECT_EQ(load.generation, OverdriveGeneration::Atidl);
    EXPECT_FALSE(load.nothingLoaded());
    // The ATIDL library answers: the display library's Overdrive is never asked.
    EXPECT_THAT(simtest::CallLogLines("ADL2_"), IsEmpty());
    const TableCount count = CountBoundEntries();
    EXPECT_EQ(count.atidl, 12);
    EXPECT_EQ(count.adl, TableAdlEntries());
    EXPECT_THAT(simtest::CallLog(), Contains("load atipdlxx"));
    EXPECT_THAT(simtest::CallLog(), Contains("load atiadlxx"));

    DriverBinding::ReleaseDriverLibraries();
    EXPECT_EQ(CountBoundEntries().atidl + CountBoundEntries().adl, 0);
    EXPECT_EQ(::GetModuleHandleW(L"atipdlxx.dll"), nullptr);
    EXPECT_EQ(::GetModuleHandleW(L"atiadlxx.dll"), nullptr);
}

// The program starts the load on a thread of its own and takes it over when its main window is
// made: what it binds, and what the card then does, must be what a load in place gives.
TEST_F(DriverBindingWineTest, ALoadStartedAheadBindsWhatALoadInPlaceBinds) {
    simtest::ResetSim("Od5");  // a card the display library serves: a context of our own
    DriverBinding::StartLoadingAhead();
    DriverBinding::StartLoadingAhead();  // one load under way: the second start adds none
    const DriverLoad load = DriverBinding::LoadDriverLibraries();
    EXPECT_FALSE(load.atidl);
    EXPECT_TRUE(load.adl);
    EXPECT_EQ(load.generation, OverdriveGeneration::Od5);
    EXPECT_THAT(simtest::CallLogLines("load atiadlxx"), ElementsAre("load atiadlxx"));
    EXPECT_EQ(CountBoundEntries().adl, TableAdlEntries());
    // The context opened on the loading thread serves the calls made on this one.
    ASSERT_TRUE(DriverBinding::SetPerformanceClocks({850, 1100, 1200}));
    EXPECT_EQ(simtest::GetSimKey("Overdrive", "CurrentLevel2"), "85000,110000,1200");
    ASSERT_TRUE(DriverBinding::GetCurrentClocks());
    EXPECT_EQ(DriverBinding::GetCurrentClocks()->engineMHz, 850);

    // Released as any load is; the next load runs in place.
    DriverBinding::ReleaseDriverLibraries();
    EXPECT_EQ(::GetModuleHandleW(L"atiadlxx.dll"), nullptr);
    EXPECT_EQ(DriverBinding::LoadDriverLibraries().generation, OverdriveGeneration::Od5);
}

TEST_F(DriverBindingWineTest, ALoadStartedAheadThatFindsNoLibraryIsTheLoadFailure) {
    simtest::SetSimKey("Sim", "Missing", "atipdlxx,atiadlxx,atiadlxy");
    DriverBinding::StartLoadingAhead();
    const DriverLoad load = DriverBinding::LoadDriverLibraries();
    EXPECT_TRUE(load.nothingLoaded());
    EXPECT_EQ(DriverBinding::Generation(), OverdriveGeneration::None);
    EXPECT_FALSE(DriverBinding::SetPerformanceClocks({850, std::nullopt, std::nullopt}));
}

// A driver that never answers must not hold the program's start: past the wait the program goes
// on without a driver (and says the load failed) while the stalled load keeps what it holds.
TEST_F(DriverBindingWineTest, ALoadStartedAheadThatDoesNotFinishInTimeLeavesNoDriverBound) {
    simtest::ResetSim("Od5");
    simtest::SetSimKey("Sim", "Stall", "ADL2_Main_Control_Create:1500");
    DriverBinding::StartLoadingAhead();
    const DriverLoad load = DriverBinding::LoadDriverLibraries(100);
    EXPECT_TRUE(load.nothingLoaded());
    EXPECT_EQ(DriverBinding::Generation(), OverdriveGeneration::None);
    EXPECT_EQ(CountBoundEntries().adl, 0);
    EXPECT_FALSE(DriverBinding::SetPerformanceClocks({850, std::nullopt, std::nullopt}));

    // The stalled load ends on its own: its stalled call is logged once it answers, and the
    // calls after it follow within moments.
    size_t lines = 0;
    EXPECT_TRUE(testkit::PumpUntil(
        [&lines] {
            ::Sleep(300);
            const size_t now = simtest::CallLog().size();
            const bool quiet =
                now == lines && !simtest::CallLogLines("ADL2_Main_Control_Create").empty();
            lines = now;
            return quiet;
        },
        std::chrono::seconds(10)));
    // What it holds stays loaded by design; the next test starts from unloaded libraries (none of
    // which is bound here).
    while (HMODULE library = load.nothingLoaded() ? ::GetModuleHandleW(L"atiadlxx.dll") : nullptr) {
        ::FreeLibrary(library);
    }
}

TEST_F(DriverBindingWineTest, WithoutTheAtidlLibraryTheDisplayLibraryStillServesTheColours) {
    simtest::HiddenSystemDll atidl(L"atipdlxx.dll");
    ASSERT_TRUE(atidl.hidden());
    const DriverLoad load = DriverBinding::LoadDriverLibraries();
    EXPECT_FALSE(load.atidl);
    EXPECT_TRUE(load.adl);
    EXPECT_FALSE(load.nothingLoaded());

    const TableCount count = CountBoundEntries();
    EXPECT_EQ(count.atidl, 0);
    EXPECT_EQ(count.adl, TableAdlEntries());
    EXPECT_TRUE(SetBrightnessAndContrast());
    int32_t current = 0, fallback = 0, minimum = 0, maximum = 0, step = 0;
    EXPECT_TRUE(DriverBinding::GetDisplayColor(ColorKind::Contrast, current, fallback, minimum,
                                               maximum, step));
}

TEST_F(DriverBindingWineTest, NeitherLibraryIsWhatTheProgramReportsAsALoadFailure) {
    simtest::SetSimKey("Sim", "Missing", "atipdlxx,atiadlxx,atiadlxy");
    const DriverLoad load = DriverBinding::LoadDriverLibraries();
    EXPECT_TRUE(load.nothingLoaded());
    EXPECT_FALSE(load.overdriveUnavailable());
    EXPECT_EQ(DriverBinding::Generation(), OverdriveGeneration::None);
    EXPECT_FALSE(DriverBinding::GetOverdriveParameters());
    EXPECT_FALSE(DriverBinding::GetTemperature());
    EXPECT_EQ(DriverBinding::SetFanToDefault(), DriverWrite::NotMade);
}

TEST_F(DriverBindingWineTest, MissingAtiadlxxFallsBackToAtiadlxy) {
    simtest::HiddenSystemDll adl(L"atiadlxx.dll");
    ASSERT_TRUE(adl.hidden());
    EXPECT_TRUE(DriverBinding::LoadDriverLibraries().adl);

    EXPECT_NE(::GetModuleHandleW(L"atiadlxy.dll"), nullptr);
    EXPECT_EQ(::GetModuleHandleW(L"atiadlxx.dll"), nullptr);
    EXPECT_EQ(CountBoundEntries().adl, TableAdlEntries());
    EXPECT_THAT(simtest::CallLog(), Contains("load atiadlxy"));
    EXPECT_TRUE(DriverBinding::SetDisplayColor(ColorKind::Contrast, 120));
    EXPECT_THAT(simtest::CallLogLines("ADL_Display_Color_Set"),
                ElementsAre("ADL_Display_Color_Set(0, 0, 2, 120) = 0"));
}

TEST_F(DriverBindingWineTest, NoAdlLibraryKeepsTheAtidlEntriesAndItsOverdrive) {
    simtest::SetSimKey("Sim", "Missing", "atiadlxx,atiadlxy");
    const DriverLoad load = DriverBinding::LoadDriverLibraries();
    EXPECT_FALSE(load.nothingLoaded());
    EXPECT_EQ(load.generation, OverdriveGeneration::Atidl);
    EXPECT_THAT(simtest::CallLog(), Contains("refuse load atiadlxy"));

    const TableCount count = CountBoundEntries();
    EXPECT_EQ(count.atidl, 12);
    EXPECT_EQ(count.adl, 0);
    ADLODParameters params{};
    EXPECT_TRUE(simtest::Atidl().GetOverdriveParameters(params));
    EXPECT_FALSE(SetBrightnessAndContrast());
}

TEST_F(DriverBindingWineTest, SetPerformanceClocksReachesTheDriverInContractOrder) {
    (void)DriverBinding::LoadDriverLibraries();
    simtest::ClearCallLog();

    ASSERT_TRUE(simtest::Atidl().SetPerformanceClocks(80000, 110000, 1200));

    const std::string zeros12 = "0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0";
    const std::string parameters = "ATIDL_GetODParameters(0, {56, 0, " + zeros12 + "}, 0) = 0";
    const std::string clockInfo = "ATIDL_GetODClockInfo(0, {56, 0, " + zeros12 + "}) = 0";
    EXPECT_THAT(simtest::CallLog(),
                ElementsAre(parameters, clockInfo, parameters, clockInfo,
                            "ATIDL_GetODPerformanceLevels(0, {44, 0}, 1, 0) = 0",
                            "ATIDL_GetODPerformanceLevels(0, {44, 0}, 0, 0) = 0",
                            "ATIDL_SetODPerformanceLevels(0, {44, 0, 70000, 100000, 1200, 60000, "
                            "100000, 1050, 50000, 90000, 950}, 0) = 0",
                            "ATIDL_SetODClockConfig(0, {16, 0, 110000, 80000}) = 0"));
    EXPECT_EQ(simtest::GetSimKey("Overdrive", "VddcWrites"), "1200");

    // The card now runs what was written.
    ADLODPerformanceLevels levels{};
    ASSERT_TRUE(simtest::Atidl().GetPerformanceLevels(false, levels));
    EXPECT_EQ(levels.aLevels[0].iEngineClock, 80000);
    EXPECT_EQ(levels.aLevels[0].iMemoryClock, 110000);
    EXPECT_EQ(levels.aLevels[0].iVddc, 1200);
    ADLODParameters params{};
    ASSERT_TRUE(simtest::Atidl().GetOverdriveParameters(params));
    EXPECT_EQ(params.sEngineClock.iMax, 110000);  // 900 MHz reported, 200 MHz headroom
    EXPECT_EQ(params.sMemoryClock.iMax, 130000);
}

TEST_F(DriverBindingWineTest, RefusedVoltageFailsAndNoClocksAreWritten) {
    simtest::SetSimKey("Sim", "Refuse", "ATIDL_SetODPerformanceLevels");
    (void)DriverBinding::LoadDriverLibraries();
    EXPECT_FALSE(simtest::Atidl().SetPerformanceClocks(80000, 110000, 1200));
    EXPECT_THAT(simtest::CallLogLines("ATIDL_SetODPerformanceLevels"),
                ElementsAre(::testing::EndsWith(" = -1")));
    EXPECT_THAT(simtest::CallLogLines("ATIDL_SetODClockConfig"), IsEmpty());
    EXPECT_EQ(simtest::GetSimKey("Overdrive", "VddcWrites"), "");
    EXPECT_EQ(simtest::GetSimKey("Overdrive", "EngineClock"), "70000");
}

TEST_F(DriverBindingWineTest, RefusedClocksFailAndPutTheCurrentVoltageBack) {
    simtest::ResetSim("Undervolted");
    simtest::SetSimKey("Sim", "Refuse", "ATIDL_SetODClockConfig");
    (void)DriverBinding::LoadDriverLibraries();
    EXPECT_FALSE(simtest::Atidl().SetPerformanceClocks(80000, 110000, 1200));
    EXPECT_THAT(simtest::CallLogLines("ATIDL_SetODClockConfig"),
                ElementsAre("ATIDL_SetODClockConfig(0, {16, 0, 110000, 80000}) = -1"));
    EXPECT_EQ(simtest::GetSimKey("Overdrive", "VddcWrites"), "1200,1100");
    EXPECT_EQ(simtest::GetSimKey("Overdrive", "CurrentLevel0"), "70000,100000,1100");
    EXPECT_EQ(simtest::GetSimKey("Overdrive", "EngineClock"), "70000");

    // When the current levels cannot be read, the default level 0 goes back instead.
    simtest::ResetSim("Undervolted");
    simtest::SetSimKey("Sim", "Refuse",
                       "ATIDL_SetODClockConfig,ATIDL_GetODPerformanceLevels/Current");
    EXPECT_FALSE(simtest::Atidl().SetPerformanceClocks(80000, 110000, 1200));
    EXPECT_EQ(simtest::GetSimKey("Overdrive", "VddcWrites"), "1200,1150");
    EXPECT_EQ(simtest::GetSimKey("Overdrive", "CurrentLevel0"), "70000,100000,1150");
}

TEST_F(DriverBindingWineTest, ValuesOutsideTheReportedRangesNeverReachTheCard) {
    // The card would take clocks above what the program offers; the program must not try.
    simtest::SetSimKey("Overdrive", "EngineLimit", "130000");
    simtest::SetSimKey("Overdrive", "MemoryLimit", "150000");
    (void)DriverBinding::LoadDriverLibraries();
    EXPECT_FALSE(simtest::Atidl().SetPerformanceClocks(110500, 110000, 1200));
    EXPECT_FALSE(simtest::Atidl().SetPerformanceClocks(80000, 130500, 1200));
    EXPECT_FALSE(simtest::Atidl().SetPerformanceClocks(80000, 110000, 1325));
    EXPECT_FALSE(simtest::Atidl().SetPerformanceClocks(80000, 110000, 875));
    EXPECT_THAT(simtest::CallLogLines("ATIDL_Set"), IsEmpty());
    EXPECT_EQ(simtest::GetSimKey("Overdrive", "VddcWrites"), "");

    EXPECT_TRUE(simtest::Atidl().SetPerformanceClocks(110000, 130000, 1300));
    EXPECT_EQ(simtest::GetSimKey("Overdrive", "EngineClock"), "110000");
}

TEST_F(DriverBindingWineTest, CurrentClocksWithoutVoltageWhenTheLevelQueryIsRefused) {
    simtest::SetSimKey("Sim", "Refuse", "ATIDL_GetODPerformanceLevels");
    (void)DriverBinding::LoadDriverLibraries();
    ADLODPerformanceLevels levels{};
    levels.aLevels[0].iVddc = 1250;  // what the caller's record held before
    bool voltageKnown = true;
    ASSERT_TRUE(simtest::Atidl().GetPerformanceLevels(false, levels, &voltageKnown));
    EXPECT_FALSE(voltageKnown);
    EXPECT_EQ(levels.aLevels[0].iEngineClock, 70000);
    EXPECT_EQ(levels.aLevels[0].iMemoryClock, 100000);
    EXPECT_EQ(levels.aLevels[0].iVddc, DriverOperations::kUnknownVddc);

    // An Apply of that record's voltage, once the card answers again, writes nothing.
    simtest::SetSimKey("Sim", "Refuse", "");
    EXPECT_FALSE(simtest::Atidl().SetPerformanceClocks(
        levels.aLevels[0].iEngineClock, levels.aLevels[0].iMemoryClock, levels.aLevels[0].iVddc));
    EXPECT_THAT(simtest::CallLogLines("ATIDL_Set"), IsEmpty());
}

TEST_F(DriverBindingWineTest, SuccessesWithANoteAreSuccesses) {
    simtest::SetSimKey("Sim", "Note",
                       "ATIDL_GetODParameters,ATIDL_GetODClockInfo,ATIDL_GetODPerformanceLevels,"
                       "ATIDL_SetODPerformanceLevels,ATIDL_SetODClockConfig");
    (void)DriverBinding::LoadDriverLibraries();
    ASSERT_TRUE(simtest::Atidl().SetPerformanceClocks(80000, 110000, 1200));
    EXPECT_THAT(simtest::CallLogLines("ATIDL_SetODClockConfig"),
                ElementsAre("ATIDL_SetODClockConfig(0, {16, 0, 110000, 80000}) = 1"));
    EXPECT_EQ(simtest::GetSimKey("Overdrive", "VddcWrites"), "1200");

    ADLODPerformanceLevels levels{};
    bool voltageKnown = false;
    ASSERT_TRUE(simtest::Atidl().GetPerformanceLevels(false, levels, &voltageKnown));
    EXPECT_TRUE(voltageKnown);
    EXPECT_EQ(levels.aLevels[0].iEngineClock, 80000);
    EXPECT_EQ(levels.aLevels[0].iVddc, 1200);
}

TEST_F(DriverBindingWineTest, MissingExportsLeaveOnlyTheirEntriesEmpty) {
    simtest::SetSimKey("Sim", "MissingExports", "ATIDL_GetODClockInfo,ADL_Main_Control_Destroy");
    EXPECT_FALSE(DriverBinding::LoadDriverLibraries().nothingLoaded());

    const DriverEntries& entries = DriverBinding::Entries();
    EXPECT_EQ(entries.ATIDL_GetODClockInfo, nullptr);
    EXPECT_EQ(entries.ADL_Main_Control_Destroy, nullptr);
    const TableCount count = CountBoundEntries();
    EXPECT_EQ(count.atidl, 11);
    EXPECT_EQ(count.adl, TableAdlEntries() - 1);

    // Without clock information the driver's own ranges stand.
    ADLODParameters params{};
    ASSERT_TRUE(simtest::Atidl().GetOverdriveParameters(params));
    EXPECT_EQ(params.sEngineClock.iMax, 90000);
    // Destroy must be present for any display-colour call.
    EXPECT_FALSE(SetBrightnessAndContrast());
    EXPECT_THAT(simtest::CallLogLines("ADL_"), IsEmpty());
}

TEST_F(DriverBindingWineTest, ContrastAddressesTheSecondAdapterAndEveryContextIsClosed) {
    simtest::ResetSim("TwoAdapters");
    (void)DriverBinding::LoadDriverLibraries();

    ASSERT_TRUE(DriverBinding::SetDisplayColor(ColorKind::Contrast, 150));
    ASSERT_TRUE(DriverBinding::SetDisplayColor(ColorKind::Brightness, -30));
    int32_t current = 0, defaultValue = 0, minimum = 0, maximum = 0, step = 0;
    ASSERT_TRUE(DriverBinding::GetDisplayColor(ColorKind::Contrast, current, defaultValue, minimum,
                                               maximum, step));
    EXPECT_EQ(current, 150);
    EXPECT_EQ(defaultValue, 100);
    EXPECT_EQ(maximum, 200);

    EXPECT_THAT(simtest::CallLogLines("ADL_Display_Color_Set"),
                ElementsAre("ADL_Display_Color_Set(1, 1, 2, 150) = 0",
                            "ADL_Display_Color_Set(0, 0, 1, -30) = 0"));
    EXPECT_EQ(simtest::CallLogLines("ADL_Main_Control_Create").size(), 3u);
    EXPECT_EQ(simtest::CallLogLines("ADL_Main_Control_Destroy").size(), 3u);
}

TEST_F(DriverBindingWineTest, RejectedValueIsNotRetriedOnAnotherDisplay) {
    simtest::ResetSim("TwoAdapters");
    (void)DriverBinding::LoadDriverLibraries();
    // Adapter 0's display supports brightness only up to 100.
    EXPECT_FALSE(DriverBinding::SetDisplayColor(ColorKind::Brightness, 500));
    EXPECT_THAT(simtest::CallLogLines("ADL_Display_Color_Set"),
                ElementsAre("ADL_Display_Color_Set(0, 0, 1, 500) = -3"));
}

TEST_F(DriverBindingWineTest, ConnectedButUnmappedDisplayIsNeverChosen) {
    simtest::ResetSim("UnmappedDisplay");
    (void)DriverBinding::LoadDriverLibraries();
    ASSERT_TRUE(DriverBinding::SetDisplayColor(ColorKind::Brightness, 20));
    EXPECT_THAT(simtest::CallLogLines("ADL_Display_ColorCaps_Get"),
                ElementsAre("ADL_Display_ColorCaps_Get(0, 1, ptr, ptr) = 0"));
    EXPECT_THAT(simtest::CallLogLines("ADL_Display_Color_Set"),
                ElementsAre("ADL_Display_Color_Set(0, 1, 1, 20) = 0"));
}

}  // namespace
