#include "mainwindow/GaugeFeed.h"

#include <cstdint>
#include <optional>

#include "gpu/DriverBinding.h"
#include "gpu/NoUITemprature.h"
#include "mainwindow/core/IndicatorReadings.h"

namespace {

constexpr UINT kTemperaturePeriodMs = 1000;
constexpr UINT kClockPeriodMs = 2000;

}  // namespace

void GaugeFeed::Start(HWND owner) {
    ::SetTimer(owner, kTimerTemperature, kTemperaturePeriodMs, nullptr);
    ::SetTimer(owner, kTimerClock, kClockPeriodMs, nullptr);
}

bool GaugeFeed::OnTimer(UINT_PTR id) {
    switch (id) {
        case kTimerTemperature:
            ShowTemperature();
            return true;
        case kTimerClock:
            ReadEngineClock();
            return true;
        default:
            return false;
    }
}

void GaugeFeed::ShowTemperature() {
    std::optional<std::uint32_t> reading;
    if (const std::optional<std::int32_t> raw = DriverBinding::GetTemperature()) {
        reading = static_cast<std::uint32_t>(*raw);
    }
    gauge_.temperature = indicator::GaugeTemperature(reading);
    if (!gauge_.fullDisplay) {
        return;  // nothing is drawn before a page is chosen, which draws the gauge itself
    }
    const Readout now{gauge_.temperature, gauge_.clockMHz};
    if (drawn_ == now) {
        return;
    }
    drawn_ = now;
    gauge_.Redraw();
}

void GaugeFeed::ReadEngineClock() {
    // Level 0 carries the current clocks; a failed query keeps the last value.
    ADLODPerformanceLevels levels{};
    if (DriverBinding::GetPerformanceLevels(false, levels)) {
        gauge_.clockMHz = indicator::ClockMHz(levels.aLevels[0].iEngineClock);
    }
}
