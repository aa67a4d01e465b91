// The overclocking page against the simulated adapter: what its operations send to the card,
// what they keep in the settings, and the faults a missing or refusing driver must not cause.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>

#include "gpu/DriverBinding.h"
#include "gpu/OverClockSetDlg.h"
#include "settings/RunConfig.h"
#include "skin/SkinImages.h"
#include "settings/core/HotkeyDefinitions.h"
#include "tests/support/MessageBoxes.h"
#include "tests/support/Mouse.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/SimHarness.h"
#include "tests/support/SkinSession.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

constexpr wchar_t kApplied[] = L"核心硬件设置成功";

constexpr char kSavedClocks[] =
    "[Clock_Set]\r\nGPUFrequency=850\r\nGPUVoltage=1100\r\nMem=1000\r\nFan=55\r\nSelFan=0\r\n";
constexpr char kTemplateClocks[] =
    "[Clock_Set]\r\nGPUFrequency=0\r\nGPUVoltage=0\r\nMem=0\r\nFan=50\r\nSelFan=1\r\n";
constexpr char kNoClockSection[] = "[SettingInfo]\r\nRunValue=0\r\nExitKeep=1\r\n";

// The page in a settings folder of its own: the settings go to ".\RunConfig.dat" of the current
// folder.
class OverclockPage : public testkit::WithSkin<>, protected testkit::SettingsFolder {
  protected:
    OverclockPage() : SettingsFolder(L"overclock") {}

    static void SetUpTestSuite() {
        WithSkin::SetUpTestSuite();
        simtest::RestoreHiddenSystemDlls();
    }

    void SetUp() override { simtest::ResetSim(); }

    void TearDown() override {
        page_.reset();
        if (host_ != nullptr) {
            ::DestroyWindow(host_);
        }
        DriverBinding::ReleaseDriverLibraries();
    }

    // The driver libraries, then the page created hidden in a host window.
    DriverLoad CreatePage() {
        const DriverLoad load = DriverBinding::LoadDriverLibraries();
        host_ = ::CreateWindowExW(0, L"STATIC", L"host", WS_POPUP, 0, 0, 800, 328, nullptr, nullptr,
                                  nullptr, nullptr);
        page_ = std::make_unique<COverClockSetDlg>();
        EXPECT_TRUE(page_->Create(host_));
        simtest::ClearCallLog();
        return load;
    }

    std::string ClockSection() {
        const std::string text = SettingsText();
        const size_t start = text.find("[Clock_Set]");
        if (start == std::string::npos) {
            return "";
        }
        return text.substr(start, text.find('[', start + 1) - start);
    }

    // OnApplyPage with its message boxes pressed away; their texts.
    std::vector<std::wstring> Apply() {
        testkit::MessageBoxDismisser dismisser;
        page_->OnApplyPage();
        return dismisser.Texts();
    }

    COverClockSetDlg& page() { return *page_; }

    // Steps the slider of a hotkey's target, as the main window does.
    void Step(hotkeys::Target target, int steps) {
        CHorizSlid* slider = page().HotkeySlider(target);
        ASSERT_NE(slider, nullptr);
        for (int n = 0; n < steps; ++n) {
            slider->StepUp();
        }
    }

    HWND host_ = nullptr;
    std::unique_ptr<COverClockSetDlg> page_;
};

TEST_F(OverclockPage, RangesComeFromTheDriverWithTheEngineHeadroom) {
    StartWithSettings(kSavedClocks);
    CreatePage();
    // Engine 500-900 MHz reported, 200 MHz more offered; memory 900-1300; Vddc 900-1300; fan
    // 20-100 %.
    EXPECT_EQ(page().SliderAt(COverClockSetDlg::kCore).minimum, 500);
    EXPECT_EQ(page().SliderAt(COverClockSetDlg::kCore).maximum, 1100);
    EXPECT_EQ(page().SliderAt(COverClockSetDlg::kMemory).minimum, 900);
    EXPECT_EQ(page().SliderAt(COverClockSetDlg::kMemory).maximum, 1300);
    EXPECT_EQ(page().SliderAt(COverClockSetDlg::kVoltage).minimum, 900);
    EXPECT_EQ(page().SliderAt(COverClockSetDlg::kVoltage).maximum, 1300);
    EXPECT_EQ(page().SliderAt(COverClockSetDlg::kFan).minimum, 20);
    EXPECT_EQ(page().SliderAt(COverClockSetDlg::kFan).maximum, 100);
    EXPECT_EQ(page().SliderAt(COverClockSetDlg::kCore).step, 1);
    // Manual fan as stored: the fan slider is enabled.
    EXPECT_FALSE(page().AutomaticFan());
    EXPECT_FALSE(page().AutomaticFan());
    EXPECT_TRUE(page().SliderAt(COverClockSetDlg::kFan).enabled);
}

