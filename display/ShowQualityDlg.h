// The display-quality page: gamma, brightness and contrast sliders and four quality modes, each
// remembering its own three values. Slider moves take effect at once (gamma through the screen's
// ramp, brightness and contrast through the driver); Apply, OK and Default store the presets.
#pragma once

#include <cstdint>
#include <optional>

#include "display/GammaRamp.h"
#include "display/core/QualityRanges.h"
#include "gpu/core/DriverRecords.h"
#include "res/resource.h"
#include "skin/HorizSlid.h"
#include "skin/SkinSubDialog.h"

class CShowQualityDlg : public CSkinSubDialog {
  public:
    using GammaRampWriter = bool (*)(double);

    static constexpr int kModeCount = 4;  // standard, office, game, picture viewing
    static constexpr int kTrackSteps = 20;

    // Construct after the skin images are loaded (the sliders look theirs up).
    CShowQualityDlg();

    void DrawControls() override;
    void AttachSkin(SkinSurface* surface, Gdiplus::Image* background) override;
    // The item list chose a mode: its preset goes onto the sliders, nothing is applied.
    void SelectItem(int index) override;
    // Apply, then hide the main window.
    void OnConfirm() override;
    // Driver defaults and exponent 1.0; the current preset and the page selection are saved.
    void OnRestoreDefault() override;
    // Applies the sliders and saves the presets and the page selection.
    void OnApplyPage() override;

    // A quality shortcut: mode k's preset onto the sliders and applied at once, also while the
    // page is hidden. Nothing is written to the settings file.
    void ApplyPresetByShortcut(int k);
    // The hardware reset: driver brightness and contrast back to the driver's defaults and the
    // ramp back to exponent 1.0; the sliders and the settings stay as they are.
    virtual void ResetDisplayColor();

    CHorizSlid gammaSlider;
    CHorizSlid brightnessSlider;
    CHorizSlid contrastSlider;
    // The gamma slider value at which the ramp's exponent is exactly 1.
    std::int32_t gammaReference = 1;
    // The driver's defaults, in ADL units.
    std::int32_t defaultBrightness = 100;
    std::int32_t defaultContrast = 100;
    std::int32_t currentMode = 0;
    // Where the page's ramps go (tests count the device contexts behind it).
    GammaRampWriter writeGammaRamp = &SetGammaRamp;

  protected:
    void DoDataExchange() override;
    BOOL OnInitDialog() override;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

  private:
    // One slider with what the page knows about its values.
    struct SliderState {
        // The driver gave the range (and, for brightness and contrast, the default).
        bool driverRange = false;
        display::LoadedValue loaded;
    };

    void LayoutControls();
    // Once per page, at its creation or first by whatever needs the values before: the stored
    // mode, the gamma scale from the driver's gamma setting (or our own), the brightness and
    // contrast ranges and defaults, and the mode's preset onto the sliders.
    void ReadDriverRanges();
    void ReadGammaScale();
    void ReadColorRange(ColorKind kind, CHorizSlid& slider, SliderState& state,
                        std::int32_t& defaultValue);
    // Brightness and contrast as the driver now has them, onto the sliders whose range it gave.
    void RereadDriverColors();
    void SelectMode(int index);
    void LoadPreset(int mode);
    // The sliders into the current mode's preset (memory only).
    void StorePreset();
    // Brightness and contrast to the driver, gamma to the ramp. A live slider change sends
    // only the colours that differ from what the driver last accepted from this page.
    enum class Colours { All, Changed };
    void ApplyQuality(Colours colours = Colours::All);
    void SendColour(ColorKind kind, const SliderState& state, std::int32_t value,
                    std::optional<std::int32_t>& accepted, Colours colours);
    void SavePresetsAndSelection();

    SliderState gammaState_;
    SliderState brightnessState_;
    SliderState contrastState_;
    bool rangesRead_ = false;
    // What the driver last accepted from this page; empty when unknown (never sent, refused,
    // or reset to the driver's defaults since).
    std::optional<std::int32_t> acceptedBrightness_;
    std::optional<std::int32_t> acceptedContrast_;
};
