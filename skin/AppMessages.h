// Window messages that pass between the main window, its pages and the skinned controls.
#pragma once

#include <windows.h>

#include "skin/core/NavigationCode.h"

// wParam a skin::NavigationCode: select a page, open the vendor's site, reset the hardware, open
// the options.
constexpr UINT WM_APP_NAVIGATE = WM_USER + 1;
// wParam list (page) type, lParam item index: an entry of the item list was chosen.
constexpr UINT WM_APP_SELECT_ITEM = WM_USER + 2;
// Sent after drawing into the surface: push the surface to the screen.
constexpr UINT WM_APP_REFRESH_LAYER = WM_USER + 3;
// Mouse activity on the tray icon.
constexpr UINT WM_APP_TRAY_NOTIFY = WM_USER + 4;
// Re-register all hotkeys.
constexpr UINT WM_APP_HOTKEYS_CHANGED = WM_USER + 5;
// lParam 0 hides, 1 minimises the main window.
constexpr UINT WM_APP_SHOW_STATE = WM_USER + 7;
// A slider value was changed by the user; the parent reads the value itself.
constexpr UINT WM_APP_SLIDER_CHANGED = WM_USER + 8;

// Posts a navigation request (a code of skin::NavigationCode) to the window that acts on it.
inline void PostNavigation(HWND target, skin::NavigationCode code) {
    ::PostMessageW(target, WM_APP_NAVIGATE, static_cast<WPARAM>(code), 0);
}
