// The screen's gamma ramp: one writer that every page may call (the display-quality page, the 3D
// page, the main window's hardware reset).
#pragma once

#include <windows.h>

// The screen device context and the two ramp calls the writer makes; tests substitute their own
// to count or refuse them.
struct ScreenGammaApi {
    HDC(WINAPI* getDC)(HWND);
    int(WINAPI* releaseDC)(HWND, HDC);
    BOOL(WINAPI* getRamp)(HDC, LPVOID);
    BOOL(WINAPI* setRamp)(HDC, LPVOID);
};

// GetDC, ReleaseDC, GetDeviceGammaRamp and SetDeviceGammaRamp.
const ScreenGammaApi& SystemScreenGamma();

// Writes the whole screen's ramp for one exponent (the same curve for red, green and blue; see
// display/core/GammaRampCurve.h). False, with nothing written, for an exponent outside the safe
// band, when the current ramp cannot be read, or when the system refuses the new one. Each call
// takes one screen device context for the read and one for the write and releases both.
bool SetGammaRamp(double gamma);
bool SetGammaRamp(const ScreenGammaApi& api, double gamma);
