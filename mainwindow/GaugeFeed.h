// Feeds the gauge from the driver on two timers of the main window for its whole life: the
// temperature every second (with a redraw when the readout changed) and the engine clock every
// two seconds (shown at the next redraw).
#pragma once

#include <windows.h>

#include <optional>

#include <cstdint>
#include <string>

class NoUITemprature;
class TrayIcon;

class GaugeFeed {
  public:
    static constexpr UINT_PTR kTimerTemperature = 1123;
    static constexpr UINT_PTR kTimerClock = 1124;

    // The tray icon, when given, shows the readings in its tip.
    explicit GaugeFeed(NoUITemprature& gauge, TrayIcon* tray = nullptr)
        : gauge_(gauge), tray_(tray) {}
    GaugeFeed(const GaugeFeed&) = delete;
    GaugeFeed& operator=(const GaugeFeed&) = delete;

    // Starts both timers on the owner window; they end with the window.
    void Start(HWND owner);
    // One of the two timers fired; false for any other timer.
    bool OnTimer(UINT_PTR id);

  private:
    void ShowTemperature();
    void ReadEngineClock();
    // The tray tip from the last readings, when its text changed.
    void UpdateTip();

    struct Readout {
        int temperature;
        int clockMHz;
        bool operator==(const Readout&) const = default;
    };

    NoUITemprature& gauge_;
    TrayIcon* tray_;
    std::optional<std::uint32_t> temperature_;
    std::optional<int> engineMHz_;
    std::wstring tip_ = L"Velmora";
    // What the last redraw of the shown gauge showed: the same readout is not drawn again (the
    // text drawing is what an idle window would otherwise spend its time on).
    std::optional<Readout> drawn_;
};