TEST_F(OverclockPage, DriverClocksShowTruncatedToMHzAndAreWrittenBackTimesHundred) {
    StartWithSettings(kSavedClocks);
    simtest::SetSimKey("Overdrive", "EngineClock", "85099");
    simtest::SetSimKey("Overdrive", "MemoryClock", "100050");
    CreatePage();
    page().LoadFromHardware();
    EXPECT_EQ(page().SliderAt(COverClockSetDlg::kCore).GetPos(), 850);
    EXPECT_EQ(page().SliderAt(COverClockSetDlg::kMemory).GetPos(), 1000);
    EXPECT_EQ(page().SliderAt(COverClockSetDlg::kVoltage).GetPos(), 1150);
    EXPECT_EQ(page().SliderAt(COverClockSetDlg::kFan).GetPos(),
              std::stoi(simtest::GetSimKey("Fan", "Percent")));

    EXPECT_TRUE(page().StoreAndApply());
    EXPECT_THAT(simtest::CallLogLines("ATIDL_SetODClockConfig"),
                ElementsAre("ATIDL_SetODClockConfig(0, {16, 0, 100000, 85000}) = 0"));
}

TEST_F(OverclockPage, StoredValuesOutsideTheDriverRangesAreAppliedClamped) {
    // Engine 500-650 MHz reported: 500-850 offered.
    simtest::SetSimKey("Overdrive", "EngineRange", "50000,65000,500");
    StartWithSettings(
        "[Clock_Set]\r\nGPUFrequency=900\r\nGPUVoltage=1100\r\nMem=1000\r\nFan=150\r\n"
        "SelFan=0\r\n");
    CreatePage();
    page().LoadFromSettings();
    EXPECT_EQ(page().SliderAt(COverClockSetDlg::kFan).GetPos(), 100);

    EXPECT_THAT(Apply(), ElementsAre(kApplied));
    EXPECT_EQ(simtest::GetSimKey("Overdrive", "EngineClock"), "85000");
    EXPECT_EQ(simtest::GetSimKey("Overdrive", "MemoryClock"), "100000");
    EXPECT_EQ(simtest::GetSimKey("Overdrive", "CurrentLevel0"), "70000,100000,1100");
    EXPECT_EQ(simtest::GetSimKey("Fan", "Percent"), "100");
    EXPECT_EQ(simtest::GetSimKey("Fan", "Automatic"), "0");
    EXPECT_EQ(ClockSection(),
              "[Clock_Set]\r\nGPUFrequency=850\r\nGPUVoltage=1100\r\nMem=1000\r\nFan=100\r\n"
              "SelFan=0\r\n");

    // A stored fan below the range: 0, then the slider's minimum.
    StartWithSettings(
        "[Clock_Set]\r\nGPUFrequency=600\r\nGPUVoltage=1100\r\nMem=1000\r\nFan=-5\r\n"
        "SelFan=0\r\n");
    page().LoadFromSettings();
    EXPECT_EQ(page().SliderAt(COverClockSetDlg::kFan).GetPos(), 20);
}

TEST_F(OverclockPage, AutomaticFanRestoresDriverControlAndTogglingAloneSendsNothing) {
    StartWithSettings(kSavedClocks);
    CreatePage();
    page().LoadFromSettings();
    page().ToggleAutoFan();
    EXPECT_TRUE(page().AutomaticFan());
    EXPECT_FALSE(page().SliderAt(COverClockSetDlg::kFan).enabled);
    EXPECT_THAT(simtest::CallLog(), IsEmpty());

    EXPECT_THAT(Apply(), ElementsAre(kApplied));
    EXPECT_THAT(simtest::CallLogLines("ATIDL_SetFanSpeedToDefault"), ElementsAre(testing::_));
    EXPECT_THAT(simtest::CallLogLines("ATIDL_SetFanSpeed("), IsEmpty());
    EXPECT_EQ(simtest::GetSimKey("Fan", "Automatic"), "1");
    EXPECT_TRUE(g_runSettings.Clock.SelFan);
}

