// Feeds the gauge from the driver on two timers of the main window for its whole life: the
// temperature every second (with a redraw) and the engine clock every two seconds (shown at the
// next redraw).
#pragma once

#include <windows.h>

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

    NoUITemprature& gauge_;
};
