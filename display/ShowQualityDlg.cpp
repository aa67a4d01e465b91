#include "display/ShowQualityDlg.h"

#include <cwchar>

#include "display/core/GammaRampCurve.h"
#include "gpu/DriverBinding.h"
#include "settings/RunConfig.h"
#include "skin/AppMessages.h"
#include "skin/SkinCanvas.h"
#include "skin/SkinPaint.h"

namespace {

using display::kBrightnessOffset;

constexpr Gdiplus::REAL kLabelFontPx = 10.0f;
constexpr int kLabelX = 12;
constexpr int kSliderX = 60;
constexpr int kSliderWidth = 200;
constexpr int kSliderHeight = 25;
constexpr int kGammaRowY = 25;
constexpr int kBrightnessRowY = 60;
constexpr int kContrastRowY = 95;

// The gamma range is the driver's Avivo setting 7. Settings 5 and 6 are asked first, as the
// driver has always been asked; their answers are not used.
constexpr int kAvivoSettingsAsked[] = {5, 6, 7};

// Reading preset k for k above 2 (or below 0, as an unsigned comparison has it) reads mode 3.
int PresetToRead(int mode) {
    return mode >= 0 && mode < 3 ? mode : 3;
}

void PlaceControl(fw::CWnd& control, int x, int y) {
    if (HWND hwnd = control.GetSafeHwnd()) {
        ::MoveWindow(hwnd, x, y, kSliderWidth, kSliderHeight, FALSE);
    }
}

}  // namespace

CShowQualityDlg::CShowQualityDlg() : CSkinSubDialog(IDD_QUALITY) {
    // Before any range or value arrives, so that every position is computed on 20 steps.
    for (CHorizSlid* slider : {&gammaSlider, &brightnessSlider, &contrastSlider}) {
        slider->UseCompactTrack();
        slider->trackSteps = kTrackSteps;
    }
}

void CShowQualityDlg::DoDataExchange() {
    BindControl(IDC_GAMMA_SLIDER, gammaSlider);
    BindControl(IDC_BRIGHTNESS_SLIDER, brightnessSlider);
    BindControl(IDC_CONTRAST_SLIDER, contrastSlider);
}

BOOL CShowQualityDlg::OnInitDialog() {
    CSkinSubDialog::OnInitDialog();
    LayoutControls();
    ReadDriverRanges();
    return TRUE;
}

void CShowQualityDlg::LayoutControls() {
    PlaceControl(gammaSlider, kSliderX, kGammaRowY);
    PlaceControl(brightnessSlider, kSliderX, kBrightnessRowY);
    PlaceControl(contrastSlider, kSliderX, kContrastRowY);
    for (CHorizSlid* slider : {&gammaSlider, &brightnessSlider, &contrastSlider}) {
        slider->UseCompactTrack();
        slider->trackSteps = kTrackSteps;
    }
}

void CShowQualityDlg::ReadDriverRanges() {
    if (rangesRead_) {
        return;
    }
    rangesRead_ = true;
    const auto stored = static_cast<std::uint32_t>(g_runSettings.Pages.QualityPage);
    currentMode = stored < kModeCount ? static_cast<int>(stored) : 0;
    ReadGammaScale();
    ReadColorRange(ColorKind::Brightness, brightnessSlider, brightnessState_, defaultBrightness);
    ReadColorRange(ColorKind::Contrast, contrastSlider, contrastState_, defaultContrast);
    LoadPreset(currentMode);
}

