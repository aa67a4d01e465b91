// Each Overdrive backend against the simulated adapter's personality of its generation,
// through the real exports of the simulated driver libraries: the backend chosen, the card's
// ranges and clocks in realistic units, writes that reach the card, refusals that leave it as
// it was, and every ADL2 context destroyed.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>
#include <type_traits>

#include "framework/Handles.h"
#include "framework/ModuleEntry.h"
#include "gpu/core/OverdriveDetection.h"
#include "tests/support/SimHarness.h"

namespace {

// The simulated libraries loaded the way the program loads them, and the table resolved.
class Libraries {
  public:
    Libraries() : atidl_(::LoadLibraryW(L"atipdlxx.dll")), adl_(::LoadLibraryW(L"atiadlxx.dll")) {
        VisitDriverEntries(entries_, [this](const char* name, DriverLibrary library, auto& entry) {
            const HMODULE module = library == DriverLibrary::Atidl ? atidl_.get() : adl_.get();
            entry = fw::LookUpEntry<std::remove_reference_t<decltype(entry)>>(module, name);
        });
    }

    bool atidlLoaded() const { return static_cast<bool>(atidl_); }
    const DriverEntries& entries() const { return entries_; }

  private:
    fw::Module atidl_;
    fw::Module adl_;
    DriverEntries entries_;
};

// What the program will do once the libraries are loaded: probe, choose, make the backend.
struct Overdrive {
    explicit Overdrive(const DriverEntries& entries) : context(entries) {
        probe.atidlAnswers = AtidlAnswers(entries);
        probe.adl = QueryAdlOverdrive(context);
        generation = ChooseOverdriveGeneration(probe);
        if (probe.adl) {
            backend = MakeAdlOverdriveBackend(generation, context, probe.adl->adapterIndex);
        }
    }

    AdlContext context;
    OverdriveProbe probe;
    OverdriveGeneration generation = OverdriveGeneration::None;
    std::unique_ptr<OverdriveBackend> backend;
};

class OverdriveBackendWineTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { simtest::RestoreHiddenSystemDlls(); }
    void TearDown() override {
        // Every context the program opened was destroyed with it.
        EXPECT_EQ(simtest::CallLogLines("ADL2_Main_Control_Create(").size(),
                  simtest::CallLogLines("ADL2_Main_Control_Destroy(").size());
        EXPECT_THAT(simtest::CallLogLines("ADL2_Main_Control_Destroy(ctx"),
                    ::testing::Each(::testing::EndsWith(") = 0")));
        simtest::ResetSim();
    }

    static int Key(const std::string& section, const std::string& key) {
        return std::stoi(simtest::GetSimKey(section, key));
    }
};

TEST_F(OverdriveBackendWineTest, TodaysCardKeepsTheAtidlPath) {
    simtest::ResetSim();
    Libraries libraries;
    Overdrive overdrive(libraries.entries());
    EXPECT_EQ(overdrive.generation, OverdriveGeneration::Atidl);
    ASSERT_TRUE(overdrive.probe.adl);
    EXPECT_EQ(overdrive.probe.adl->version, 5);
}

TEST_F(OverdriveBackendWineTest, Overdrive5WithoutTheAtidlLibraryGoesThroughTheDisplayLibrary) {
    simtest::ResetSim("Od5");
    Libraries libraries;
    EXPECT_FALSE(libraries.atidlLoaded());
    Overdrive overdrive(libraries.entries());
    ASSERT_EQ(overdrive.generation, OverdriveGeneration::Od5);
    OverdriveBackend& card = *overdrive.backend;

    const std::optional<OverdriveCapabilities> caps = card.Capabilities();
    ASSERT_TRUE(caps);
    EXPECT_EQ(caps->engineMHz->minimum, 500);
    EXPECT_EQ(caps->engineMHz->maximum, 900);
    EXPECT_EQ(caps->memoryMHz->maximum, 1300);
    EXPECT_EQ(caps->voltageMilliVolts->maximum, 1300);
    EXPECT_EQ(caps->fanPercent->minimum, 20);
    EXPECT_EQ(card.Settings(false)->engineMHz, 700);

    ASSERT_TRUE(card.Apply({850, 1100, 1200}));
    EXPECT_EQ(simtest::GetSimKey("Overdrive", "CurrentLevel2"), "85000,110000,1200");
    EXPECT_EQ(simtest::GetSimKey("Overdrive", "CurrentLevel0"), "50000,90000,950");
    EXPECT_EQ(card.CurrentClocks()->engineMHz, 850);

    // Outside the advertised range: refused before the driver sees it.
    const size_t writes = simtest::CallLogLines("ADL2_Overdrive5_ODPerformanceLevels_Set").size();
    EXPECT_FALSE(card.Apply({901, std::nullopt, std::nullopt}));
    EXPECT_EQ(simtest::CallLogLines("ADL2_Overdrive5_ODPerformanceLevels_Set").size(), writes);
    // Refused by the driver: the card stays as it was.
    simtest::SetSimKey("Sim", "Refuse", "ADL2_Overdrive5_ODPerformanceLevels_Set");
    EXPECT_FALSE(card.Apply({600, std::nullopt, std::nullopt}));
    EXPECT_EQ(simtest::GetSimKey("Overdrive", "CurrentLevel2"), "85000,110000,1200");

    ASSERT_EQ(card.SetFanPercent(60), DriverWrite::Accepted);
    EXPECT_EQ(Key("Fan", "Percent"), 60);
    EXPECT_EQ(Key("Fan", "Automatic"), 0);
    ASSERT_EQ(card.SetFanAutomatic(), DriverWrite::Accepted);
    EXPECT_EQ(Key("Fan", "Automatic"), 1);
    const std::optional<int32_t> temperature = card.Temperature();
    ASSERT_TRUE(temperature);
    EXPECT_GT(*temperature, 20000);
    EXPECT_LT(*temperature, 120000);
}

