// The display-quality page against the simulated adapter: the ranges it takes from the driver
// (and what it does without them), live application, modes, Apply, Default and the shortcuts.
#include <gtest/gtest.h>

#include <memory>

#include "display/ShowQualityDlg.h"
#include "settings/RunConfig.h"
#include "skin/AppMessages.h"
#include "tests/display/PageHost.h"
#include "tests/support/SimHarness.h"

namespace {

using pagetest::RecordedGamma;
using pagetest::StoredInt;

// The page inside a host window, its ramps recorded instead of written.
struct QualityFixture {
    explicit QualityFixture(bool shown = true) {
        page.writeGammaRamp = &pagetest::RecordGammaRamp;
        EXPECT_TRUE(host.Open(page, shown));
    }
    // A user change of a slider: one step up, as the plus button makes it.
    void StepUp(CHorizSlid& slider) { slider.StepUp(); }

    pagetest::HostWindow host;
    CShowQualityDlg page;
};

int SimColor(const char* colour, int word) {
    const std::string values = simtest::GetSimKey("Adapter0.Display0", colour);
    int parsed[5] = {};
    std::sscanf(values.c_str(), "%d,%d,%d,%d,%d", &parsed[0], &parsed[1], &parsed[2], &parsed[3],
                &parsed[4]);
    return parsed[word];
}

class QualityPage : public ::testing::Test {
  protected:
    void SetUp() override { pagetest::UseScratchSettings(); }
    void TearDown() override { pagetest::ReleaseDriver(); }
};

TEST_F(QualityPage, TakesTheGammaScaleAndColourRangesFromTheDriver) {
    pagetest::BindSimulatedDriver();  // setting 7 = 9,4,14,1; brightness -100..100; contrast 0..200
    g_runSettings.Pages.QualityPage = 2;
    QualityFixture f;
    EXPECT_EQ(f.page.currentMode, 2);
    EXPECT_EQ(f.page.gammaSlider.minimum, 5);
    EXPECT_EQ(f.page.gammaSlider.maximum, 15);
    EXPECT_EQ(f.page.gammaReference, 10);
    EXPECT_EQ(f.page.brightnessSlider.minimum, 0);
    EXPECT_EQ(f.page.brightnessSlider.maximum, 200);
    EXPECT_EQ(f.page.contrastSlider.maximum, 200);
    EXPECT_EQ(f.page.defaultBrightness, 0);
    EXPECT_EQ(f.page.defaultContrast, 100);
    EXPECT_EQ(f.page.gammaSlider.GetPos(), 12);
    EXPECT_EQ(f.page.brightnessSlider.GetPos(), 110);
    EXPECT_EQ(f.page.contrastSlider.trackSteps, 20);
    EXPECT_EQ(f.page.gammaSlider.trackWidth, 123);
    // Nothing reaches the screen or the driver at initialisation.
    EXPECT_TRUE(RecordedGamma().empty());
    EXPECT_TRUE(simtest::CallLogLines("ADL_Display_Color_Set").empty());
}

TEST_F(QualityPage, ASelectionAboveThreeOpensOnModeZero) {
    pagetest::BindSimulatedDriver();
    g_runSettings.Pages.QualityPage = 7;
    QualityFixture f;
    EXPECT_EQ(f.page.currentMode, 0);
    g_runSettings.Pages.QualityPage = -1;
    QualityFixture g;
    EXPECT_EQ(g.page.currentMode, 0);
}

TEST_F(QualityPage, UnusableGammaSettingsFallBackToTheOwnScale) {
    const std::vector<std::vector<std::pair<std::string, std::string>>> faults = {
        {{"MissingExports", "ATIDL_GetAvivoSettings"}},
        // Only setting 7 refused: settings 5 and 6 still answer, and must not stand in for it.
        {{"Refuse", "ATIDL_GetAvivoSettings/7"}},
        {{"Avivo.Setting7", "9,14,4,1"}},
        {{"Avivo.Setting7", "9,4,14,0"}},
        {{"Avivo.Setting7", "2147483647,0,2147483647,1"}},
    };
    for (const auto& keys : faults) {
        pagetest::BindSimulatedDriver("Default", keys);
        QualityFixture f;
        EXPECT_EQ(f.page.gammaSlider.minimum, 0) << keys[0].second;
        EXPECT_EQ(f.page.gammaSlider.maximum, 19) << keys[0].second;
        EXPECT_EQ(f.page.gammaReference, 10) << keys[0].second;
        EXPECT_EQ(f.page.gammaSlider.GetPos(), 10);
        pagetest::ReleaseDriver();
    }
}

TEST_F(QualityPage, EveryUserSliderChangeTakesEffectAtOnce) {
    pagetest::BindSimulatedDriver();
    g_runSettings.Pages.QualityPage = 2;  // game: 12, 110, 110
    QualityFixture f;
    f.StepUp(f.page.gammaSlider);
    ASSERT_EQ(RecordedGamma().size(), 1u);
    EXPECT_NEAR(RecordedGamma()[0], 0.7, 1e-12);  // 13 is three steps above the reference 10
    EXPECT_EQ(SimColor("Brightness", 0), 10);     // 110 - 100
    EXPECT_EQ(SimColor("Contrast", 0), 110);
    f.StepUp(f.page.brightnessSlider);
    EXPECT_EQ(SimColor("Brightness", 0), 11);
    ASSERT_EQ(RecordedGamma().size(), 2u);
    // Colours the driver already has are not sent again on a gamma step, but they are after
    // the hardware reset put the driver's defaults back.
    const size_t sent = simtest::CallLogLines("ADL_Display_Color_Set").size();
    f.StepUp(f.page.gammaSlider);
    EXPECT_EQ(simtest::CallLogLines("ADL_Display_Color_Set").size(), sent);
    f.page.ResetDisplayColor();
    f.StepUp(f.page.gammaSlider);
    EXPECT_EQ(SimColor("Brightness", 0), 11);
    EXPECT_EQ(SimColor("Contrast", 0), 110);
    // Moving is not storing.
    EXPECT_EQ(g_runSettings.Quality[2].Camma, 12);
    EXPECT_FALSE(pagetest::SettingsFileExists());
}

TEST_F(QualityPage, SwitchingModesKeepsTheEditsInMemoryOnly) {
    pagetest::BindSimulatedDriver();
    QualityFixture f;
    f.StepUp(f.page.gammaSlider);  // mode 0: 10 -> 11
    f.page.SelectItem(3);
    EXPECT_EQ(f.page.currentMode, 3);
    EXPECT_EQ(f.page.gammaSlider.GetPos(), 11);  // mode 3's own value
    EXPECT_EQ(f.page.contrastSlider.GetPos(), 105);
    EXPECT_EQ(g_runSettings.Quality[0].Camma, 11);
    f.page.SelectItem(0);
    EXPECT_EQ(f.page.gammaSlider.GetPos(), 11);
    // Choosing a mode applies nothing and writes nothing.
    EXPECT_EQ(RecordedGamma().size(), 1u);
    EXPECT_FALSE(pagetest::SettingsFileExists());
}

TEST_F(QualityPage, ApplyStoresThePresetsAndTheSelection) {
    pagetest::BindSimulatedDriver();
    QualityFixture f;
    f.page.SelectItem(2);
    f.StepUp(f.page.gammaSlider);
    f.StepUp(f.page.contrastSlider);
    RecordedGamma().clear();
    f.page.OnApplyPage();
    ASSERT_EQ(RecordedGamma().size(), 1u);
    EXPECT_NEAR(RecordedGamma()[0], 0.7, 1e-12);
    EXPECT_EQ(StoredInt(L"Quality_Game", L"Camma"), 13);
    EXPECT_EQ(StoredInt(L"Quality_Game", L"Light"), 110);
    EXPECT_EQ(StoredInt(L"Quality_Game", L"Contrast"), 111);
    EXPECT_EQ(StoredInt(L"Quality_Standard", L"Camma"), 10);
    EXPECT_EQ(StoredInt(L"SelPage", L"QualityPage"), 2);
    EXPECT_EQ(f.host.showStateRequests(), 0);
    f.page.OnConfirm();
    EXPECT_EQ(pagetest::StoredInt(L"SelPage", L"QualityPage"), 2);
    MSG posted{};
    EXPECT_TRUE(::PeekMessageW(&posted, f.host.GetSafeHwnd(), WM_APP_SHOW_STATE, WM_APP_SHOW_STATE,
                               PM_REMOVE));
}

TEST_F(QualityPage, DefaultRestoresTheDriverDefaultsAndExponentOneAndSaves) {
    pagetest::BindSimulatedDriver();
    g_runSettings.Pages.QualityPage = 2;
    QualityFixture f;
    f.StepUp(f.page.brightnessSlider);  // the card now runs at brightness 11
    f.page.SelectItem(1);
    RecordedGamma().clear();
    f.page.OnRestoreDefault();
    ASSERT_EQ(RecordedGamma().size(), 1u);
    EXPECT_DOUBLE_EQ(RecordedGamma()[0], 1.0);
    EXPECT_EQ(SimColor("Brightness", 0), 0);
    EXPECT_EQ(SimColor("Contrast", 0), 100);
    EXPECT_EQ(f.page.gammaSlider.GetPos(), 10);
    EXPECT_EQ(f.page.brightnessSlider.GetPos(), 100);
    EXPECT_EQ(StoredInt(L"Quality_Work", L"Camma"), 10);
    EXPECT_EQ(StoredInt(L"Quality_Work", L"Light"), 100);
    EXPECT_EQ(StoredInt(L"Quality_Work", L"Contrast"), 100);
    // The edit of the game mode was kept in memory by the switch and is saved with the rest.
    EXPECT_EQ(StoredInt(L"Quality_Game", L"Light"), 111);
    // The selection is saved but not changed.
    EXPECT_EQ(StoredInt(L"SelPage", L"QualityPage"), 2);
}

TEST_F(QualityPage, ResetDisplayColorTouchesOnlyTheHardware) {
    pagetest::BindSimulatedDriver();
    g_runSettings.Pages.QualityPage = 2;
    QualityFixture f;
    f.StepUp(f.page.brightnessSlider);
    RecordedGamma().clear();
    f.page.ResetDisplayColor();
    EXPECT_EQ(RecordedGamma(), std::vector<double>{1.0});
    EXPECT_EQ(SimColor("Brightness", 0), 0);
    EXPECT_EQ(SimColor("Contrast", 0), 100);
    EXPECT_EQ(f.page.brightnessSlider.GetPos(), 111);
    EXPECT_EQ(g_runSettings.Quality[2].Light, 110);
    EXPECT_FALSE(pagetest::SettingsFileExists());
}

TEST_F(QualityPage, AShortcutLoadsAndAppliesItsModeWhileHiddenAndWritesNothing) {
    pagetest::BindSimulatedDriver();
    QualityFixture f(false);
    f.StepUp(f.page.gammaSlider);  // mode 0 edited, not stored by the shortcut
    RecordedGamma().clear();
    f.page.ApplyPresetByShortcut(3);
    EXPECT_EQ(f.page.currentMode, 3);
    ASSERT_EQ(RecordedGamma().size(), 1u);
    EXPECT_NEAR(RecordedGamma()[0], 0.9, 1e-12);
    EXPECT_EQ(SimColor("Contrast", 0), 105);
    EXPECT_EQ(g_runSettings.Quality[0].Camma, 10);
    EXPECT_FALSE(pagetest::SettingsFileExists());
}

TEST_F(QualityPage, WithoutDisplayColourTheStoredValuesSurviveDestructionAndApply) {
    // Without ADL the brightness and contrast sliders keep their constructed 0..29.
    pagetest::BindSimulatedDriver("Default", {{"Missing", "atiadlxx,atiadlxy"}});
    {
        QualityFixture f;
        EXPECT_EQ(f.page.brightnessSlider.maximum, 29);
        EXPECT_EQ(f.page.brightnessSlider.GetPos(), 29);
        f.page.OnApplyPage();
        EXPECT_EQ(StoredInt(L"Quality_Standard", L"Light"), 100);
        EXPECT_EQ(StoredInt(L"Quality_Standard", L"Contrast"), 100);
        f.page.OnRestoreDefault();
        EXPECT_EQ(StoredInt(L"Quality_Standard", L"Light"), 100);
        // Nothing the driver never gave is sent to it.
        EXPECT_TRUE(simtest::CallLogLines("ADL_Display_Color_Set").empty());
        ::DestroyWindow(f.page.GetSafeHwnd());
    }
    EXPECT_EQ(g_runSettings.Quality[0].Light, 100);
    EXPECT_EQ(g_runSettings.Quality[0].Contrast, 100);
}

TEST_F(QualityPage, OnAScaleOfItsOwnAMovedSliderIsStoredAndAnUntouchedOneHeld) {
    pagetest::BindSimulatedDriver("Default", {{"MissingExports", "ATIDL_GetAvivoSettings"}});
    g_runSettings.Quality[1].Camma = 40;  // outside 0..19: shown as 19
    g_runSettings.Pages.QualityPage = 1;
    QualityFixture f;
    EXPECT_EQ(f.page.gammaSlider.GetPos(), 19);
    ::DestroyWindow(f.page.GetSafeHwnd());
    EXPECT_EQ(g_runSettings.Quality[1].Camma, 40);
    QualityFixture g;
    g.page.gammaSlider.StepDown();
    g.page.OnApplyPage();
    EXPECT_EQ(StoredInt(L"Quality_Work", L"Camma"), 18);
}

}  // namespace

namespace {

TEST_F(QualityPage, AShortcutBeforeThePageExistsUsesTheDriversScaleAndKeepsItsMode) {
    pagetest::BindSimulatedDriver();
    g_runSettings.Pages.QualityPage = 1;
    pagetest::HostWindow host;
    CShowQualityDlg page;
    page.writeGammaRamp = &pagetest::RecordGammaRamp;
    page.ApplyPresetByShortcut(2);
    ASSERT_EQ(RecordedGamma().size(), 1u);
    EXPECT_NEAR(RecordedGamma()[0], 0.8, 1e-12);  // 12 is two steps above the reference 10
    ASSERT_TRUE(page.Create(host.GetSafeHwnd()));
    EXPECT_EQ(page.currentMode, 2);
    EXPECT_EQ(page.gammaSlider.GetPos(), 12);
    EXPECT_EQ(page.gammaSlider.trackSteps, 20);
}

}  // namespace
