#include "gpu/OverClockSetDlg.h"

#include <algorithm>

#include "gpu/DriverBinding.h"
#include "gpu/core/OverclockValues.h"
#include "settings/RunConfig.h"
#include "skin/AppMessages.h"
#include "skin/SkinImages.h"

using overclock::DriverClockFromMHz;
using overclock::MHzFromDriverClock;

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

// Level 0 of the default or current performance levels.
struct LevelReading {
    bool read = false;
    bool voltageKnown = false;
    ADLODPerformanceLevel level{};
};

LevelReading ReadLevelZero(bool defaults) {
    LevelReading reading;
    ADLODPerformanceLevels levels{};
    reading.read = DriverBinding::GetPerformanceLevels(defaults, levels, &reading.voltageKnown);
    if (reading.read) {
        reading.level = levels.aLevels[0];
    }
    return reading;
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

void COverClockSetDlg::SetRangesFromDriver() {
    const auto setRange = [this](Slot slot, std::optional<overclock::SliderRange> range) {
        if (range) {
            Slider(slot).SetRange(range->maximum, range->minimum, kSliderStep);
            slots_[slot].rangeKnown = true;
        }
    };
    setRange(kFan, DriverBinding::GetFanRange());
    ADLODParameters params{};
    if (DriverBinding::GetOverdriveParameters(params)) {
        setRange(kCore, overclock::ClockSliderRange(params.sEngineClock));
        setRange(kMemory, overclock::ClockSliderRange(params.sMemoryClock));
        setRange(kVoltage, overclock::VoltageSliderRange(params.sVddc));
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

void COverClockSetDlg::LoadFromSettings() {
    if (!g_runSettings.Clock.Saved) {
        // Nothing was ever saved: nothing of it reaches the sliders or the hardware.
        HoldAllStored();
        SetAutoFan(true);
        autoFanChosen_ = false;
        return;
    }
    const ClockSettings& stored = g_runSettings.Clock;
    // A clock or voltage never set takes the driver's current value.
    LevelReading current;
    if (overclock::IsUnsetClockSetting(stored.GPUFrequency) ||
        overclock::IsUnsetClockSetting(stored.GPUVoltage) ||
        overclock::IsUnsetClockSetting(stored.Mem)) {
        current = ReadLevelZero(false);
    }
    const auto known = [&current](int value, bool valueKnown) {
        return current.read && valueKnown ? std::optional<int>(value) : std::nullopt;
    };
    PutStored(kCore, stored.GPUFrequency,
              known(MHzFromDriverClock(current.level.iEngineClock), true));
    PutStored(kVoltage, stored.GPUVoltage, known(current.level.iVddc, current.voltageKnown));
    PutStored(kFan, stored.Fan, std::nullopt);
    PutStored(kMemory, stored.Mem, known(MHzFromDriverClock(current.level.iMemoryClock), true));
    SetAutoFan(stored.SelFan);
    autoFanChosen_ = true;
}

void COverClockSetDlg::LoadFromHardware() {
    const LevelReading current = ReadLevelZero(false);
    if (!current.read) {
        LoadFromSettings();
        return;
    }
    Put(kCore, MHzFromDriverClock(current.level.iEngineClock));
    Put(kMemory, MHzFromDriverClock(current.level.iMemoryClock));
    // Only the clocks may be known: a voltage the driver did not report is never shown as 0.
    if (current.voltageKnown) {
        Put(kVoltage, current.level.iVddc);
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
    const auto value = [this](Slot slot) {
        return slots_[slot].held ? slots_[slot].heldValue : Slider(slot).GetPos();
    };
    ClockSettings& stored = g_runSettings.Clock;
    stored.GPUFrequency = value(kCore);
    stored.GPUVoltage = value(kVoltage);
    stored.Fan = value(kFan);
    stored.Mem = value(kMemory);
    stored.SelFan = autoFanButton_.toggled;
}

bool COverClockSetDlg::ClocksApplicable() const {
    return !slots_[kCore].held && !slots_[kVoltage].held && !slots_[kMemory].held;
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
    // Every write is attempted; success only when every write made was accepted.
    const bool clocks = ClocksApplicable() && DriverBinding::SetPerformanceClocks(
                                                  DriverClockFromMHz(coreClockSlider_.GetPos()),
                                                  DriverClockFromMHz(memoryClockSlider_.GetPos()),
                                                  voltageSlider_.GetPos());
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
    SaveApplyAndReload();
    AskToHide();
}

void COverClockSetDlg::OnRestoreDefault() {
    // What the driver took shows on the next reading.
    (void)DriverBinding::SetFanToDefault();
    SetAutoFan(true);
    autoFanChosen_ = true;
    const LevelReading defaults = ReadLevelZero(true);
    if (defaults.read) {
        const ADLODPerformanceLevel& level = defaults.level;
        // What the driver took shows on the next reading; the sliders show its defaults.
        (void)DriverBinding::SetPerformanceClocks(level.iEngineClock, level.iMemoryClock,
                                                  level.iVddc);
        Put(kCore, MHzFromDriverClock(level.iEngineClock));
        Put(kMemory, MHzFromDriverClock(level.iMemoryClock));
        Put(kVoltage, level.iVddc);
    }
    RedrawPage();
}

void COverClockSetDlg::SetAutoFan(bool automatic) {
    autoFanButton_.toggled = automatic;
    ::InvalidateRect(autoFanButton_.GetSafeHwnd(), nullptr, TRUE);
    autoFanButton_.Redraw();
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