TEST_F(OverdriveBackendWineTest, Overdrive6CardsAnswerOnlyTheirOwnGeneration) {
    simtest::ResetSim("Od6");
    Libraries libraries;
    ASSERT_TRUE(libraries.atidlLoaded());
    Overdrive overdrive(libraries.entries());
    // The ATIDL library loads but refuses a card it does not know.
    EXPECT_FALSE(overdrive.probe.atidlAnswers);
    EXPECT_THAT(simtest::CallLogLines("ATIDL_GetODParameters"),
                ::testing::Each(::testing::EndsWith(") = -8")));
    ASSERT_EQ(overdrive.generation, OverdriveGeneration::Od6);
    OverdriveBackend& card = *overdrive.backend;

    const std::optional<OverdriveCapabilities> caps = card.Capabilities();
    ASSERT_TRUE(caps);
    EXPECT_EQ(caps->engineMHz->maximum, 1200);
    EXPECT_EQ(caps->memoryMHz->maximum, 1600);
    EXPECT_FALSE(caps->voltageMilliVolts);
    EXPECT_EQ(card.Settings(false)->engineMHz, 947);

    ASSERT_TRUE(card.Apply({1000, 1300, std::nullopt}));
    EXPECT_EQ(simtest::GetSimKey("Od6", "CustomMax"), "100000,130000");
    EXPECT_EQ(simtest::GetSimKey("Od6", "CustomMin"), "30000,15000");
    EXPECT_EQ(card.CurrentClocks()->engineMHz, 1000);
    ASSERT_TRUE(card.RestoreDefaults());
    EXPECT_EQ(simtest::GetSimKey("Od6", "CustomMax"), "94700,125000");

    ASSERT_EQ(card.SetFanPercent(55), DriverWrite::Accepted);
    EXPECT_EQ(card.FanPercent(), 55);

    // Another generation's calls are not supported by this card.
    const DriverEntries& entries = libraries.entries();
    ADLPMActivity activity{};
    activity.iSize = sizeof(activity);
    EXPECT_EQ(entries.ADL2_Overdrive5_CurrentActivity_Get(overdrive.context.handle(), 0, &activity),
              kAdlErrNotSupported);
    ADLODNCapabilitiesX2 odn{};
    EXPECT_EQ(entries.ADL2_OverdriveN_CapabilitiesX2_Get(overdrive.context.handle(), 0, &odn),
              kAdlErrNotSupported);
}