TEST_F(OverclockPage, DefaultSetsTheDriverDefaultsAndLeavesTheSettings) {
    StartWithSettings(kSavedClocks);
    CreatePage();
    page().LoadFromSettings();
    EXPECT_THAT(Apply(), ElementsAre(kApplied));
    const std::string saved = ClockSection();

    page().OnRestoreDefault();
    EXPECT_EQ(simtest::GetSimKey("Overdrive", "EngineClock"), "70000");
    EXPECT_EQ(simtest::GetSimKey("Overdrive", "CurrentLevel0"), "70000,100000,1150");
    EXPECT_EQ(simtest::GetSimKey("Fan", "Automatic"), "1");
    EXPECT_EQ(page().SliderAt(COverClockSetDlg::kCore).GetPos(), 700);
    EXPECT_EQ(page().SliderAt(COverClockSetDlg::kMemory).GetPos(), 1000);
    EXPECT_EQ(page().SliderAt(COverClockSetDlg::kVoltage).GetPos(), 1150);
    EXPECT_TRUE(page().AutomaticFan());
    EXPECT_FALSE(page().SliderAt(COverClockSetDlg::kFan).enabled);
    EXPECT_EQ(ClockSection(), saved);
    EXPECT_EQ(g_runSettings.Clock.GPUFrequency, 850);
}

TEST_F(OverclockPage, ARefusedClockWriteIsNoSuccessAndPutsTheVoltageBack) {
    StartWithSettings(kSavedClocks);
    simtest::SetSimKey("Sim", "Refuse", "ATIDL_SetODClockConfig");
    CreatePage();
    page().LoadFromSettings();
    EXPECT_THAT(Apply(), IsEmpty());
    EXPECT_EQ(simtest::GetSimKey("Overdrive", "VddcWrites"), "1100,1150");
    EXPECT_EQ(simtest::GetSimKey("Overdrive", "CurrentLevel0"), "70000,100000,1150");
    // The sliders show what the card runs.
    EXPECT_EQ(page().SliderAt(COverClockSetDlg::kVoltage).GetPos(), 1150);
    EXPECT_EQ(page().SliderAt(COverClockSetDlg::kCore).GetPos(), 700);
}

TEST_F(OverclockPage, WithoutTheDriverStoredValuesAreKeptAndNothingIsApplied) {
    StartWithSettings(kSavedClocks);
    simtest::SetSimKey("Sim", "Missing", "atipdlxx,atiadlxx,atiadlxy");
    EXPECT_TRUE(CreatePage().nothingLoaded());
    // The sliders keep their constructed range.
    EXPECT_EQ(page().SliderAt(COverClockSetDlg::kCore).maximum, 29);

    // Destroyed before it was ever shown.
    ::DestroyWindow(page().GetSafeHwnd());
    EXPECT_EQ(g_runSettings.Clock.GPUFrequency, 850);
    EXPECT_EQ(g_runSettings.Clock.GPUVoltage, 1100);
    EXPECT_EQ(g_runSettings.Clock.Mem, 1000);
    EXPECT_EQ(g_runSettings.Clock.Fan, 55);

    // Shown, loaded, applied and destroyed.
    page_ = std::make_unique<COverClockSetDlg>();
    ASSERT_TRUE(page().Create(host_));
    page().ShowPage(SW_SHOW);
    page().LoadFromSettings();
    EXPECT_THAT(Apply(), IsEmpty());
    ::DestroyWindow(page().GetSafeHwnd());
    EXPECT_EQ(ClockSection(), kSavedClocks);
    EXPECT_EQ(g_runSettings.Clock.GPUFrequency, 850);
    EXPECT_EQ(g_runSettings.Clock.Fan, 55);
    EXPECT_THAT(simtest::CallLogLines("ATIDL_"), IsEmpty());
}