void CShowQualityDlg::ReadGammaScale() {
    std::optional<display::GammaScale> scale;
    if (const auto query = DriverBinding::Entries().ATIDL_GetAvivoSettings) {
        AvivoSettingRecord record{};
        int result = -1;
        for (int setting : kAvivoSettingsAsked) {
            record = AvivoSettingRecord{};
            record.iSize = sizeof(AvivoSettingRecord);
            result = query(0, setting, &record);
        }
        // A refused setting 7 counts as no setting at all: the record is not its answer.
        if (result >= 0) {
            scale = display::GammaScaleFromDriver(record.iReference, record.iMinimum,
                                                  record.iMaximum, record.iStep);
        }
    }
    gammaState_.driverRange = scale.has_value();
    const display::GammaScale used = scale.value_or(display::kFallbackGammaScale);
    gammaSlider.SetRange(used.range.maximum, used.range.minimum, used.range.step);
    gammaReference = used.reference;
}

void CShowQualityDlg::ReadColorRange(ColorKind kind, CHorizSlid& slider, SliderState& state,
                                     std::int32_t& defaultValue) {
    const std::int32_t offset = kind == ColorKind::Brightness ? kBrightnessOffset : 0;
    std::int32_t current = 0, fallback = 0, minimum = 0, maximum = 0, step = 0;
    if (!DriverBinding::GetDisplayColor(kind, current, fallback, minimum, maximum, step)) {
        return;
    }
    const auto range = display::ColorSliderRange(minimum, maximum, step, offset);
    if (!range) {
        return;
    }
    state.driverRange = true;
    slider.SetRange(range->maximum, range->minimum, range->step);
    defaultValue = fallback;
}

void CShowQualityDlg::LoadPreset(int mode) {
    const QualityPreset& preset = g_runSettings.Quality[PresetToRead(mode)];
    const auto load = [](CHorizSlid& slider, SliderState& state, std::int32_t stored) {
        slider.SetPos(stored);
        state.loaded = display::LoadedValue{stored, slider.GetPos()};
    };
    load(gammaSlider, gammaState_, preset.Camma);
    load(brightnessSlider, brightnessState_, preset.Light);
    load(contrastSlider, contrastState_, preset.Contrast);
}

void CShowQualityDlg::StorePreset() {
    if (currentMode < 0 || currentMode >= kModeCount) {
        return;
    }
    QualityPreset& preset = g_runSettings.Quality[currentMode];
    const auto value = [](const CHorizSlid& slider, const SliderState& state) {
        return display::PresetValueToStore(state.driverRange, state.loaded, slider.GetPos());
    };
    preset.Camma = value(gammaSlider, gammaState_);
    preset.Light = value(brightnessSlider, brightnessState_);
    preset.Contrast = value(contrastSlider, contrastState_);
}

void CShowQualityDlg::ApplyQuality(Colours colours) {
    SendColour(ColorKind::Brightness, brightnessState_,
               display::ShiftedValue(brightnessSlider.GetPos(), -kBrightnessOffset),
               acceptedBrightness_, colours);
    SendColour(ColorKind::Contrast, contrastState_, contrastSlider.GetPos(), acceptedContrast_,
               colours);
    writeGammaRamp(display::QualityGammaExponent(gammaSlider.GetPos(), gammaReference));
}

void CShowQualityDlg::SendColour(ColorKind kind, const SliderState& state, std::int32_t value,
                                 std::optional<std::int32_t>& accepted, Colours colours) {
    // A slider on a range of our own carries no driver value: nothing is sent for it.
    if (!state.driverRange) {
        return;
    }
    if (colours == Colours::Changed && accepted == value) {
        return;
    }
    accepted = DriverBinding::SetDisplayColor(kind, value) ? std::optional(value) : std::nullopt;
}

void CShowQualityDlg::RereadDriverColors() {
    std::int32_t current = 0, fallback = 0, minimum = 0, maximum = 0, step = 0;
    if (brightnessState_.driverRange &&
        DriverBinding::GetDisplayColor(ColorKind::Brightness, current, fallback, minimum, maximum,
                                       step)) {
        brightnessSlider.SetPos(display::ShiftedValue(current, kBrightnessOffset));
    }
    if (contrastState_.driverRange &&
        DriverBinding::GetDisplayColor(ColorKind::Contrast, current, fallback, minimum, maximum,
                                       step)) {
        contrastSlider.SetPos(current);
    }
}

