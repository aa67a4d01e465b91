// The general skinned push button: one of up to four images by state, hover tracking, and an
// optional frame animation of its hover image.
#pragma once

#include <string>

#include "framework/Wnd.h"
#include "skin/SkinControl.h"
#include "skin/GdiplusFwd.h"

class SkinSurface;

class CBmButton : public skin::SkinControl<fw::CButton> {
  public:
    static constexpr UINT_PTR kTimerAnimation = 502;
    static constexpr UINT kAnimationPeriodMs = 100;

    CBmButton() = default;
    ~CBmButton() override;

    void AttachSurface(SkinSurface* target) { surface = target; }
    // Draws the chosen image into the surface and presents it; nothing while not shown, while
    // the parent is hidden or without a surface.
    void Redraw();
    // Starts stepping through the frames of hoverImage every 100 ms (nothing for a bad image).
    void StartAnimation();
    // Stops the frame timer; the button keeps the frame it shows.
    void StopAnimation();
    // The image the current state shows.
    Gdiplus::Image* CurrentImage() const;

    Gdiplus::Image* normalImage = nullptr;
    Gdiplus::Image* hoverImage = nullptr;  // also the animated image
    Gdiplus::Image* pressedImage = nullptr;
    Gdiplus::Image* toggledImage = nullptr;
    SkinSurface* surface = nullptr;
    bool pressed = false;
    bool animated = false;
    bool toggled = false;
    bool hover = false;
    bool tracking = false;
    bool shown = false;
    unsigned frameCount = 0;
    unsigned frameIndex = 0;
    // The template's text; kept but never drawn (the images carry the label).
    std::wstring caption;

  protected:
    void PreSubclassWindow() override;
    void DrawItem(const DRAWITEMSTRUCT& item) override;
    bool OnLButtonDown(UINT keys, POINT point) override;
    bool OnLButtonUp(UINT keys, POINT point) override;
    bool OnMouseMove(UINT keys, POINT point) override;
    bool OnMouseHover(UINT keys, POINT point) override;
    bool OnMouseLeave() override;
    bool OnTimer(UINT_PTR id) override;
    bool OnSetText(const wchar_t* text) override;
    bool OnEnable(bool enabled) override;

  private:
    // Repaints the button's own window and draws the new face into the surface.
    void ShowState();
    // Sets `pressed` around the default processing of a button press or release.
    bool Press(bool down);
    void OnAnimationTick();
};
