// The graphics-card gauge on the left of the main window: the dial under it, the core
// temperature and clock as text, and a needle turned by the temperature. It has no window; it
// draws into the main window's surface and asks the owner to present it.
#pragma once

#include <windows.h>

#include <memory>

#include "skin/GdiplusFwd.h"

class SkinSurface;

class NoUITemprature {
  public:
    NoUITemprature();
    virtual ~NoUITemprature();
    NoUITemprature(const NoUITemprature&) = delete;
    NoUITemprature& operator=(const NoUITemprature&) = delete;

    // Nothing before fullDisplay; then the readout (with a background), the needle (with a
    // needle image) and a presentation request to the owner.
    virtual void Redraw();
    // The background under the gauge, then "GPU:<clock>Mhz" and "<temperature>℃".
    virtual void DrawReadout();
    // The needle picture turned about its top centre.
    virtual void DrawNeedle();

    int clockMHz = 0;
    Gdiplus::Image* background = nullptr;
    Gdiplus::Image* needleImage;
    SkinSurface* surface = nullptr;
    RECT rect{};
    int temperature = 40;
    bool fullDisplay = false;
    HWND owner = nullptr;

  private:
    // The readout's fonts, made on first use and kept: under Wine every new font family walks
    // the system's fonts, which the once-a-second redraw should not pay again.
    struct Fonts;
    std::unique_ptr<Fonts> fonts_;
};