TEST_F(OverclockPage, WithoutTheDriverNoSliderCanReplaceAStoredClock) {
    StartWithSettings(kSavedClocks);
    simtest::SetSimKey("Sim", "Missing", "atipdlxx,atiadlxx,atiadlxy");
    CreatePage();
    page().ShowPage(SW_SHOW);
    page().LoadFromSettings();
    // The sliders' scale is not the card's: they take no clicks, and no hotkey may step them.
    for (auto slot : {COverClockSetDlg::kCore, COverClockSetDlg::kVoltage, COverClockSetDlg::kFan,
                      COverClockSetDlg::kMemory}) {
        const CHorizSlid& slider = page().SliderAt(slot);
        EXPECT_FALSE(slider.enabled);
        const int before = slider.GetPos();
        testkit::ClickAt(slider.GetSafeHwnd(),
                         {slider.minusRect.left + 2, slider.minusRect.top + 2});
        EXPECT_EQ(slider.GetPos(), before);
    }
    for (auto target :
         {hotkeys::Target::CoreClock, hotkeys::Target::MemoryClock, hotkeys::Target::FanSpeed}) {
        EXPECT_EQ(page().HotkeySlider(target), nullptr);
    }
    EXPECT_THAT(Apply(), IsEmpty());
    EXPECT_EQ(g_runSettings.Clock.GPUFrequency, 850);
    EXPECT_EQ(g_runSettings.Clock.Mem, 1000);
    EXPECT_EQ(ClockSection(), kSavedClocks);
}

TEST_F(OverclockPage, AFanReadingWithoutAFanRangeNeverReplacesTheStoredPercent) {
    StartWithSettings(kSavedClocks);
    simtest::SetSimKey("Sim", "Refuse", "ATIDL_GetFanSpeedInfo");
    simtest::SetSimKey("Fan", "Percent", "80");
    CreatePage();
    page().ShowPage(SW_SHOW);
    EXPECT_FALSE(page().SliderAt(COverClockSetDlg::kFan).enabled);
    EXPECT_EQ(page().HotkeySlider(hotkeys::Target::FanSpeed), nullptr);
    EXPECT_THAT(Apply(), ElementsAre(kApplied));
    EXPECT_EQ(g_runSettings.Clock.Fan, 55);
    EXPECT_THAT(simtest::CallLogLines("ATIDL_SetFanSpeed("), IsEmpty());
}

TEST_F(OverclockPage, ClocksNeverSavedTakeTheCurrentLevel) {
    StartWithSettings(kTemplateClocks);
    simtest::SetSimKey("Overdrive", "EngineClock", "80000");
    simtest::SetSimKey("Overdrive", "CurrentLevel0", "70000,100000,1200");
    CreatePage();
    page().LoadFromSettings();
    EXPECT_EQ(page().SliderAt(COverClockSetDlg::kCore).GetPos(), 800);
    EXPECT_EQ(page().SliderAt(COverClockSetDlg::kVoltage).GetPos(), 1200);
    EXPECT_EQ(page().SliderAt(COverClockSetDlg::kMemory).GetPos(), 1000);
    EXPECT_THAT(Apply(), ElementsAre(kApplied));
    EXPECT_EQ(simtest::GetSimKey("Overdrive", "EngineClock"), "80000");
    EXPECT_EQ(simtest::GetSimKey("Overdrive", "VddcWrites"), "1200");
}

TEST_F(OverclockPage, ClocksNeverSavedAndUnreadableApplyNothing) {
    StartWithSettings(kTemplateClocks);
    // The clocks can be read, the voltage cannot.
    simtest::SetSimKey("Sim", "Refuse", "ATIDL_GetODPerformanceLevels/Current");
    CreatePage();
    page().LoadFromSettings();
    EXPECT_THAT(Apply(), IsEmpty());
    EXPECT_THAT(simtest::CallLogLines("ATIDL_SetOD"), IsEmpty());
    EXPECT_EQ(simtest::GetSimKey("Overdrive", "VddcWrites"), "");
    // The voltage was never set and stays so.
    EXPECT_EQ(g_runSettings.Clock.GPUVoltage, 0);
}

TEST_F(OverclockPage, ASectionNeverSavedAppliesNothing) {
    StartWithSettings(kNoClockSection);
    CreatePage();
    EXPECT_TRUE(page().AutomaticFan());
    page().LoadFromSettings();
    EXPECT_TRUE(page().AutomaticFan());
    EXPECT_FALSE(page().SliderAt(COverClockSetDlg::kFan).enabled);
    EXPECT_THAT(Apply(), IsEmpty());
    EXPECT_THAT(simtest::CallLogLines("ATIDL_Set"), IsEmpty());
    EXPECT_EQ(simtest::GetSimKey("Fan", "Automatic"), "1");
    // What was saved is no manual fan at its minimum, and from then on it is applied.
    EXPECT_TRUE(g_runSettings.Clock.SelFan);
    Apply();
    EXPECT_THAT(simtest::CallLogLines("ATIDL_SetFanSpeedToDefault"), ElementsAre(testing::_));
}