TEST_F(OverdriveBackendWineTest, OverdriveNEditsTheHighestEnabledLevelsOfTheActiveRecord) {
    simtest::ResetSim("OdN");
    Libraries libraries;
    Overdrive overdrive(libraries.entries());
    ASSERT_EQ(overdrive.generation, OverdriveGeneration::OdN);
    // The card's first adapter record is inactive.
    EXPECT_EQ(overdrive.probe.adl->adapterIndex, 1);
    OverdriveBackend& card = *overdrive.backend;

    const std::optional<OverdriveCapabilities> caps = card.Capabilities();
    ASSERT_TRUE(caps);
    EXPECT_EQ(caps->engineMHz->maximum, 2000);
    EXPECT_EQ(caps->memoryMHz->maximum, 2500);
    EXPECT_EQ(caps->voltageMilliVolts->maximum, 1200);
    EXPECT_FALSE(caps->fanPercent);
    const std::optional<OverdriveSettings> settings = card.Settings(false);
    ASSERT_TRUE(settings);
    EXPECT_EQ(settings->engineMHz, 1340);
    EXPECT_EQ(settings->memoryMHz, 2000);
    EXPECT_EQ(settings->voltageMilliVolts, 1150);

    ASSERT_TRUE(card.Apply({1360, 2050, 1160}));
    EXPECT_EQ(simtest::GetSimKey("OdN", "EngineCurrent7"), "136000,1160,1,3");
    EXPECT_EQ(simtest::GetSimKey("OdN", "MemoryCurrent2"), "205000,950,1,3");
    const std::optional<OverdriveClocks> clocks = card.CurrentClocks();
    ASSERT_TRUE(clocks);
    EXPECT_EQ(clocks->engineMHz, 1360);
    EXPECT_EQ(clocks->memoryMHz, 2050);
    const std::optional<int32_t> temperature = card.Temperature();
    ASSERT_TRUE(temperature);
    EXPECT_GT(*temperature, 20000);
    EXPECT_LT(*temperature, 120000);

    // A refused memory write puts the engine levels back.
    simtest::SetSimKey("Sim", "Refuse", "ADL2_OverdriveN_MemoryClocksX2_Set");
    EXPECT_FALSE(card.Apply({1400, 2100, std::nullopt}));
    EXPECT_EQ(simtest::GetSimKey("OdN", "EngineCurrent7"), "136000,1160,1,3");
    EXPECT_EQ(simtest::GetSimKey("OdN", "MemoryCurrent2"), "205000,950,1,3");

    simtest::SetSimKey("Sim", "Refuse", "");
    ASSERT_TRUE(card.RestoreDefaults());
    EXPECT_EQ(card.Settings(false)->engineMHz, 1340);
    ASSERT_EQ(card.SetFanAutomatic(), DriverWrite::Accepted);
    EXPECT_EQ(simtest::GetSimKey("OdN", "FanControl").substr(0, 2), "2,");
}

TEST_F(OverdriveBackendWineTest, Overdrive8SetsTheClockMaximaAndReadsThePerformanceLog) {
    simtest::ResetSim("Od8");
    Libraries libraries;
    Overdrive overdrive(libraries.entries());
    ASSERT_EQ(overdrive.generation, OverdriveGeneration::Od8);
    OverdriveBackend& card = *overdrive.backend;

    const std::optional<OverdriveCapabilities> caps = card.Capabilities();
    ASSERT_TRUE(caps);
    EXPECT_EQ(caps->engineMHz->minimum, 800);
    EXPECT_EQ(caps->engineMHz->maximum, 2100);
    EXPECT_EQ(caps->memoryMHz->maximum, 930);
    EXPECT_FALSE(caps->voltageMilliVolts);
    EXPECT_FALSE(caps->fanPercent);
    EXPECT_EQ(card.Settings(true)->engineMHz, 1980);

    ASSERT_TRUE(card.Apply({2050, 900, std::nullopt}));
    EXPECT_EQ(Key("Od8", "Current0"), 2050);
    EXPECT_EQ(Key("Od8", "Current8"), 900);
    EXPECT_EQ(card.CurrentClocks()->engineMHz, 2050);
    const std::optional<int32_t> temperature = card.Temperature();
    ASSERT_TRUE(temperature);
    EXPECT_GT(*temperature, 20000);
    EXPECT_LT(*temperature, 120000);
    EXPECT_EQ(*temperature % 1000, 0);  // the log's whole degrees

    // A driver that claims more settings than its lists hold is read as far as they reach.
    simtest::SetSimKey("Od8", "ReportedCount", "5000");
    EXPECT_EQ(card.Settings(false)->memoryMHz, 900);
    ASSERT_TRUE(card.RestoreDefaults());
    EXPECT_EQ(Key("Od8", "Current0"), 1980);
    ASSERT_EQ(card.SetFanAutomatic(), DriverWrite::Accepted);
    EXPECT_EQ(Key("Od8", "Current20"), 23);
}

TEST_F(OverdriveBackendWineTest, DisabledOverdriveChoosesNoBackend) {
    simtest::ResetSim("Od6");
    simtest::SetSimKey("Overdrive", "Enabled", "0");
    Libraries libraries;
    Overdrive overdrive(libraries.entries());
    EXPECT_EQ(overdrive.generation, OverdriveGeneration::None);
    EXPECT_FALSE(overdrive.backend);
}

}  // namespace
