#include "gpu/OverClockSetDlg.h"

#include <algorithm>

#include "gpu/DriverBinding.h"
#include "gpu/core/OverclockValues.h"
#include "settings/RunConfig.h"
#include "skin/AppMessages.h"
#include "skin/SkinCanvas.h"
#include "skin/SkinImages.h"
#include "skin/SkinPaint.h"

namespace {

constexpr int kSliderStep = 1;
constexpr wchar_t kMessageCaption[] = L"Velmora";
constexpr wchar_t kAppliedMessage[] = L"核心硬件设置成功";

struct Placement {
    int id;
    int x, y, width, height;
};
// Page client pixels; the memory slider lies above the fan slider.
constexpr Placement kPlacements[] = {
    {IDC_CORE_CLOCK_SLIDER, 10, 20, 250, 25},   {IDC_VOLTAGE_SLIDER, 10, 50, 250, 25},
    {IDC_MEMORY_CLOCK_SLIDER, 10, 80, 250, 25}, {IDC_FAN_SLIDER, 10, 110, 250, 25},
    {IDC_AUTO_FAN_BUTTON, 170, 140, 30, 12},
};

// Said in the page's free area when a driver library is there but the card offers no usable
// Overdrive (none, or disabled in the driver).
constexpr wchar_t kUnavailableText[] = L"此显卡或驱动未开启超频功能";
constexpr float kUnavailableLeft = 10;
constexpr float kUnavailableTop = 157;
constexpr float kUnavailableFontPx = 12;
constexpr Gdiplus::ARGB kUnavailableColour = 0xFFFFFFFF;

// Whether the stored values were saved on the backend in use: values saved on another one (a
// level-0 voltage is no top-level voltage) are held until the user applies values here.
bool StoredForThisCard() {
    return g_runSettings.Clock.Overdrive ==
           overclock::StoredOverdriveCode(DriverBinding::Generation());
}

}  // namespace

COverClockSetDlg::COverClockSetDlg() : CSkinSubDialog(IDD_OVERCLOCK) {}

CHorizSlid COverClockSetDlg::*const COverClockSetDlg::kSliders[kSlotCount] = {
    &COverClockSetDlg::coreClockSlider_, &COverClockSetDlg::voltageSlider_,
    &COverClockSetDlg::fanSlider_, &COverClockSetDlg::memoryClockSlider_};

const CHorizSlid& COverClockSetDlg::SliderAt(Slot slot) const {
    return this->*kSliders[slot < kSlotCount ? slot : kMemory];
}

CHorizSlid& COverClockSetDlg::Slider(Slot slot) {
    return this->*kSliders[slot < kSlotCount ? slot : kMemory];
}

void COverClockSetDlg::DoDataExchange() {
    BindControl(IDC_CORE_CLOCK_SLIDER, coreClockSlider_);
    BindControl(IDC_VOLTAGE_SLIDER, voltageSlider_);
    BindControl(IDC_FAN_SLIDER, fanSlider_);
    BindControl(IDC_MEMORY_CLOCK_SLIDER, memoryClockSlider_);
    BindControl(IDC_AUTO_FAN_BUTTON, autoFanButton_);
}

BOOL COverClockSetDlg::OnInitDialog() {
    CSkinSubDialog::OnInitDialog();
    LayoutControls();
    SetRangesFromDriver();
    // Until the driver or the user gives a value, the settings keep what they hold.
    HoldAllStored();
    const bool saved = g_runSettings.Clock.Saved;
    storedElsewhere_ = saved && !StoredForThisCard();
    SetAutoFan(saved ? g_runSettings.Clock.SelFan : true);
    autoFanChosen_ = saved;
    return TRUE;
}

void COverClockSetDlg::LayoutControls() {
    autoFanButton_.normalImage = FindSkinImage(L"SpeedSt_N");
    autoFanButton_.hoverImage = FindSkinImage(L"SpeedSt_M");
    autoFanButton_.pressedImage = FindSkinImage(L"SpeedSt_M");
    autoFanButton_.toggledImage = FindSkinImage(L"SpeedSt_Sl");
    ::InvalidateRect(autoFanButton_.GetSafeHwnd(), nullptr, TRUE);
    autoFanButton_.shown = true;
    for (const Placement& place : kPlacements) {
        if (HWND control = ::GetDlgItem(GetSafeHwnd(), place.id)) {
            ::MoveWindow(control, place.x, place.y, place.width, place.height, FALSE);
        }
    }
}