TEST_F(OverclockPage, AFanThatCannotBeReadKeepsTheSlidersValue) {
    StartWithSettings(kSavedClocks);
    simtest::SetSimKey("Sim", "MissingExports", "ATIDL_GetFanSpeed");
    CreatePage();
    page().LoadFromSettings();
    page().LoadFromHardware();
    EXPECT_EQ(page().SliderAt(COverClockSetDlg::kFan).GetPos(), 55);
    Step(hotkeys::Target::FanSpeed, 1);
    page().LoadFromHardware();
    EXPECT_EQ(page().SliderAt(COverClockSetDlg::kFan).GetPos(), 56);

    // Never loaded: the stored value, not the slider's minimum.
    page_ = std::make_unique<COverClockSetDlg>();
    ASSERT_TRUE(page().Create(host_));
    page().LoadFromHardware();
    EXPECT_EQ(page().SliderAt(COverClockSetDlg::kFan).GetPos(), 55);
}

TEST_F(OverclockPage, WithoutAUsableFanRangeNoManualSpeedIsWritten) {
    // The range query refused, or answered with the minimum above the maximum; either way the
    // fan reading puts a value on the slider.
    const std::pair<const char*, const char*> cases[] = {
        {"Refuse", "ATIDL_GetFanSpeedInfo"},
        {"Range", "80,30,4000,800"},
    };
    for (const auto& [key, value] : cases) {
        SCOPED_TRACE(value);
        StartWithSettings(kSavedClocks);
        simtest::ResetSim();
        simtest::SetSimKey(std::string(key) == "Range" ? "Fan" : "Sim", key, value);
        CreatePage();
        page().LoadFromSettings();
        page().LoadFromHardware();
        Apply();
        EXPECT_THAT(simtest::CallLogLines("ATIDL_SetFanSpeed("), IsEmpty());
        EXPECT_THAT(simtest::CallLogLines("ATIDL_SetODClockConfig"), ElementsAre(testing::_));
        page_.reset();
        ::DestroyWindow(host_);
        host_ = nullptr;
        DriverBinding::ReleaseDriverLibraries();
    }
}

TEST_F(OverclockPage, ARefusedFanWriteIsNoSuccess) {
    // Manual fan refused, and automatic fan refused: every write is still attempted.
    const std::pair<const char*, bool> cases[] = {
        {"ATIDL_SetFanSpeed", false},
        {"ATIDL_SetFanSpeedToDefault", true},
    };
    for (const auto& [refused, automatic] : cases) {
        SCOPED_TRACE(refused);
        StartWithSettings(kSavedClocks);
        simtest::ResetSim();
        simtest::SetSimKey("Sim", "Refuse", refused);
        CreatePage();
        page().LoadFromSettings();
        if (automatic) {
            page().ToggleAutoFan();
        }
        EXPECT_THAT(Apply(), IsEmpty());
        EXPECT_FALSE(page().StoreAndApply());
        EXPECT_THAT(simtest::CallLogLines(std::string(refused) + "("), testing::SizeIs(2));
        EXPECT_THAT(simtest::CallLogLines("ATIDL_SetODClockConfig"), testing::SizeIs(2));
        page_.reset();
        ::DestroyWindow(host_);
        host_ = nullptr;
        DriverBinding::ReleaseDriverLibraries();
    }
}

TEST_F(OverclockPage, AFanPercentOutsideTheRangeReadForTheWriteIsNeverWritten) {
    StartWithSettings(kSavedClocks);
    CreatePage();
    page().LoadFromSettings();
    EXPECT_EQ(page().SliderAt(COverClockSetDlg::kFan).GetPos(), 55);
    // The driver's range narrows after the page read it: 55 % is now below the minimum.
    simtest::SetSimKey("Fan", "Range", "60,100,1000,4000");
    EXPECT_THAT(Apply(), IsEmpty());
    EXPECT_THAT(simtest::CallLogLines("ATIDL_SetFanSpeed("), IsEmpty());
    EXPECT_THAT(simtest::CallLogLines("ATIDL_SetODClockConfig"), ElementsAre(testing::_));

    // The range cannot be read any more: no speed is known to be safe, and the fan does not
    // count either way.
    page().LoadFromSettings();
    simtest::SetSimKey("Sim", "Refuse", "ATIDL_GetFanSpeedInfo");
    simtest::ClearCallLog();
    EXPECT_THAT(Apply(), ElementsAre(kApplied));
    EXPECT_THAT(simtest::CallLogLines("ATIDL_SetFanSpeed("), IsEmpty());
}

