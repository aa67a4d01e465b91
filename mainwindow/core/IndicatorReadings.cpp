#include "mainwindow/core/IndicatorReadings.h"

#include <algorithm>

namespace indicator {

namespace {

constexpr std::uint32_t kHighestBelievable = 150000;  // thousandths of a degree
constexpr std::size_t kTipCharacters = 127;

}  // namespace

int GaugeTemperature(std::optional<std::uint32_t> milliDegrees) {
    if (!milliDegrees || *milliDegrees > kHighestBelievable) {
        return kLowestTemperature;
    }
    const int degrees = static_cast<int>(*milliDegrees / 1000);
    return std::clamp(degrees, kLowestTemperature, kHighestTemperature);
}

std::wstring TrayTip(std::optional<std::uint32_t> milliDegrees, std::optional<int> engineMHz) {
    std::wstring tip = L"Velmora";
    if (milliDegrees && *milliDegrees > 0 && *milliDegrees <= kHighestBelievable) {
        tip += L" " + std::to_wstring(*milliDegrees / 1000) + L"℃";
    }
    if (engineMHz && *engineMHz > 0) {
        tip += L" " + std::to_wstring(*engineMHz) + L"MHz";
    }
    return tip.substr(0, kTipCharacters);
}

}  // namespace indicator
