// The 3D page: its rows, modes and presets, and the exponent it gives the ramp writer.
#include <gtest/gtest.h>

#include "gpu/ThreeDSetDlg.h"
#include "settings/RunConfig.h"
#include "skin/AppMessages.h"
#include "tests/display/PageHost.h"
#include "tests/support/Mouse.h"

namespace {

using pagetest::RecordedGamma;
using pagetest::StoredInt;

struct ThreeDFixture {
    explicit ThreeDFixture(bool shown = true) { EXPECT_TRUE(host.Open(page, shown)); }
    // A click on row i's mark (rows are 265 x 18; the mark sits at 200..214 x 2..16).
    void ToggleRow(size_t i) { testkit::ClickAt(page.rows[i].GetSafeHwnd(), {206, 8}); }

    pagetest::HostWindow host;
    CThreeDSetDlg page{&pagetest::RecordGammaRamp};
};

class ThreeDPage : public ::testing::Test {
  protected:
    void SetUp() override { pagetest::UseScratchSettings(); }
};

TEST_F(ThreeDPage, OpensOnTheStoredModeWithItsSwitchesAndPlacesTheRows) {
    g_runSettings.Pages.ThreeDInfoPage = 1;
    ThreeDFixture f;
    EXPECT_EQ(f.page.currentMode, 1);
    for (size_t i = 0; i < f.page.rows.size(); ++i) {
        EXPECT_EQ(f.page.rows[i].toggled, i < 3) << i;
        RECT rect{};
        ::GetWindowRect(f.page.rows[i].GetSafeHwnd(), &rect);
        ::MapWindowPoints(nullptr, f.page.GetSafeHwnd(), reinterpret_cast<POINT*>(&rect), 2);
        EXPECT_EQ(rect.left, 2);
        EXPECT_EQ(rect.top, 16 + 24 * static_cast<int>(i));
        EXPECT_EQ(rect.right - rect.left, 265);
        EXPECT_EQ(rect.bottom - rect.top, 18);
    }
    EXPECT_TRUE(RecordedGamma().empty());
    g_runSettings.Pages.ThreeDInfoPage = 5;
    ThreeDFixture g;
    EXPECT_EQ(g.page.currentMode, 0);
}

TEST_F(ThreeDPage, ApplyWritesTheRowsExponentAndSavesTheThreePresetsAndTheSelection) {
    ThreeDFixture f;
    f.page.SelectItem(2);  // every row on
    f.ToggleRow(0);
    f.ToggleRow(4);
    f.page.OnApplyPage();
    ASSERT_EQ(RecordedGamma().size(), 1u);
    EXPECT_NEAR(RecordedGamma()[0], 1.1 - 4 * 0.05, 1e-12);
    EXPECT_EQ(StoredInt(L"3DInfo_HD", L"Set1"), 0);
    EXPECT_EQ(StoredInt(L"3DInfo_HD", L"Set2"), 1);
    EXPECT_EQ(StoredInt(L"3DInfo_HD", L"Set5"), 0);
    EXPECT_EQ(StoredInt(L"3DInfo_Game", L"Set3"), 1);
    EXPECT_EQ(StoredInt(L"3DInfo_Work", L"Set1"), 0);
    EXPECT_EQ(StoredInt(L"SelPage", L"3DInfoPage"), 2);
    f.page.OnConfirm();
    MSG posted{};
    EXPECT_TRUE(::PeekMessageW(&posted, f.host.GetSafeHwnd(), WM_APP_SHOW_STATE, WM_APP_SHOW_STATE,
                               PM_REMOVE));
}

TEST_F(ThreeDPage, SwitchingModesKeepsToggledRowsAndNavigatingAwayDropsThem) {
    ThreeDFixture f;
    f.ToggleRow(5);
    f.page.SelectItem(1);
    EXPECT_FALSE(f.page.rows[5].toggled);
    f.page.SelectItem(0);
    EXPECT_TRUE(f.page.rows[5].toggled);
    f.ToggleRow(3);
    // The main window hides every page before it shows the chosen one.
    f.page.ShowPage(SW_HIDE);
    f.page.ShowPage(SW_SHOW);
    EXPECT_TRUE(f.page.rows[5].toggled);
    EXPECT_FALSE(f.page.rows[3].toggled);
    EXPECT_FALSE(pagetest::SettingsFileExists());
}

TEST_F(ThreeDPage, DefaultRestoresExponentOneOnly) {
    ThreeDFixture f;
    f.ToggleRow(1);
    f.page.OnRestoreDefault();
    EXPECT_EQ(RecordedGamma(), std::vector<double>{1.0});
    EXPECT_TRUE(f.page.rows[1].toggled);
    EXPECT_FALSE(g_runSettings.ThreeD[0].Set[1]);
    EXPECT_FALSE(pagetest::SettingsFileExists());
}

TEST_F(ThreeDPage, AShortcutAppliesAndSavesItsModeWhileHidden) {
    ThreeDFixture f(false);
    f.page.ApplyModeByShortcut(1);  // rows 1-3 on: 1.05 - 2 * 0.05
    ASSERT_EQ(RecordedGamma().size(), 1u);
    EXPECT_NEAR(RecordedGamma()[0], 0.95, 1e-12);
    EXPECT_EQ(StoredInt(L"SelPage", L"3DInfoPage"), 1);
    EXPECT_EQ(StoredInt(L"3DInfo_HD", L"Set6"), 1);
    EXPECT_EQ(f.host.presentations(), 0);
}

TEST_F(ThreeDPage, DestructionStoresTheRowsInMemory) {
    {
        ThreeDFixture f;
        f.ToggleRow(2);
        ::DestroyWindow(f.page.GetSafeHwnd());
    }
    EXPECT_TRUE(g_runSettings.ThreeD[0].Set[2]);
    EXPECT_FALSE(pagetest::SettingsFileExists());
}

TEST_F(ThreeDPage, TheApplyAndExitStartAppliesTheStoredModeEvenBeforeThePageExists) {
    g_runSettings.Pages.ThreeDInfoPage = 2;  // every row on
    CThreeDSetDlg page{&pagetest::RecordGammaRamp};
    page.ApplyThreeD();
    ASSERT_EQ(RecordedGamma().size(), 1u);
    EXPECT_NEAR(RecordedGamma()[0], 0.8, 1e-12);
    EXPECT_FALSE(pagetest::SettingsFileExists());
}

}  // namespace
