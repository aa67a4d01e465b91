// The general skinned push button: one of up to four images by state, hover tracking, and an
// optional frame animation of its hover image.
#pragma once

#include <string>

#include "framework/Wnd.h"
#include "skin/SkinPaint.h"
#include "skin/SkinSurface.h"

class CBmButton : public fw::CButton {
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
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

  private:
    void Invalidate();
    void OnAnimationTick();
};
