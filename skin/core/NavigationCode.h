// What the navigation cross (codes 1-4) and the button bar (codes 5-9) ask the main window for:
// the wParam of WM_APP_NAVIGATE.
#pragma once

namespace skin {

enum class NavigationCode : int {
    ShortcutPage = 1,   // cross, left arm
    HardwarePage = 2,   // cross, right arm
    OverclockPage = 3,  // cross, upper arm
    ThreeDPage = 4,     // cross, lower arm
    VendorSite = 5,     // bar, button 1
    ResetHardware = 6,
    Options = 7,
    DisplayPage = 8,
    QualityPage = 9,  // bar, button 5
};

constexpr int kCrossRegionCount = 4;
constexpr int kBarRegionCount = 5;

// The code of cross region 1..4.
constexpr NavigationCode CrossRegionCode(int region) {
    return static_cast<NavigationCode>(region);
}
// The code of bar region 1..5.
constexpr NavigationCode BarRegionCode(int region) {
    return static_cast<NavigationCode>(region + kCrossRegionCount);
}
// The code a WM_APP_NAVIGATE carries; false for anything outside 1..9.
constexpr bool IsNavigationCode(long long value) {
    return value >= static_cast<int>(NavigationCode::ShortcutPage) &&
           value <= static_cast<int>(NavigationCode::QualityPage);
}

}  // namespace skin
