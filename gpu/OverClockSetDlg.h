// The overclocking page: core clock, core voltage, fan speed and memory clock of adapter 0, and
// the switch between automatic and manual fan speed. The values live in the four sliders and
// reach the driver only through Apply, OK, Default or the main window's shortcuts; the settings
// section "Clock_Set" keeps them for the next start.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "res/resource.h"
#include "settings/core/HotkeyDefinitions.h"
#include "skin/BmButton.h"
#include "skin/HorizSlid.h"
#include "gpu/core/OverdriveBackend.h"
#include "skin/SkinSubDialog.h"

class COverClockSetDlg : public CSkinSubDialog {
  public:
    COverClockSetDlg();

    void DrawControls() override;
    // Keeps the surface and background and hands the surface to the controls.
    void AttachSkin(SkinSurface* surface, Gdiplus::Image* background) override;
    // Store, save, apply, read back, then ask the main window to hide.
    void OnConfirm() override;
    // The driver's default levels and automatic fan; the settings are not touched.
    void OnRestoreDefault() override;
    // StoreAndApply, with the success message when the hardware took the values.
    void OnApplyPage() override;

    // The message that the hardware took the values.
    void ShowAppliedMessage();

    // The stored "Clock_Set" values onto the controls. False when there is nothing of them to
    // apply: nothing was saved, or it was saved on another backend (then it is held).
    bool LoadFromSettings();
    // Apply without the message box (the user's choice, e.g. by a hotkey); true when the hardware
    // took the clocks and voltage.
    bool StoreAndApply();
    // The stored "Clock_Set" values to the hardware at start-up, as StoreAndApply does; values
    // saved on another backend are neither applied nor replaced.
    bool ApplySavedSettings();
    // The slider ranges from the driver; a failed query leaves that slider's range.
    void SetRangesFromDriver();
    // The driver's current values onto the sliders (the stored ones when they cannot be read).
    void LoadFromHardware();
    // The control values into the in-memory settings (no file write).
    void StoreToSettings();
    // The fan, then the clocks and voltage; true when the clocks and voltage were accepted and
    // no fan write that was made was refused.
    bool ApplyToHardware();
    // Switches between automatic and manual fan on the page only.
    void ToggleAutoFan();

    // The slider a hotkey steps (the main window steps it, then calls StoreAndApply), or null
    // when it may not be stepped: its range never came from the driver (its scale means
    // nothing), or it is the fan under automatic control.
    CHorizSlid* HotkeySlider(hotkeys::Target target);

    // The four sliders, top to bottom as the item list names them.
    enum Slot { kCore, kVoltage, kFan, kMemory, kSlotCount };
    // What a slider shows (its value, range and state).
    const CHorizSlid& SliderAt(Slot slot) const;
    // Whether the fan is under the driver's control (the automatic-fan button is toggled).
    bool AutomaticFan() const { return autoFanButton_.toggled; }

  protected:
    void DoDataExchange() override;
    BOOL OnInitDialog() override;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool OnCommand(int id, int code, HWND control) override;
    bool OnShowWindow(bool shown, UINT status) override;

  private:
    // One slider's bookkeeping. A value is held when the slider cannot carry it (no range from
    // the driver, a clock never set and unknown to the driver, a section never saved): the
    // settings then keep the held value and the hardware is not sent the slider's.
    struct SlotState {
        bool rangeKnown = false;
        bool held = true;
        int32_t heldValue = 0;
        // The slider's value when the slot was held: a change means the user set the value.
        int shownValue = 0;
    };

    CHorizSlid& Slider(Slot slot);
    void LayoutControls();
    void HoldAllStored();
    void Hold(Slot slot, int32_t stored);
    // Puts a value the driver or the settings gave onto the slider.
    void Put(Slot slot, int value);
    // Puts a stored value on its slider when the slider can carry it, else holds it.
    void PutStored(Slot slot, int32_t stored, std::optional<int> current);
    // Button, flag and fan slider after a change of the automatic-fan state.
    void SetAutoFan(bool automatic);
    void ReleaseChangedSlots();
    // A slider the user and the hotkeys may move: its range came from the driver, and the fan
    // is under manual control. Exactly these sliders are enabled.
    bool Steppable(Slot slot) const;
    void EnableSteppableSliders();
    // The clocks and voltage to write: every editable one, from its slider; nothing when one of
    // them holds a value never chosen for this card, or none is editable.
    std::optional<OverdriveRequest> ClockRequest() const;
    // The line that says the card offers no usable Overdrive.
    void DrawUnavailable();
    // Store, save, apply and read back: Apply and OK share these steps.
    bool SaveApplyAndReload();
    // StoreAndApply's steps, for the user and for the start-up alike.
    bool ApplyPageValues();

    // The sliders in slot order.
    static CHorizSlid COverClockSetDlg::*const kSliders[kSlotCount];
    CHorizSlid coreClockSlider_;
    CHorizSlid voltageSlider_;
    CHorizSlid fanSlider_;
    CHorizSlid memoryClockSlider_;
    CBmButton autoFanButton_;
    // Automatic fan: the button's toggled state, the one ApplyToHardware reads.
    bool autoFan_ = true;
    std::array<SlotState, kSlotCount> slots_{};
    // False while the automatic-fan state is only the page's initial one: no "Clock_Set"
    // section was ever saved and the user did not choose; such a state is not applied.
    bool autoFanChosen_ = false;
    // The stored values were saved on another backend and the user has not applied values on
    // this one since: the settings keep them as they are, whatever the sliders show.
    bool storedElsewhere_ = false;
};
