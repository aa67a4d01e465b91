// The 3D settings page: six switch rows and three 3D modes, each remembering its own switches.
// Applying a mode turns the switches into one gamma exponent for the screen's ramp; Apply and OK
// also store the switches.
#pragma once

#include <array>
#include <cstdint>

#include "gpu/core/ThreeDGamma.h"
#include "res/resource.h"
#include "skin/SkinSubDialog.h"
#include "skin/StaticButon.h"

class CThreeDSetDlg : public CSkinSubDialog {
  public:
    // The display subsystem's ramp writer, handed in by the window that owns the page.
    using GammaRampWriter = bool (*)(double);

    static constexpr int kModeCount = 3;  // office, HD entertainment, 3D game

    explicit CThreeDSetDlg(GammaRampWriter writeGammaRamp);

    void DrawControls() override;
    void AttachSkin(SkinSurface* surface, Gdiplus::Image* background) override;
    // The rows are reloaded from the current mode's preset first: unstored toggles are dropped.
    BOOL ShowPage(int showCmd) override;
    // The rows go into the current mode's preset (memory only), then the chosen mode's preset
    // comes onto the rows. Nothing is applied.
    void SelectItem(int index) override;
    void OnConfirm() override;
    // The ramp back to exponent 1.0; rows, presets and file stay as they are.
    void OnRestoreDefault() override;
    // Applies the rows and saves the 3D presets and the page selection.
    void OnApplyPage() override;

    // A 3D shortcut, k = 0..2: mode k applied and saved at once, also while the page is hidden.
    void ApplyModeByShortcut(int k);
    // The rows' exponent to the screen's ramp (the stored mode's, before the page exists); the
    // result is not used.
    void ApplyThreeD();

    std::array<CStaticButon, gpu::kThreeDRowCount> rows;
    std::int32_t currentMode = 0;

  protected:
    void DoDataExchange() override;
    BOOL OnInitDialog() override;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

  private:
    void LayoutControls();
    // Once, at the page's creation or first by whatever applies it before: the stored mode and
    // its preset onto the rows.
    void LoadStoredMode();
    // The current mode's preset onto the rows.
    void LoadMode();
    // The rows into the current mode's preset (memory only).
    void StoreRows();

    GammaRampWriter writeGammaRamp_;
    bool modeLoaded_ = false;
};