void COverClockSetDlg::DrawControls() {
    if (DriverBinding::LastLoad().overdriveUnavailable()) {
        DrawUnavailable();
    }
    coreClockSlider_.Draw();
    voltageSlider_.Draw();
    fanSlider_.Draw();
    memoryClockSlider_.Draw();
    autoFanButton_.Redraw();
}

void COverClockSetDlg::AttachSkin(SkinSurface* newSurface, Gdiplus::Image* newBackground) {
    CSkinSubDialog::AttachSkin(newSurface, newBackground);
    for (Slot slot : {kCore, kVoltage, kFan, kMemory}) {
        Slider(slot).AttachSurface(newSurface);
    }
    autoFanButton_.AttachSurface(newSurface);
    RedrawPage();
}

void COverClockSetDlg::DrawUnavailable() {
    skin::SkinCanvas canvas(surface, GetSafeHwnd(), skin::Origin::Parent, skin::Visible::Window,
                            skin::Present::No);
    if (!canvas) {
        return;
    }
    Gdiplus::FontFamily family(skin::kFontFamily);
    Gdiplus::Font font(&family, kUnavailableFontPx, Gdiplus::FontStyleRegular, Gdiplus::UnitPixel);
    Gdiplus::SolidBrush brush{Gdiplus::Color{kUnavailableColour}};
    skin::DrawTextAt(canvas.graphics(), kUnavailableText,
                     static_cast<int>(std::size(kUnavailableText) - 1), font, brush,
                     static_cast<float>(canvas.rect().left) + kUnavailableLeft,
                     static_cast<float>(canvas.rect().top) + kUnavailableTop);
}

void COverClockSetDlg::SetRangesFromDriver() {
    if (const std::optional<OverdriveCapabilities> caps = DriverBinding::GetOverdriveParameters()) {
        const auto setRange = [this](Slot slot, const std::optional<OverdriveRange>& range) {
            if (range) {
                Slider(slot).SetRange(range->maximum, range->minimum, kSliderStep);
                slots_[slot].rangeKnown = true;
            }
        };
        setRange(kCore, caps->engineMHz);
        setRange(kVoltage, caps->voltageMilliVolts);
        setRange(kMemory, caps->memoryMHz);
        if (caps->fanPercent) {
            setRange(kFan, overclock::PercentRange(*caps->fanPercent));
        }
    }
    EnableSteppableSliders();
}

bool COverClockSetDlg::Steppable(Slot slot) const {
    return slots_[slot].rangeKnown && (slot != kFan || !autoFan_);
}

void COverClockSetDlg::EnableSteppableSliders() {
    for (Slot slot : {kCore, kVoltage, kFan, kMemory}) {
        Slider(slot).enabled = Steppable(slot);
    }
}

CHorizSlid* COverClockSetDlg::HotkeySlider(hotkeys::Target target) {
    Slot slot = kSlotCount;
    switch (target) {
        case hotkeys::Target::CoreClock:
            slot = kCore;
            break;
        case hotkeys::Target::MemoryClock:
            slot = kMemory;
            break;
        case hotkeys::Target::FanSpeed:
            slot = kFan;
            break;
        case hotkeys::Target::QualityPreset:
        case hotkeys::Target::ThreeDPreset:
            break;
    }
    return slot != kSlotCount && Steppable(slot) ? &Slider(slot) : nullptr;
}

void COverClockSetDlg::HoldAllStored() {
    const ClockSettings& stored = g_runSettings.Clock;
    Hold(kCore, stored.GPUFrequency);
    Hold(kVoltage, stored.GPUVoltage);
    Hold(kFan, stored.Fan);
    Hold(kMemory, stored.Mem);
}

void COverClockSetDlg::Hold(Slot slot, int32_t stored) {
    SlotState& state = slots_[slot];
    state.held = true;
    state.heldValue = stored;
    state.shownValue = Slider(slot).GetPos();
}

void COverClockSetDlg::Put(Slot slot, int value) {
    Slider(slot).SetPos(value);
    SlotState& state = slots_[slot];
    if (state.rangeKnown) {
        state.held = false;
    } else {
        // A slider without the driver's range cannot carry the value: the settings keep theirs.
        state.shownValue = Slider(slot).GetPos();
    }
}

void COverClockSetDlg::PutStored(Slot slot, int32_t stored, std::optional<int> current) {
    const bool rangeKnown = slots_[slot].rangeKnown;
    const std::optional<int> value =
        slot == kFan ? overclock::StoredFanOnSlider(stored, rangeKnown)
                     : overclock::StoredClockOnSlider(stored, rangeKnown, current);
    if (value) {
        Put(slot, *value);
        return;
    }
    // The slider shows what it can of the value; the settings keep the value itself.
    Slider(slot).SetPos(slot == kFan ? overclock::ClampFanPercent(stored) : stored);
    Hold(slot, stored);
}