TEST_F(OverclockPage, ValuesSavedOnAnotherBackendAreHeldUntilTheUserAppliesHere) {
    // Saved through the display library's Overdrive 6; this card is served by the ATIDL library.
    const std::string savedElsewhere =
        "[Clock_Set]\r\nGPUFrequency=1100\r\nGPUVoltage=1250\r\nMem=1300\r\nFan=90\r\n"
        "SelFan=0\r\nOverdrive=6\r\n";
    StartWithSettings(savedElsewhere);
    CreatePage();
    page().LoadFromSettings();  // as the apply-and-exit start does
    EXPECT_THAT(Apply(), IsEmpty());
    EXPECT_THAT(simtest::CallLogLines("ATIDL_Set"), IsEmpty());
    EXPECT_EQ(ClockSection(), savedElsewhere);
    EXPECT_EQ(g_runSettings.Clock.GPUVoltage, 1250);

    // Shown, the page offers the card's own values; applying them makes them this backend's.
    page().ShowPage(SW_SHOW);
    EXPECT_EQ(page().SliderAt(COverClockSetDlg::kVoltage).GetPos(), 1150);
    EXPECT_THAT(Apply(), ElementsAre(kApplied));
    const std::string fan = simtest::GetSimKey("Fan", "Percent");  // the reading, now written
    EXPECT_EQ(ClockSection(),
              "[Clock_Set]\r\nGPUFrequency=700\r\nGPUVoltage=1150\r\nMem=1000\r\nFan=" + fan +
                  "\r\nSelFan=0\r\n");
}

TEST_F(OverclockPage, ACardWithoutUsableOverdriveDisablesEverySliderAndWritesNothing) {
    StartWithSettings(kSavedClocks);
    simtest::ResetSim("Od6");
    simtest::SetSimKey("Overdrive", "Enabled", "0");
    EXPECT_TRUE(CreatePage().overdriveUnavailable());
    page().ShowPage(SW_SHOW);
    for (auto slot : {COverClockSetDlg::kCore, COverClockSetDlg::kVoltage, COverClockSetDlg::kFan,
                      COverClockSetDlg::kMemory}) {
        EXPECT_FALSE(page().SliderAt(slot).enabled) << slot;
    }
    EXPECT_EQ(page().HotkeySlider(hotkeys::Target::CoreClock), nullptr);
    EXPECT_THAT(Apply(), IsEmpty());
    EXPECT_EQ(g_runSettings.Clock.GPUFrequency, 850);
    EXPECT_THAT(simtest::CallLogLines("ADL2_Overdrive6_State_Set"), IsEmpty());
}

TEST_F(OverclockPage, ShowingThePageAgainReplacesUnappliedValuesWithTheDrivers) {
    StartWithSettings(kSavedClocks);
    CreatePage();
    page().ShowPage(SW_SHOW);
    EXPECT_EQ(page().SliderAt(COverClockSetDlg::kCore).GetPos(), 700);
    Step(hotkeys::Target::CoreClock, 1);
    EXPECT_EQ(page().SliderAt(COverClockSetDlg::kCore).GetPos(), 701);
    page().ShowPage(SW_HIDE);
    page().ShowPage(SW_SHOW);
    EXPECT_EQ(page().SliderAt(COverClockSetDlg::kCore).GetPos(), 700);
    EXPECT_THAT(simtest::CallLogLines("ATIDL_Set"), IsEmpty());
}

TEST_F(OverclockPage, ConfirmSavesAppliesAndAsksToHide) {
    StartWithSettings(kSavedClocks);
    CreatePage();
    page().LoadFromSettings();
    Step(hotkeys::Target::CoreClock, 1);
    {
        testkit::MessageBoxDismisser dismisser;
        page().OnConfirm();
        EXPECT_THAT(dismisser.Texts(), IsEmpty());
    }
    EXPECT_EQ(simtest::GetSimKey("Overdrive", "EngineClock"), "85100");
    EXPECT_EQ(simtest::GetSimKey("Fan", "Percent"), "55");
    EXPECT_EQ(simtest::GetSimKey("Fan", "Automatic"), "0");
    EXPECT_EQ(ClockSection(),
              "[Clock_Set]\r\nGPUFrequency=851\r\nGPUVoltage=1100\r\nMem=1000\r\nFan=55\r\n"
              "SelFan=0\r\n");
    MSG msg;
    EXPECT_TRUE(::PeekMessageW(&msg, host_, WM_USER + 7, WM_USER + 7, PM_REMOVE));
}

}  // namespace
