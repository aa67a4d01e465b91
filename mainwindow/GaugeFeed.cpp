#include "mainwindow/GaugeFeed.h"

#include <cstdint>
#include <optional>

#include "gpu/DriverBinding.h"
#include "gpu/NoUITemprature.h"
#include "mainwindow/TrayIcon.h"
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
    temperature_.reset();
    if (const std::optional<std::int32_t> raw = DriverBinding::GetTemperature()) {
        temperature_ = static_cast<std::uint32_t>(*raw);
    }
    UpdateTip();
    gauge_.temperature = indicator::GaugeTemperature(temperature_);
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
    // A failed query keeps the last value.
    if (const std::optional<OverdriveClocks> clocks = DriverBinding::GetCurrentClocks()) {
        engineMHz_ = clocks->engineMHz;
        gauge_.clockMHz = clocks->engineMHz;
        UpdateTip();
    }
}

void GaugeFeed::UpdateTip() {
    if (tray_ == nullptr) {
        return;
    }
    std::wstring tip = indicator::TrayTip(temperature_, engineMHz_);
    if (tip != tip_) {
        tip_ = std::move(tip);
        tray_->SetTip(tip_);
    }
}