bool COverClockSetDlg::LoadFromSettings() {
    const ClockSettings& stored = g_runSettings.Clock;
    storedElsewhere_ = stored.Saved && !StoredForThisCard();
    if (!stored.Saved || storedElsewhere_) {
        // Nothing was ever saved, or it was saved on another backend: nothing of it reaches the
        // sliders or the hardware (the button shows the stored choice).
        HoldAllStored();
        SetAutoFan(stored.Saved ? stored.SelFan : true);
        autoFanChosen_ = false;
        return false;
    }
    // A clock or voltage never set takes the driver's current value.
    std::optional<OverdriveSettings> current;
    if (overclock::IsUnsetClockSetting(stored.GPUFrequency) ||
        overclock::IsUnsetClockSetting(stored.GPUVoltage) ||
        overclock::IsUnsetClockSetting(stored.Mem)) {
        current = DriverBinding::GetPerformanceLevels(false);
    }
    const auto known = [&current](int OverdriveSettings::*value, bool valueKnown) {
        return current && valueKnown ? std::optional<int>((*current).*value) : std::nullopt;
    };
    PutStored(kCore, stored.GPUFrequency, known(&OverdriveSettings::engineMHz, true));
    PutStored(kVoltage, stored.GPUVoltage,
              known(&OverdriveSettings::voltageMilliVolts, current && current->voltageKnown));
    PutStored(kFan, stored.Fan, std::nullopt);
    PutStored(kMemory, stored.Mem, known(&OverdriveSettings::memoryMHz, true));
    SetAutoFan(stored.SelFan);
    autoFanChosen_ = true;
    return true;
}

void COverClockSetDlg::LoadFromHardware() {
    const std::optional<OverdriveSettings> current = DriverBinding::GetPerformanceLevels(false);
    if (!current) {
        LoadFromSettings();
        return;
    }
    Put(kCore, current->engineMHz);
    Put(kMemory, current->memoryMHz);
    // Only the clocks may be known: a voltage the driver did not report is never shown as 0.
    if (current->voltageKnown) {
        Put(kVoltage, current->voltageMilliVolts);
    } else if (slots_[kVoltage].held) {
        PutStored(kVoltage, g_runSettings.Clock.GPUVoltage, std::nullopt);
    }
    // Without a reading the slider keeps its value (never 0, which a later Apply would write);
    // a slider that has none yet takes the stored percent.
    if (const std::optional<int> percent = DriverBinding::GetFanPercent()) {
        Put(kFan, *percent);
    } else if (slots_[kFan].held && g_runSettings.Clock.Saved) {
        PutStored(kFan, g_runSettings.Clock.Fan, std::nullopt);
    }
}

void COverClockSetDlg::StoreToSettings() {
    if (storedElsewhere_) {
        return;
    }
    const auto value = [this](Slot slot) {
        return slots_[slot].held ? slots_[slot].heldValue : Slider(slot).GetPos();
    };
    ClockSettings& stored = g_runSettings.Clock;
    stored.GPUFrequency = value(kCore);
    stored.GPUVoltage = value(kVoltage);
    stored.Fan = value(kFan);
    stored.Mem = value(kMemory);
    stored.SelFan = autoFanButton_.toggled;
    // The values are this backend's once none of them is held from elsewhere.
    const bool anyHeld = std::any_of(slots_.begin(), slots_.end(), [](const SlotState& state) {
        return state.rangeKnown && state.held;
    });
    if (!anyHeld && DriverBinding::Generation() != OverdriveGeneration::None) {
        stored.Overdrive = overclock::StoredOverdriveCode(DriverBinding::Generation());
    }
}

std::optional<OverdriveRequest> COverClockSetDlg::ClockRequest() const {
    OverdriveRequest request;
    const auto take = [this](Slot slot, std::optional<int>& value) {
        const SlotState& state = slots_[slot];
        if (!state.rangeKnown) {
            return true;  // not editable on this card: left as the card has it
        }
        value = SliderAt(slot).GetPos();
        return !state.held;
    };
    if (!take(kCore, request.engineMHz) || !take(kVoltage, request.voltageMilliVolts) ||
        !take(kMemory, request.memoryMHz)) {
        return std::nullopt;  // a held value was never chosen for this card
    }
    if (!request.engineMHz && !request.memoryMHz && !request.voltageMilliVolts) {
        return std::nullopt;
    }
    return request;
}