void CShowQualityDlg::SavePresetsAndSelection() {
    StorePreset();
    SaveQualityPresets();
    SavePageSelection();
}

void CShowQualityDlg::SelectItem(int index) {
    SelectMode(index);
}

void CShowQualityDlg::SelectMode(int index) {
    StorePreset();
    for (CHorizSlid* slider : {&gammaSlider, &brightnessSlider, &contrastSlider}) {
        slider->enabled = true;
    }
    currentMode = index;
    LoadPreset(currentMode);
    RedrawPage();
}

void CShowQualityDlg::OnApplyPage() {
    ReadDriverRanges();
    ApplyQuality();
    RereadDriverColors();
    g_runSettings.Pages.QualityPage = currentMode;
    SavePresetsAndSelection();
    RedrawPage();
}

void CShowQualityDlg::OnConfirm() {
    ApplyAndHide();
}

void CShowQualityDlg::ResetDisplayColor() {
    ReadDriverRanges();
    // Defaults the driver never gave are not sent: they would be our own placeholders.
    if (brightnessState_.driverRange) {
        DriverBinding::SetDisplayColor(ColorKind::Brightness, defaultBrightness);
    }
    if (contrastState_.driverRange) {
        DriverBinding::SetDisplayColor(ColorKind::Contrast, defaultContrast);
    }
    acceptedBrightness_.reset();
    acceptedContrast_.reset();
    writeGammaRamp(1.0);
}

void CShowQualityDlg::OnRestoreDefault() {
    ResetDisplayColor();
    RereadDriverColors();
    gammaSlider.SetPos(gammaReference);
    SavePresetsAndSelection();
    RedrawPage();
}

void CShowQualityDlg::ApplyPresetByShortcut(int k) {
    ReadDriverRanges();
    currentMode = k;
    LoadPreset(currentMode);
    ApplyQuality();
    RedrawPage();
}

void CShowQualityDlg::AttachSkin(SkinSurface* newSurface, Gdiplus::Image* newBackground) {
    CSkinSubDialog::AttachSkin(newSurface, newBackground);
    for (CHorizSlid* slider : {&gammaSlider, &brightnessSlider, &contrastSlider}) {
        slider->AttachSurface(newSurface);
    }
}

void CShowQualityDlg::DrawControls() {
    {
        skin::SkinCanvas canvas(surface, GetSafeHwnd(), skin::Origin::Parent, skin::Visible::Always,
                                skin::Present::No);
        if (canvas) {
            Gdiplus::FontFamily family(skin::kFontFamily);
            Gdiplus::Font font(&family, kLabelFontPx, Gdiplus::FontStyleRegular,
                               Gdiplus::UnitPixel);
            Gdiplus::SolidBrush white{Gdiplus::Color{0xFFFFFFFF}};
            const auto left = static_cast<float>(canvas.rect().left + kLabelX);
            const int top = canvas.rect().top;
            const struct {
                const wchar_t* text;
                int y;
            } labels[] = {
                {L"Gamma", kGammaRowY}, {L"亮度", kBrightnessRowY}, {L"对比度", kContrastRowY}};
            for (const auto& label : labels) {
                skin::DrawTextAt(canvas.graphics(), label.text,
                                 static_cast<int>(std::wcslen(label.text)), font, white, left,
                                 static_cast<float>(top + label.y));
            }
        }
    }
    gammaSlider.Draw();
    brightnessSlider.Draw();
    contrastSlider.Draw();
}

LRESULT CShowQualityDlg::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_APP_SLIDER_CHANGED) {
        ApplyQuality(Colours::Changed);
        return 0;
    }
    if (msg == WM_DESTROY) {
        StorePreset();
    }
    return CSkinSubDialog::WindowProc(msg, wParam, lParam);
}
