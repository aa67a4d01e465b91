// Feeds the gauge from the driver on two timers of the main window for its whole life: the
// temperature every second (with a redraw when the readout changed) and the engine clock every
// two seconds (shown at the next redraw).
#pragma once

#include <windows.h>

#include <optional>

class NoUITemprature;

class GaugeFeed {
  public:
    static constexpr UINT_PTR kTimerTemperature = 1123;
    static constexpr UINT_PTR kTimerClock = 1124;

    explicit GaugeFeed(NoUITemprature& gauge) : gauge_(gauge) {}
    GaugeFeed(const GaugeFeed&) = delete;
    GaugeFeed& operator=(const GaugeFeed&) = delete;

    // Starts both timers on the owner window; they end with the window.
    void Start(HWND owner);
    // One of the two timers fired; false for any other timer.
    bool OnTimer(UINT_PTR id);

  private:
    void ShowTemperature();
    void ReadEngineClock();

    struct Readout {
        int temperature;
        int clockMHz;
        bool operator==(const Readout&) const = default;
    };

    NoUITemprature& gauge_;
    // What the last redraw of the shown gauge showed: the same readout is not drawn again (the
    // text drawing is what an idle window would otherwise spend its time on).
    std::optional<Readout> drawn_;
};