bool COverClockSetDlg::ApplyToHardware() {
    DriverWrite fan = DriverWrite::NotMade;
    if (autoFan_) {
        if (autoFanChosen_) {
            fan = DriverBinding::SetFanToDefault();
        }
    } else if (!slots_[kFan].held && slots_[kFan].rangeKnown) {
        // Without a usable range from the driver (refused, or minimum above maximum) no speed
        // is known to be safe, even when a reading put a value on the slider.
        fan = DriverBinding::SetFanPercent(overclock::ClampFanPercent(fanSlider_.GetPos()));
    }
    // Every write is attempted; success only when the clocks were written and every write made
    // was accepted.
    const std::optional<OverdriveRequest> request = ClockRequest();
    const bool clocks = request && DriverBinding::SetPerformanceClocks(*request);
    return clocks && fan != DriverWrite::Refused;
}

bool COverClockSetDlg::SaveApplyAndReload() {
    StoreToSettings();
    SaveClockSettings();
    const bool applied = ApplyToHardware();
    // The automatic-fan state is a saved choice from now on.
    autoFanChosen_ = true;
    // The sliders show what the driver really took.
    LoadFromHardware();
    return applied;
}

bool COverClockSetDlg::StoreAndApply() {
    // The user applies values on this backend: from now on they are this backend's.
    storedElsewhere_ = false;
    return ApplyPageValues();
}

bool COverClockSetDlg::ApplySavedSettings() {
    LoadFromSettings();
    return ApplyPageValues();
}

bool COverClockSetDlg::ApplyPageValues() {
    autoFan_ = autoFanButton_.toggled;
    EnableSteppableSliders();
    const bool applied = SaveApplyAndReload();
    RedrawPage();
    return applied;
}

void COverClockSetDlg::OnApplyPage() {
    if (StoreAndApply()) {
        ShowAppliedMessage();
    }
}

void COverClockSetDlg::ShowAppliedMessage() {
    ::MessageBoxW(::GetParent(GetSafeHwnd()), kAppliedMessage, kMessageCaption, MB_OK);
}

void COverClockSetDlg::OnConfirm() {
    storedElsewhere_ = false;
    SaveApplyAndReload();
    AskToHide();
}

void COverClockSetDlg::OnRestoreDefault() {
    // What the driver took shows on the next reading.
    (void)DriverBinding::SetFanToDefault();
    SetAutoFan(true);
    autoFanChosen_ = true;
    if (const std::optional<OverdriveSettings> defaults =
            DriverBinding::GetPerformanceLevels(true)) {
        (void)DriverBinding::RestoreDefaultClocks();
        Put(kCore, defaults->engineMHz);
        Put(kMemory, defaults->memoryMHz);
        if (defaults->voltageKnown) {
            Put(kVoltage, defaults->voltageMilliVolts);
        }
    }
    RedrawPage();
}

void COverClockSetDlg::SetAutoFan(bool automatic) {
    // Drawn with the page: every change that shows is followed by RedrawPage, one presentation.
    autoFanButton_.toggled = automatic;
    ::InvalidateRect(autoFanButton_.GetSafeHwnd(), nullptr, TRUE);
    autoFan_ = automatic;
    EnableSteppableSliders();
}

void COverClockSetDlg::ToggleAutoFan() {
    SetAutoFan(!autoFanButton_.toggled);
    autoFanChosen_ = true;
    RedrawPage();
}

void COverClockSetDlg::ReleaseChangedSlots() {
    for (Slot slot : {kCore, kVoltage, kFan, kMemory}) {
        SlotState& state = slots_[slot];
        // On a scale the driver never gave, a new position is no choice of a value.
        if (state.held && state.rangeKnown && Slider(slot).GetPos() != state.shownValue) {
            state.held = false;
        }
    }
}

LRESULT COverClockSetDlg::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_APP_SLIDER_CHANGED:
            // A value the user moved is the user's, whatever the page held for it.
            ReleaseChangedSlots();
            return 0;
        case WM_DESTROY:
            StoreToSettings();
            break;
        default:
            break;
    }
    return CSkinSubDialog::WindowProc(msg, wParam, lParam);
}

bool COverClockSetDlg::OnCommand(int id, int code, HWND control) {
    if (id == IDC_AUTO_FAN_BUTTON && code == BN_CLICKED) {
        ToggleAutoFan();
        return true;
    }
    return CSkinSubDialog::OnCommand(id, code, control);
}

bool COverClockSetDlg::OnShowWindow(bool shown, UINT status) {
    if (shown) {
        SetRangesFromDriver();
        LoadFromHardware();
        RedrawPage();
    }
    return CSkinSubDialog::OnShowWindow(shown, status);
}
